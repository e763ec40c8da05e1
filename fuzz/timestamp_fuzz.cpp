// Time-stamp tokens from the unit (32-bit packed date and time) and the date-times they become,
// and the seconds texts the pages convert to milliseconds and samples.
#include "timestamptoken.h"
#include "timetext.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= 4) {
        std::uint32_t token = 0;
        std::memcpy(&token, data, 4);
        timestamp::unpack(token);
        const double when = timestamp::toDateTime(token);
        // A token the date-time holds comes back as a token that gives the same date-time.
        if (std::isfinite(when)) {
            if (const auto again = timestamp::fromDateTime(when)) {
                if (timestamp::toDateTime(*again) != when)
                    std::abort();
            }
        }
    }
    if (size >= 8) {
        double any = 0;
        std::memcpy(&any, data, 8);
        timestamp::fromDateTime(any);
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    timetext::secondsToMsec(text);
    timetext::secondsToSamples(text);
    timetext::secA2samp(text, nullptr);
    if (size >= 4) {
        std::uint32_t n = 0;
        std::memcpy(&n, data, 4);
        timetext::msecToSeconds(n);
        timetext::samplesToSeconds(n);
    }
    return 0;
}
