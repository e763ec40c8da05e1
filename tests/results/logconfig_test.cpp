// The log configuration rules without a window: what a drop does, each edit's record bytes, the
// frequency check; and the two CSV exports of a small fixed database.
#include "archivexmlfile.h"
#include "database.h"
#include "logconfigedit.h"
#include "logcsv.h"
#include "pointids.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <vector>

using namespace logcfg;

namespace {

LogRecord logWith(std::initializer_list<std::uint16_t> points, std::uint8_t code = 9)
{
    LogRecord r{};
    r.LOG_NUMBER = 3;
    r.Enable = 1;
    r.Frequency = 60;
    r.LogIDCode = code;
    r.Parameters[0] = pid::TimeProprietary;
    int i = 1;
    for (std::uint16_t p : points)
        r.Parameters[i++] = p;
    r.ParametersInLog = static_cast<std::uint8_t>(i);
    return r;
}

std::vector<std::uint8_t> bytes(const LogRecord& r)
{
    std::vector<std::uint8_t> out(sizeof r);
    std::memcpy(out.data(), &r, sizeof r);
    return out;
}

}  // namespace

TEST(LogConfigDrop, Verdicts)
{
    const LogRecord empty = logWith({});
    const LogRecord three = logWith({21, 10, 30});
    const LogRecord full = logWith({21, 10, 30, 31, 32, 33, 34});
    LogRecord never{};  // a log never configured: ParametersInLog 0
    struct Case {
        const char* what;
        const LogRecord& record;
        std::optional<std::uint16_t> point;
        DropPlace place;
        int row;
        DropVerdict verdict;
    };
    const Case cases[] = {
        {"first point on the empty row", empty, 40, DropPlace::PointCell, 1, DropVerdict::Append},
        {"first point below", empty, 40, DropPlace::Below, 2, DropVerdict::Append},
        {"on a log never configured", never, 40, DropPlace::PointCell, 1, DropVerdict::Append},
        {"below the rows", three, 40, DropPlace::Below, 4, DropVerdict::Append},
        {"onto a point row", three, 40, DropPlace::PointCell, 2, DropVerdict::Replace},
        {"onto the item cell", three, 40, DropPlace::OtherCell, 2, DropVerdict::RefuseCell},
        {"a group", three, std::nullopt, DropPlace::Below, 4, DropVerdict::RefuseNoPoint},
        {"point already logged, below", three, 10, DropPlace::Below, 4, DropVerdict::RefuseDuplicate},
        {"point already logged, onto a row", three, 21, DropPlace::PointCell, 3, DropVerdict::RefuseDuplicate},
        {"the time stamp point", three, pid::TimeProprietary, DropPlace::Below, 4, DropVerdict::RefuseDuplicate},
        {"an eighth point", full, 40, DropPlace::Below, 8, DropVerdict::RefuseFull},
        {"replacing in a full log", full, 40, DropPlace::PointCell, 7, DropVerdict::Replace},
        {"the seventh point", logWith({21, 10, 30, 31, 32, 33}), 40, DropPlace::Below, 7, DropVerdict::Append},
    };
    for (const Case& c : cases)
        EXPECT_EQ(judgeDrop(c.record, c.point, c.place, c.row), c.verdict) << c.what;
    EXPECT_TRUE(acceptsDragOver(DropVerdict::RefuseDuplicate));
    EXPECT_FALSE(acceptsDragOver(DropVerdict::RefuseFull));
    EXPECT_FALSE(acceptsDragOver(DropVerdict::RefuseNoPoint));
}

TEST(LogConfigDrop, PayloadIsTheDecimalPointId)
{
    EXPECT_EQ(pointPayload(1234), QByteArray("1234"));
    EXPECT_EQ(readPointPayload("1234"), std::optional<std::uint16_t>(1234));
    EXPECT_EQ(readPointPayload("65535"), std::optional<std::uint16_t>(65535));
    for (const char* bad : {"", "0", "65536", "-1", "12a", " 12", "999999", "1.5"})
        EXPECT_EQ(readPointPayload(bad), std::nullopt) << bad;
}

TEST(LogConfigEdit, RecordBytesAfterEachEdit)
{
    LogRecord r = logWith({21, 10});
    r.LOG_NUMBER = 0;

    appendPoint(r, 3, 30);
    EXPECT_EQ(bytes(r), bytes(logWith({21, 10, 30})));

    ASSERT_TRUE(replacePoint(r, 3, 2, 40));
    EXPECT_EQ(bytes(r), bytes(logWith({21, 40, 30}))) << "in place, the count kept";

    ASSERT_TRUE(movePoint(r, 3, 3, 1));
    EXPECT_EQ(bytes(r), bytes(logWith({30, 21, 40})));
    ASSERT_TRUE(movePoint(r, 3, 1, 2));
    EXPECT_EQ(bytes(r), bytes(logWith({21, 30, 40})));

    ASSERT_TRUE(removePoint(r, 3, 1));
    EXPECT_EQ(bytes(r), bytes(logWith({30, 40}))) << "later points move down, the freed slot is cleared";
    ASSERT_TRUE(removePoint(r, 3, 2));
    ASSERT_TRUE(removePoint(r, 3, 1));
    EXPECT_EQ(bytes(r), bytes(logWith({})));
    EXPECT_EQ(r.ParametersInLog, 1);
}

TEST(LogConfigEdit, TheTimeStampAndRowsPastTheLogAreNeverTouched)
{
    LogRecord r = logWith({21, 10});
    const auto before = bytes(r);
    EXPECT_FALSE(replacePoint(r, 3, 0, 40));
    EXPECT_FALSE(removePoint(r, 3, 0));
    EXPECT_FALSE(removePoint(r, 3, 3));
    EXPECT_FALSE(movePoint(r, 3, 0, 1));
    EXPECT_FALSE(movePoint(r, 3, 1, 3));
    EXPECT_EQ(bytes(r), before);

    LogRecord full = logWith({21, 10, 30, 31, 32, 33, 34});
    const auto fullBefore = bytes(full);
    appendPoint(full, 3, 40);
    EXPECT_EQ(bytes(full), fullBefore);
}

TEST(LogConfigEdit, FrequencyChecks)
{
    const auto hours = std::make_optional(std::make_pair(0, 23));
    struct Case {
        const char* text;
        std::optional<std::pair<int, int>> range;
        FrequencyVerdict verdict;
        int value;
        const char* message;
    };
    const Case cases[] = {
        {"60", std::nullopt, FrequencyVerdict::Ok, 60, ""},
        {"65535", std::nullopt, FrequencyVerdict::Ok, 65535, ""},
        {"65536", std::nullopt, FrequencyVerdict::OutOfRange, 0, "The value is out of range."},
        {"99999999999", std::nullopt, FrequencyVerdict::OutOfRange, 0, "The value is out of range."},
        {"-1", std::nullopt, FrequencyVerdict::Negative, 0, "The value should be positive."},
        {"abc", std::nullopt, FrequencyVerdict::NotInteger, 0, "'abc' is not a valid integer value"},
        {"2.5", std::nullopt, FrequencyVerdict::NotInteger, 0, "'2.5' is not a valid integer value"},
        {"23", hours, FrequencyVerdict::Ok, 23, ""},
        {"24", hours, FrequencyVerdict::OutOfRange, 0, "The value is out of range."},
        {"-1", hours, FrequencyVerdict::OutOfRange, 0, "The value is out of range."},
    };
    for (const Case& c : cases) {
        const FrequencyCheck check = checkFrequency(QString::fromLatin1(c.text), c.range);
        EXPECT_EQ(check.verdict, c.verdict) << c.text;
        EXPECT_EQ(check.value, c.value) << c.text;
        EXPECT_EQ(frequencyMessage(check, QString::fromLatin1(c.text)), QString::fromLatin1(c.message)) << c.text;
    }
}

namespace {

// Log 0 (one value, point 21) at times 1, 3, 5; log 1 (two values, points 10 and 30) at 2 and 4;
// log 3 enabled without records; log 2 disabled.
class LogCsv : public ::testing::Test {
protected:
    void SetUp() override
    {
        table[0] = logWith({21});
        table[1] = logWith({10, 30});
        table[2] = logWith({50});
        table[2].Enable = 0;
        table[3] = logWith({60});
        add(1, 0, {"1,5"});
        add(2, 1, {"20", "a,b"});
        add(3, 0, {"3,5"});
        add(4, 1, {"40", "say \"hi\""});
        add(5, 0, {"-5,25E-6"});
        db.DistributeRecords();
        format.decimalSeparator = ',';
        format.dateText = [](double t) { return QStringLiteral("t%1").arg(t); };
        format.nameOf = [](std::uint16_t id) {
            return id == 30 ? QStringLiteral("Flow, Sample") : QStringLiteral("P%1").arg(id);
        };
        for (auto& log : selection)
            log.fill(1);
    }

    void add(int time, int log, std::vector<const char*> values)
    {
        auto r = std::make_unique<ALOGPOINTRECORD>();
        r->dateTime = time;
        r->rawTime = static_cast<std::uint32_t>(time);
        r->logIndex = log;
        for (std::size_t j = 0; j < values.size(); ++j)
            r->SetValueText(log * 8 + static_cast<int>(j), values[j]);
        db.AppendRecord(std::move(r));
    }

    LogDBMgr db;
    logcsv::LogTable table{};
    LogSelection selection{};
    logcsv::Format format;
};

}  // namespace

TEST_F(LogCsv, LegalHasOneLinePerRecordQuotedWithPoints)
{
    const QByteArray expected =
        "TimeStamp,P21,P10,\"Flow, Sample\",P60\r"
        "t1,1.5,,,\r"
        "t2,,20,\"a,b\",\r"
        "t3,3.5,,,\r"
        "t4,,40,\"say \"\"hi\"\"\",\r"
        "t5,-5.25E-6,,,\r";
    EXPECT_EQ(logcsv::LegalCsv(db, table, selection, format), expected);
}

TEST_F(LogCsv, PacketHasTheBusiestLogFilledFromTheNextRecords)
{
    const QByteArray expected =
        "TimeStamp,P21,P10,\"Flow, Sample\",P60\r"
        "t1,1.5,20,\"a,b\",\r"
        "t3,3.5,40,\"say \"\"hi\"\"\",\r"
        "t5,-5.25E-6,,,\r";
    EXPECT_EQ(logcsv::PacketCsv(db, table, selection, format), expected);
    EXPECT_TRUE(db.Record(0).ValueText(8).empty()) << "the database is left as it was";
}

TEST_F(LogCsv, PacketFillsTheFirstRecordFromTheSecond)
{
    // Log 1's only record is second: the record before it takes its values.
    LogDBMgr two;
    for (auto [time, log, value] : {std::tuple{1, 0, "1"}, {2, 1, "20"}, {3, 0, "3"}}) {
        auto r = std::make_unique<ALOGPOINTRECORD>();
        r->dateTime = time;
        r->logIndex = log;
        r->SetValueText(log * 8, value);
        two.AppendRecord(std::move(r));
    }
    selection[1][1] = 0;
    EXPECT_EQ(logcsv::PacketCsv(two, table, selection, format),
              QByteArray("TimeStamp,P21,P10,P60\rt1,1,20,\rt3,3,,\r"));
}

TEST_F(LogCsv, ChosenColumnsOnlyAndTiesGoToTheLowerLog)
{
    selection = logcsv::SelectionOf({{"", 0, 0, false}, {"", 1, 0, false}, {"", 1, 1, true}});
    add(6, 1, {"60", "x"});
    EXPECT_EQ(logcsv::PacketCsv(db, table, selection, format),
              QByteArray("TimeStamp,\"Flow, Sample\"\rt1,\"a,b\"\rt3,\"say \"\"hi\"\"\"\rt5,x\r"));
}

TEST_F(LogCsv, AnEmptyDatabaseGivesTheHeaderAlone)
{
    LogDBMgr none;
    EXPECT_EQ(logcsv::LegalCsv(none, table, selection, format), QByteArray("TimeStamp,P21,P10,\"Flow, Sample\",P60\r"));
    EXPECT_EQ(logcsv::PacketCsv(none, table, selection, format),
              QByteArray("TimeStamp,P21,P10,\"Flow, Sample\",P60\r"));
}

TEST_F(LogCsv, ColumnItemsAreTheEnabledLogsValues)
{
    const auto items = logcsv::ColumnItems(table, format.nameOf);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[2].name, "Flow, Sample");
    EXPECT_EQ(items[2].log, 1);
    EXPECT_EQ(items[2].index, 1);
    EXPECT_TRUE(items[2].enabled);
    EXPECT_EQ(items[3].log, 3);
}

TEST(LogCsvField, NumbersTakeAPointAndOnlyNumbers)
{
    EXPECT_EQ(logcsv::Field("2,25", ','), "2.25");
    EXPECT_EQ(logcsv::Field("9,99999974737875E-6", ','), "9.99999974737875E-6");
    EXPECT_EQ(logcsv::Field("12", ','), "12");
    EXPECT_EQ(logcsv::Field("NAN", ','), "NAN");
    EXPECT_EQ(logcsv::Field("1,2,3", ','), "\"1,2,3\"");
    EXPECT_EQ(logcsv::Field("a\rb", '.'), "\"a\rb\"");
    EXPECT_EQ(logcsv::Field("a\nb", '.'), "\"a\nb\"");
}

TEST(LogCsvFile, ReplacesTheFileWholeAndReportsWhatCannotBeWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    QString error;
    ASSERT_TRUE(logcsv::SaveFile(path, "old contents that are longer", &error));
    ASSERT_TRUE(logcsv::SaveFile(path, "new", &error));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("new"));

    EXPECT_FALSE(logcsv::SaveFile(dir.filePath("missing/out.csv"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(LogPointNames, AnIdTheMapLacksHasOneNameInTheGridTheArchiveFileAndTheCsv)
{
    const DataBase& db = *DataBase::Instance();
    EXPECT_EQ(ArchiveXmlFile::RegisterMapName(db, 60000), "unknown point 60000");
    EXPECT_EQ(logcsv::registerMapName(db, 60000), "unknown point 60000");
    EXPECT_EQ(logcsv::registerMapName(db, pid::Streams), "Streams");
    DataBase::ReleaseInstance();
}
