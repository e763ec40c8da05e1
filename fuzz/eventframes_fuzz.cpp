// The event memory: escaped event records parsed into the event log.
#include "auditevent.h"
#include "timestamptoken.h"

namespace {
double tokenDate(std::uint32_t token)
{
    return timestamp::toDateTime(token);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TAuditParser parser(tokenDate);
    parser.Parse(data, size);
    for (std::size_t i = 0; i < parser.RecordCount(); ++i)
        parser.Record(i);
    return 0;
}
