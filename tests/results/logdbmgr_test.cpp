#include "logdbmgr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

std::unique_ptr<ALOGPOINTRECORD> record(std::uint32_t rawTime, int logIndex, const char* first = "")
{
    auto r = std::make_unique<ALOGPOINTRECORD>();
    r->rawTime = rawTime;
    r->logIndex = logIndex;
    r->SetValueText(logIndex * 8, first);
    return r;
}

std::vector<std::string> order(const LogDBMgr& db)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < db.RecordCount(); ++i)
        out.push_back(std::to_string(db.Record(i).rawTime) + db.Record(i).ValueText(db.Record(i).logIndex * 8));
    return out;
}

}  // namespace

TEST(LogDBMgr, InsertingAndSortingByTimeKeepArrivalOrderForEqualTimes)
{
    const std::vector<std::string> expected{"3", "4", "5a", "5b"};
    LogDBMgr inserted;
    LogDBMgr sorted;
    for (auto [t, tag] : {std::pair{5u, "a"}, {3u, ""}, {5u, "b"}, {4u, ""}}) {
        inserted.AppendRecord(record(t, 0, tag));
        inserted.InsertByTime();
        sorted.AppendRecord(record(t, 0, tag));
    }
    sorted.SortByTime();
    EXPECT_EQ(order(inserted), expected);
    EXPECT_EQ(order(sorted), expected);

    // Older than all goes first, newer than all stays last; the comparison is unsigned.
    inserted.AppendRecord(record(1, 0));
    inserted.InsertByTime();
    inserted.AppendRecord(record(0x80000000u, 0));
    inserted.InsertByTime();
    EXPECT_EQ(inserted.Record(0).rawTime, 1u);
    EXPECT_EQ(inserted.Record(5).rawTime, 0x80000000u);
}

TEST(LogDBMgr, DistributeClearAndRangeChecks)
{
    LogDBMgr db;
    db.Selection()[2][3] = 1;
    db.AppendRecord(record(1, 0, "x"));
    db.AppendRecord(record(2, 3, "y"));
    db.AppendRecord(record(3, 0, "z"));
    db.AppendRecord(record(4, 5, "w"));
    EXPECT_THROW(db.AppendRecord(record(5, 6)), std::out_of_range);
    EXPECT_THROW(db.AppendRecord(record(5, -1)), std::out_of_range);
    EXPECT_EQ(db.RecordCount(), 4u);

    // Appending leaves the per-log lists alone until the next distribution.
    EXPECT_TRUE(db.PerLog().logs[0].records.empty());
    db.DistributeRecords();
    EXPECT_EQ(db.PerLog().logs[0].count, 2);
    ASSERT_EQ(db.PerLog().logs[0].records.size(), 2u);
    EXPECT_EQ(db.PerLog().logs[0].records[1]->ValueText(0), "z");
    EXPECT_EQ(db.PerLog().logs[3].records.size(), 1u);
    EXPECT_EQ(db.PerLog().logs[5].count, 1);

    EXPECT_EQ(db.GetValueText(3, 0, 1), "y");
    EXPECT_EQ(db.GetValueText(0, 0, 1), "");  // a slot of another log
    EXPECT_THROW(db.GetValueText(0, 0, 4), std::out_of_range);
    EXPECT_THROW(db.GetValueText(0, 8, 0), std::out_of_range);
    EXPECT_THROW(db.GetValueText(5, 7, 0), std::out_of_range);  // slot 47
    EXPECT_THROW(db.Record(4), std::out_of_range);

    const ALOGDB copy = db.Copy();
    EXPECT_EQ(copy.records.size(), 4u);
    EXPECT_EQ(copy.counts[0], 2);

    db.Clear();
    EXPECT_EQ(db.RecordCount(), 0u);
    for (int k = 0; k < LogDBMgr::kLogCount; ++k) {
        EXPECT_EQ(db.Count(k), 0);
        EXPECT_EQ(db.PerLog().logs[k].count, 0);
        EXPECT_TRUE(db.PerLog().logs[k].records.empty());
    }
    EXPECT_EQ(db.Selection()[2][3], 1);             // the CSV column choice stays
    EXPECT_EQ(copy.records[3].ValueText(40), "w");  // the copy owns its records

    db.DistributeRecords();
    EXPECT_TRUE(db.PerLog().logs[0].records.empty());
}

TEST(LogRecord, ValuesKeptAsNumbersAndTexts)
{
    auto bitsOf = [](float f) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        return bits;
    };
    // What the frame decoder keeps, and the texts the formatters wrote for it.
    struct Case {
        LogValueKind kind;
        std::uint32_t bits;
        char separator;
        const char* text;
    };
    const Case cases[] = {
        {LogValueKind::Float, bitsOf(0.1f), '.', "0.100000001490116"},
        {LogValueKind::Float, bitsOf(-1.5f), ',', "-1,5"},
        {LogValueKind::Float, bitsOf(std::numeric_limits<float>::quiet_NaN()), '.', "NAN"},
        {LogValueKind::Float, bitsOf(-std::numeric_limits<float>::infinity()), '.', "-INF"},
        {LogValueKind::Unsigned, 0xFFFFFFFFu, '.', "4294967295"},
        {LogValueKind::Counter, 0xFFFFFFFFu, '.', "4294967296"},
        {LogValueKind::Counter, 0, '.', "1"},
    };
    for (const Case& c : cases) {
        ALOGPOINTRECORD r;
        r.logIndex = 2;
        r.SetValue(16, c.kind, c.bits, c.separator);
        EXPECT_EQ(r.ValueText(16), c.text);
        EXPECT_EQ(r.ValueText(17), "");
    }

    ALOGPOINTRECORD r;
    r.SetValue(8, LogValueKind::Unsigned, 7);
    r.SetValue(14, LogValueKind::Unsigned, 8);
    r.SetValue(15, LogValueKind::Unsigned, 9);   // the eighth value: kept as its text
    r.SetValue(0, LogValueKind::Counter, 4);     // another log: kept as its text
    r.SetValue(9, LogValueKind::Float, 0, ',');  // another separator: kept as its text
    r.SetValueText(10, std::string(300, 'x'));   // long texts are kept whole
    EXPECT_EQ(r.ValueText(8), "7");
    EXPECT_EQ(r.ValueText(14), "8");
    EXPECT_EQ(r.ValueText(15), "9");
    EXPECT_EQ(r.ValueText(0), "5");
    EXPECT_EQ(r.ValueText(9), "0");
    EXPECT_EQ(r.ValueText(10), std::string(300, 'x'));

    // A text replaces a number and a number a text; copies keep their own texts.
    r.SetValueText(8, "text");
    r.SetValue(10, LogValueKind::Unsigned, 3);
    ALOGPOINTRECORD copy = r;
    r.SetValueText(0, "changed");
    EXPECT_EQ(copy.ValueText(8), "text");
    EXPECT_EQ(copy.ValueText(10), "3");
    EXPECT_EQ(copy.ValueText(0), "5");
    EXPECT_EQ(r.ValueText(0), "changed");
    EXPECT_THROW(r.SetValue(47, LogValueKind::Unsigned, 1), std::out_of_range);
}

TEST(LogDBMgr, SingletonIsReleasedAndMadeAgain)
{
    LogDBMgr* first = LogDBMgr::Instance();
    first->AppendRecord(record(1, 0));
    EXPECT_EQ(LogDBMgr::Instance(), first);
    LogDBMgr::ReleaseInstance();
    EXPECT_EQ(LogDBMgr::Instance()->RecordCount(), 0u);
    LogDBMgr::ReleaseInstance();
}
