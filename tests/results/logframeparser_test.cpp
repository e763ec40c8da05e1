#include "logframeparser.h"
#include "logdbmgr.h"
#include "logfixture.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace logfixture;
using memimage::Bytes;
using memimage::concat;

namespace {

struct Parsed {
    LogDBMgr db;
    LogParseStats stats;
};

void parse(Parsed& out, const Bytes& memory, const LogFrameLayout& layout)
{
    LogFrameParser parser;
    parser.Attach(&out.db, &layout, tokenDate);
    parser.Put(memory.data(), memory.size());
    parser.Finish();
    out.stats = parser.Stats();
}

std::vector<std::uint32_t> times(const LogDBMgr& db)
{
    std::vector<std::uint32_t> t;
    for (std::size_t i = 0; i < db.RecordCount(); ++i)
        t.push_back(db.Record(i).rawTime);
    return t;
}

}  // namespace

TEST(LogFrameParser, DecodesEachLogsValuesByTheirRegisterMapTypes)
{
    const auto layout = logfixture::layout();
    // 0xDE bytes everywhere: the time stamp, the values, the log id of log 2.
    const Bytes memory = concat({
        log0(0x000010DE, 0, 4, 0.1f),
        log1(0x00002000, 0x01020304, 2.5f),  // a four-byte type-19 value ahead of a float
        log2(0x00003000, 0xDEDE, 0xDE),
        memimage::logFrame(0x44, memimage::logPayload(0x00004000)),
    });
    Parsed p;
    parse(p, memory, layout);

    ASSERT_EQ(p.db.RecordCount(), 4u);
    EXPECT_EQ(p.stats.filed, 4u);
    const ALOGPOINTRECORD& r0 = p.db.Record(0);
    EXPECT_EQ(r0.rawTime, 0x000010DEu);
    EXPECT_DOUBLE_EQ(r0.dateTime, 0x10DE / 1000.0);
    EXPECT_EQ(r0.logIndex, 0);
    EXPECT_EQ(r0.ValueText(0), "1");  // Stream, stored from 0
    EXPECT_EQ(r0.ValueText(1), "5");  // Run Number, stored from 0
    EXPECT_EQ(r0.ValueText(2), "0.100000001490116");
    EXPECT_EQ(r0.ValueText(3), "");

    const ALOGPOINTRECORD& r1 = p.db.Record(1);
    EXPECT_EQ(r1.logIndex, 1);
    EXPECT_EQ(r1.ValueText(8), "16909060");
    EXPECT_EQ(r1.ValueText(9), "2.5");

    const ALOGPOINTRECORD& r2 = p.db.Record(2);
    EXPECT_EQ(r2.logIndex, 2);
    EXPECT_EQ(r2.ValueText(16), "57054");
    EXPECT_EQ(r2.ValueText(17), "222");

    const ALOGPOINTRECORD& r3 = p.db.Record(3);
    EXPECT_EQ(r3.logIndex, 3);
    for (int slot = 0; slot < ALOGPOINTRECORD::kValueSlots; ++slot)
        EXPECT_EQ(r3.ValueText(slot), "") << slot;

    EXPECT_EQ(p.db.Count(0), 1);
    EXPECT_EQ(p.db.Count(4), 0);  // the same id as log 0 files under log 0
}

TEST(LogFrameParser, CrcBytesOf0xDEAreEscapedAndVerify)
{
    const auto layout = logfixture::layout();
    Bytes lowDE, highDE;
    for (std::uint32_t t = 1; (lowDE.empty() || highDE.empty()) && t < 1000000; ++t) {
        Bytes covered{0x44, 6};
        memimage::putU32(covered, t);
        const std::uint16_t crc = Crc16Modbus::compute(covered.data(), covered.size());
        const Bytes frame = memimage::logFrame(0x44, memimage::logPayload(t));
        if ((crc & 0xFF) == 0xDE && lowDE.empty())
            lowDE = frame;
        if ((crc >> 8) == 0xDE && highDE.empty())
            highDE = frame;
    }
    ASSERT_FALSE(lowDE.empty());
    ASSERT_FALSE(highDE.empty());
    Parsed p;
    parse(p, concat({lowDE, highDE}), layout);
    EXPECT_EQ(p.db.RecordCount(), 2u);
}

TEST(LogFrameParser, BadFramesAreSkippedAndTheNextFrameIsRead)
{
    const auto layout = logfixture::layout();
    const Bytes good = log0(0x5000, 1, 2, 1.0f);
    Bytes payload33(33, 0x01);
    const Bytes cutFrame = log0(0x1000, 3, 3, 3.0f);
    const Bytes startOfFrame(cutFrame.begin(), cutFrame.begin() + 6);

    struct Case {
        const char* name;
        Bytes before;
        std::size_t badCrc, unknownLog, abandoned;
    };
    const Case cases[] = {
        {"bad CRC", memimage::logFrame(0x11, memimage::logPayload(1, {1, 2, 0, 0, 0, 0}), -1, 0x0101), 1, 0, 0},
        {"log id of no log", memimage::logFrame(0x77, memimage::logPayload(1)), 0, 1, 0},
        {"log id of the sixth log", memimage::logFrame(0x66, memimage::logPayload(1, {0, 0, 0, 0})), 0, 1, 0},
        {"length above 34", memimage::logFrame(0x11, payload33), 0, 0, 1},
        {"length below 6", memimage::logFrame(0x11, Bytes{1, 2, 3}), 0, 0, 1},
        {"length 0", memimage::logFrame(0x11, Bytes{}, 0), 0, 0, 1},
        {"cut short by the next start byte", startOfFrame, 0, 0, 1},
        {"cut short right after its start byte", Bytes{0xDE}, 0, 0, 1},
        {"stray bytes and 0xAD between frames", Bytes{0x00, 0xAD, 0x12, 0xAD}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Parsed p;
        parse(p, concat({c.before, good}), layout);
        ASSERT_EQ(p.db.RecordCount(), 1u) << c.name;
        EXPECT_EQ(p.db.Record(0).rawTime, 0x5000u) << c.name;
        EXPECT_EQ(p.stats.badCrc, c.badCrc) << c.name;
        EXPECT_EQ(p.stats.unknownLog, c.unknownLog) << c.name;
        EXPECT_EQ(p.stats.abandoned, c.abandoned) << c.name;
    }

    // A cut frame followed by a frame whose own log id is an escaped 0xDE.
    Parsed p;
    parse(p, concat({startOfFrame, log2(0x6000, 7, 8)}), layout);
    ASSERT_EQ(p.db.RecordCount(), 1u);
    EXPECT_EQ(p.db.Record(0).logIndex, 2);
    EXPECT_EQ(p.db.Record(0).ValueText(16), "7");

    // The memory ends inside a frame: every complete frame before it is filed.
    const Bytes last = log0(0x7000, 1, 1, 1.0f);
    Parsed q;
    parse(q, concat({good, Bytes(last.begin(), last.end() - 3)}), layout);
    EXPECT_EQ(q.db.RecordCount(), 1u);
    EXPECT_EQ(q.stats.abandoned, 1u);
}

TEST(LogFrameParser, ValueEdges)
{
    // Seven four-byte values fill the 32-byte payload: a length byte of 34 completes.
    std::array<LogConfigEntry, 2> e{};
    e[0] = {0x01, 8, {0, 21, 21, 21, 21, 21, 21, 21}};
    // More parameters than a record holds: no id beyond the eighth is read.
    e[1] = {0x02, 200, {0, 21, 21, 21, 21, 21, 21, 21}};
    const auto layout = LogFrameLayout::Build(e.data(), e.size(), RegisterMapPointType, ',');
    Bytes seven;
    for (int i = 0; i < 7; ++i)
        memimage::putFloat(seven, i == 0 ? std::numeric_limits<float>::quiet_NaN() : 1.5f * i);
    Bytes two;
    memimage::putFloat(two, -0.25f);
    memimage::putFloat(two, 0x1p70f);

    Parsed p;
    parse(p,
          concat({memimage::logFrame(0x01, memimage::logPayload(1, seven)),
                  memimage::logFrame(0x02, memimage::logPayload(2, seven)),
                  // Fewer bytes than the log's values need: the missing values stay empty.
                  memimage::logFrame(0x02, memimage::logPayload(3, two))}),
          layout);
    ASSERT_EQ(p.db.RecordCount(), 3u);
    const ALOGPOINTRECORD& full = p.db.Record(0);
    EXPECT_EQ(full.ValueText(0), "NAN");
    EXPECT_EQ(full.ValueText(1), "1,5");  // the locale's decimal separator
    EXPECT_EQ(full.ValueText(6), "9");
    EXPECT_EQ(p.db.Record(1).ValueText(8 + 6), "9");
    const ALOGPOINTRECORD& partial = p.db.Record(2);
    EXPECT_EQ(partial.ValueText(8), "-0,25");
    EXPECT_EQ(partial.ValueText(9), "1,18059162071741E21");
    EXPECT_EQ(partial.ValueText(10), "");
}

TEST(LogFrameParser, RecordsEndInTimeOrderAndEqualTimesKeepMemoryOrder)
{
    const auto layout = logfixture::layout();
    // A log memory that has wrapped: the newest records come first.
    const Bytes memory = concat({
        log0(50, 1, 0, 0),
        log0(60, 1, 0, 0),
        log0(70, 1, 0, 0),
        log0(10, 1, 0, 0),
        log0(20, 1, 1, 0),
        log2(20, 2, 0),
        log0(20, 1, 3, 0),
        log0(30, 1, 0, 0),
    });
    Parsed p;
    parse(p, memory, layout);
    EXPECT_EQ(times(p.db), (std::vector<std::uint32_t>{10, 20, 20, 20, 30, 50, 60, 70}));
    EXPECT_EQ(p.db.Record(1).ValueText(1), "2");
    EXPECT_EQ(p.db.Record(2).ValueText(16), "2");
    EXPECT_EQ(p.db.Record(3).ValueText(1), "4");
}
