#include "commstatus.h"

namespace commstatus {

const char* text(int status)
{
    static const char* const kLinkTexts[] = {
        "Success.",
        "Currently waiting for response to communication.",
        "Invalid response was received.",
        "The unit has reported an error with the request that was sent.",
        "No Response from unit.",
        "Com port not open.",
        "Cancelled by user.",
    };
    if (isLinkStatus(status))
        return kLinkTexts[status];
    if (status == kIndexMismatch)
        return "Entry index of response doesn't match request.";
    if (status == kUnexpectedResponse)
        return "Unexpected response type received.";
    return "";
}

}  // namespace commstatus
