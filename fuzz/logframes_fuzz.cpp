// The archive log memory as the download hands it to the worker: 0xDE-escaped frames of five
// logs, fed in pieces of any size.
#include "logdbmgr.h"
#include "logframeparser.h"
#include "timestamptoken.h"

#include <algorithm>

namespace {
double tokenDate(std::uint32_t token)
{
    return timestamp::toDateTime(token);
}

const LogFrameLayout& layout()
{
    // Four logs recording (one of them with the id 0xDE, the frame start byte), one empty.
    static const LogFrameLayout l = [] {
        LogConfigEntry e[5];
        e[0] = {0x01, 4, {0, 392, 393, 21}};
        e[1] = {0x02, 3, {0, 21, 10}};
        e[2] = {0x03, 2, {0, 29}};
        e[3] = {0xDE, 2, {0, 388}};
        e[4] = {0x05, 8, {0, 0, 10, 21, 29, 388, 392, 393}};
        return LogFrameLayout::Build(e, 5, RegisterMapPointType, '.');
    }();
    return l;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t piece = data[0] + 1u;
    LogDBMgr db;
    LogFrameParser parser;
    parser.Attach(&db, &layout(), tokenDate);
    for (std::size_t at = 1; at < size; at += piece)
        parser.Put(data + at, std::min(piece, size - at));
    parser.Finish();
    for (std::size_t i = 0; i < db.RecordCount(); ++i) {
        const ALOGPOINTRECORD& r = db.Record(i);
        for (int j = 0; j < 7; ++j)
            r.ValueText(r.logIndex * 8 + j);
    }
    return 0;
}
