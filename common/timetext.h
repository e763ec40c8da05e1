#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Short "seconds" texts of millisecond and sample counts (60 samples per second): "1.234".
// The decimal mark is always '.', whatever the locale, so the texts read back everywhere.
namespace timetext {

std::string msecToSeconds(std::uint32_t milliseconds);
// Milliseconds truncated: 61 samples are "1.016".
std::string samplesToSeconds(std::uint32_t samples);

enum class Status {
    Ok,
    NotNumeric,  // no number at all
    NotInteger,  // a number the split into whole and fraction cannot read (an exponent form)
    OutOfRange,  // the result does not fit an int
};

struct Result {
    int value = 0;
    Status status = Status::Ok;
    bool ok() const { return status == Status::Ok; }
};

// Milliseconds of a seconds text: blanks around it are ignored, the empty text is 0, at most
// three decimals count ("0.1234" is 123), a sign applies to the whole value.
Result secondsToMsec(std::string_view text);
// Samples of a seconds text, truncated toward zero ("1.5" is 90); the empty text is NotNumeric.
Result secondsToSamples(std::string_view text);

// secondsToMsec that tells the user about a text that is no number, in a plain message box:
// the text in double quotes followed by " is not numeric". 0 on any failure; ok may be null.
int secA2msec(std::string_view text, bool* ok);
// secondsToSamples; 0 on any failure, without a message; ok may be null.
int secA2samp(std::string_view text, bool* ok);

}  // namespace timetext
