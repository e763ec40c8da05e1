#pragma once

// The status of one exchange with the unit, and its text. The communications library reports
// 0..6 as SendReceive's result (and GetCommErrText gives their texts); the program adds 20 and 21
// from its own checks of the answers.
namespace commstatus {

enum Status : int {
    kSuccess = 0,
    kWaiting = 1,          // another exchange or connect is still running
    kInvalidResponse = 2,  // the answer's frame was damaged, or the request could not be framed
    kRejected = 3,         // the unit reported an error with the request
    kNoResponse = 4,
    kPortNotOpen = 5,
    kCancelled = 6,
    kIndexMismatch = 20,       // the answer's entry index is not the one asked for
    kUnexpectedResponse = 21,  // not the answer the request asks for: wrong type, too short or too long
};

// True for the statuses the communications library itself reports.
constexpr bool isLinkStatus(int status)
{
    return status >= kSuccess && status <= kCancelled;
}

// The text of a status, in static storage; "" (never null) for a value that has none.
const char* text(int status);

}  // namespace commstatus
