#include "analogoutputcollection.h"
#include "expressscan.h"
#include "writetrace.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include "pointfixture.h"

#include <gtest/gtest.h>

namespace {
class DataBaseTest : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        AnalogOutputCollection::Instance()->Build();
    }
    void TearDown() override
    {
        AnalogOutputCollection::ReleaseInstance();
        DatabaseFixture::TearDown();
    }
    // Connected, with the given page's points listed and read.
    void goOnline(const std::vector<int>& pageIds, int page = 2)
    {
        link.values[0] = {0x09, 0x08, 0x04, 0x01};
        db->Connect();
        db->expressScan.Clear();
        for (int id : pageIds)
            db->expressScan.AddPoint(id);
        db->expressScan.SetPage(page, false, true);
        link.sent.clear();
    }
};
}  // namespace

TEST_F(DataBaseTest, LookupsAndCounts)
{
    EXPECT_EQ(db->GetPointCount(), 1357);
    EXPECT_EQ(db->GetWatchPointCount(), 228);
    EXPECT_EQ(db->GetPointName(12345), "0");
    EXPECT_EQ(db->GetPointName(500), "Ridovaz Version");
    EXPECT_EQ(db->GetPointNameByIndex(1356), "Diagnostics");
    EXPECT_EQ(db->GetPointNameByIndex(1357), "0");
    EXPECT_EQ(db->GetPointNameByIndex(-1), "0");
    EXPECT_EQ(db->GetPointType(12345), 0);
    EXPECT_EQ(db->GetPointType(0), 13);
    EXPECT_FALSE(db->IsPointWritable(12345));
    EXPECT_EQ(db->GetPointById(70000), nullptr);
    EXPECT_EQ(db->ReadPoint(12345), 31);
    EXPECT_EQ(db->WritePoint(12345), 30);
    EXPECT_EQ(db->AttachObserver(12345, nullptr), 1);
    EXPECT_TRUE(db->IsOffline());
    EXPECT_FALSE(db->IsModified());

    db->SetDatabaseConfigFileTypeID(std::string(33, 'x'));
    EXPECT_EQ(db->GetDatabaseConfigFileTypeID(), std::string(25, 'x'));
    db->SetDatabaseConfigFileTypeID("abc");
    EXPECT_EQ(db->GetDatabaseConfigFileTypeID(), "abc" + std::string(22, ' '));
}

TEST_F(DataBaseTest, OfflineEditsAreKeptAndTranslated)
{
    const int choice2 = AnalogOutputCollection::Instance()->GetIdByOrdinal(2);
    ASSERT_GE(choice2, 0);
    EXPECT_TRUE(db->SetPointText(50, "2"));
    EXPECT_EQ(db->GetPointText(50), std::to_string(choice2));

    EXPECT_TRUE(db->SetPointText(284, "2.5"));
    EXPECT_EQ(db->GetPointText(284), "2500");
    EXPECT_THROW(db->SetPointText(284, "abc"), ConversionError);
    EXPECT_EQ(db->GetPointText(284), "2500");

    // An ordinal that names no choice is refused and changes nothing.
    const int count = AnalogOutputCollection::Instance()->GetCount();
    EXPECT_THROW(db->SetPointText(50, std::to_string(count)), ConversionError);
    EXPECT_THROW(db->SetPointText(50, "x"), ConversionError);
    EXPECT_EQ(db->GetPointText(50), std::to_string(choice2));

    EXPECT_TRUE(db->SetPointText(1, "My site"));
    EXPECT_EQ(db->GetPointText(1), "My site");
    EXPECT_TRUE(db->IsModified());
    // The checked path takes only points read from the unit.
    EXPECT_FALSE(db->SetPointTextChecked(1, "Other"));
    EXPECT_EQ(db->GetPointText(1), "My site");
}

TEST_F(DataBaseTest, OnlineEditsNeedThePageAndAFreshPoint)
{
    goOnline({50});
    EXPECT_FALSE(db->IsOffline());
    EXPECT_TRUE(db->SetPointText(50, "1"));
    EXPECT_FALSE(db->SetPointText(54, "1"));  // not on the page
    db->MarkAllStale();
    EXPECT_TRUE(db->IsOffline());
    EXPECT_TRUE(db->SetPointText(54, "1"));
}

TEST_F(DataBaseTest, LogonReadsEveryUsedPointIn136Messages)
{
    link.values[0] = {0x09, 0x08, 0x04, 0x01};
    link.values[2] = {'U', 'n', 'i', 't'};
    EXPECT_EQ(db->CountReadAllMessages(), 136);
    db->Connect();
    // The version point, then the read of all points.
    EXPECT_EQ(link.sent.front(), (std::vector<std::uint8_t>{4, 0x01, 0, 0}));
    EXPECT_EQ(link.countType(0x32), 63);
    EXPECT_EQ(link.countType(0x01), 1 + 73);
    EXPECT_EQ(db->GetPointText(0), "Unit");
    EXPECT_EQ(db->GetPointText(500), "17041417");
    EXPECT_TRUE(db->GetPointById(500)->IsFresh());
    EXPECT_FALSE(db->IsOffline());
    // A point with no usage flags is never read.
    EXPECT_FALSE(db->GetPointById(65535)->IsFresh());
}

TEST_F(DataBaseTest, PageReadBatchesTwentyToAMessage)
{
    std::vector<int> ids;
    Ridovaz17041417 map;
    for (int i = 0; i < map.GetCount() && ids.size() < 45; ++i)
        if (map.GetTypeCode(static_cast<std::uint16_t>(i)) == 0)
            ids.push_back(map.GetPointId(static_cast<std::uint16_t>(i)));
    ids.push_back(0);
    ids.push_back(1);
    goOnline(ids);
    db->MarkAllStale();
    EXPECT_EQ(db->CountExpressReadMessages(), 5);
    db->ExpressRead(false);
    EXPECT_EQ(link.sent.size(), 5u);
    EXPECT_EQ(link.countType(0x01), 2);
    EXPECT_EQ(link.sent.back()[2], 5);  // the last multi-read holds the five left over
    for (int id : ids)
        EXPECT_TRUE(db->GetPointById(id)->IsFresh()) << id;

    // Exactly twenty numeric points: one multi-read.
    ids.resize(20);
    goOnline(ids);
    db->ExpressRead(false);
    EXPECT_EQ(link.sent.size(), 1u);
}

TEST_F(DataBaseTest, MultiReadUnpacksOnlyWhatTheAnswerHolds)
{
    MultiReadRequest request;
    request.count = 3;
    request.indexes = {6, 8, 5};  // float, unsigned short, boolean
    const float f = 1.25f;
    std::uint8_t values[7];
    std::memcpy(values, &f, 4);
    values[4] = 0x34;
    values[5] = 0x12;
    values[6] = 1;
    // The answer claims 20 values but its bytes reach only the first two.
    db->UnpackMultiRead(request, 20, values, 6, true);
    EXPECT_EQ(db->GetPointByIndex(6)->ToString(), "1.25");
    EXPECT_EQ(db->GetPointByIndex(8)->ToString(), "4660");
    EXPECT_TRUE(db->GetPointByIndex(8)->IsFresh());
    EXPECT_FALSE(db->GetPointByIndex(5)->IsFresh());
}

TEST_F(DataBaseTest, ReadFailureLeavesUnansweredPointsStale)
{
    goOnline({});
    db->MarkAllStale();
    db->expressScan.AddPoint(12);  // float
    db->expressScan.AddPoint(0);   // text, read singly first
    link.failWithStatus = 4;
    EXPECT_THROW(db->ExpressRead(false), CommStatusError);
    EXPECT_FALSE(db->GetPointById(0)->IsFresh());
    EXPECT_FALSE(db->GetPointById(12)->IsFresh());
}

TEST_F(DataBaseTest, WritesOnlyFreshModifiedWritablePoints)
{
    goOnline({4, 12, 500});
    db->SetPointText(4, "True");
    db->SetPointText(500, "1");  // read-only
    EXPECT_EQ(db->WriteAll(), 0);
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0][1], 0x04);
    EXPECT_EQ(link.sent[0][2], indexOf(4));
    EXPECT_FALSE(db->GetPointById(4)->IsModified());
    EXPECT_EQ(db->WritePoint(500), kWritePointRefused);

    // Edits made offline reach the unit only after the point was read again.
    db->MarkAllStale();
    db->SetPointText(1, "offline edit");
    EXPECT_TRUE(db->GetPointById(1)->IsModified());
    EXPECT_EQ(db->WriteAll(), 0);
    EXPECT_EQ(db->WritePoint(1), kWritePointRefused);
    EXPECT_EQ(link.sent.size(), 1u);
}

TEST_F(DataBaseTest, CalibrationStreamsClampToTheStreamCount)
{
    goOnline({1614, 1615, 1618, 1622, 1626});
    for (int id : {1614, 1615, 1618, 1622, 1626})
        link.values[indexOf(id)] = {3};
    db->ExpressRead(false);
    db->TrimCalibrationStreams(1);
    EXPECT_EQ(db->GetPointText(1614), "1");
    EXPECT_EQ(db->GetPointText(1618), "1");
    EXPECT_EQ(db->GetPointText(1622), "3");
    db->TrimCalibrationStreams(2);
    EXPECT_EQ(db->GetPointText(1622), "3");
    db->TrimCalibrationStreams(0);
    EXPECT_EQ(db->GetPointText(1614), "0");
    EXPECT_EQ(db->GetPointText(1626), "3");
}

TEST(ExpressScanTest, ListsFlagsAndPages)
{
    ExpressScan scan;
    scan.AddPoint(7);
    scan.AddPoint(7);
    scan.AddSecondary(9);
    scan.AddSecondary(9);
    EXPECT_EQ(scan.MainList().size(), 1u);
    EXPECT_EQ(scan.AlternateList().size(), 2u);
    EXPECT_EQ(scan.GetPage(), 0);
    EXPECT_TRUE(scan.ShowsWaitOnRead());

    scan.SetPage(14, true, false);
    EXPECT_FALSE(scan.Contains(7, true));
    EXPECT_TRUE(scan.Contains(7, false));
    EXPECT_TRUE(scan.Contains(9, true));
    EXPECT_EQ(&scan.PolledList(), &scan.AlternateList());
    EXPECT_FALSE(scan.ShowsWaitOnRead());

    scan.SetPage(2, false, true);
    EXPECT_EQ(scan.Contains(7, true), scan.Contains(7, false));
    EXPECT_FALSE(scan.Contains(9, true));

    scan.Clear();
    EXPECT_EQ(scan.GetPage(), 0);
    EXPECT_FALSE(scan.Contains(7, false));
    scan.SetPage(14, true, false);
    EXPECT_TRUE(scan.MainList().empty());  // flags kept, lists emptied
    EXPECT_FALSE(scan.ShowsWaitOnRead());
}

TEST_F(DataBaseTest, AnalogOutputChoices)
{
    auto* c = AnalogOutputCollection::Instance();
    const int count = c->GetCount();
    Ridovaz17041417 map;
    int expected = 0;
    for (int i = 0; i < map.GetCount(); ++i)
        expected += (map.GetUsageFlags(static_cast<std::uint16_t>(i)) & 0x08) != 0;
    EXPECT_EQ(count, expected);
    ASSERT_GT(count, 0);
    c->Build();
    EXPECT_EQ(c->GetCount(), count);
    EXPECT_EQ(c->GetItem(count), nullptr);
    EXPECT_EQ(c->GetItem(-1), nullptr);
    ASSERT_NE(c->GetItem(count - 1), nullptr);
    EXPECT_EQ(c->GetItem(count - 1)->ordinal, count - 1);
    EXPECT_EQ(c->GetIdByOrdinal(count), -1);
    const int id = c->GetIdByOrdinal(0);
    EXPECT_EQ(c->GetOrdinalById(id), 0);
    EXPECT_EQ(c->GetOrdinalById(12345), -1);
}

namespace {
QByteArray readTrace()
{
    QFile f(WriteTrace::defaultPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST_F(DataBaseTest, WriteTraceLinesAndChangeList)
{
    QFile::remove(WriteTrace::defaultPath());
    const int longNameId = 12;  // "Black Tape Detect Volts (mV)", a float
    goOnline({longNameId});
    db->ExpressRead(false);
    link.sent.clear();
    db->SetPointText(longNameId, "1.5");
    db->WriteAll();
    const QList<QByteArray> lines = readTrace().split('\n');
    ASSERT_EQ(lines.size(), 3);  // separator, one point, and the empty rest after the last line feed
    EXPECT_EQ(lines[0], QByteArray(52, '-') + " ");
    const QByteArray line = lines[1];
    EXPECT_EQ(line.left(10), QByteArray(std::to_string(longNameId).c_str()).leftJustified(10, ' '));
    EXPECT_EQ(line.mid(10, 60), QByteArray("Black Tape Detect Volts (mV)").leftJustified(60, ' '));
    EXPECT_EQ(line.mid(70, 35), QByteArray("1.5").leftJustified(35, ' '));
    EXPECT_TRUE(QRegularExpression("^\\d{4}/\\d{1,2}/\\d{1,2} \\d{1,2}:\\d{1,2}:\\d{1,2} \\d{1,3}ms $")
                    .match(QString::fromLatin1(line.mid(105)))
                    .hasMatch())
        << line.mid(105).toStdString();
    EXPECT_EQ(db->GetChangeList().Ids(), std::vector<int>{longNameId});
}

TEST_F(DataBaseTest, UnopenableTraceWarnsOnceAndStillWrites)
{
    goOnline({4, 11});
    db->ExpressRead(false);
    link.sent.clear();
    QFile::remove(WriteTrace::defaultPath());
    ASSERT_TRUE(QDir().mkpath(WriteTrace::defaultPath()));  // a folder where the file should be
    testenv::dialogs().clear();
    db->SetPointText(4, "True");
    db->SetPointText(11, "True");
    db->WriteAll();
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{"There was a problem opening the WriteLog file"});
    EXPECT_EQ(link.countType(0x04), 2);
    QDir(WriteTrace::defaultPath()).removeRecursively();
}

TEST_F(DataBaseTest, SinglePointWriteTracesOnlyThatPoint)
{
    goOnline({4, 11});
    db->ExpressRead(false);
    QFile::remove(WriteTrace::defaultPath());
    db->SetPointText(4, "True");
    db->SetPointText(11, "True");
    EXPECT_EQ(db->WritePoint(11), 0);
    const QList<QByteArray> lines = readTrace().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("11 "));
    EXPECT_EQ(db->GetChangeList().Ids(), std::vector<int>{11});
    EXPECT_TRUE(db->GetPointById(4)->IsModified());
}

TEST(WriteTraceTest, FieldsAreCutOrPadded)
{
    EXPECT_EQ(WriteTrace::Pad("abc", 5), "abc  ");
    EXPECT_EQ(WriteTrace::Pad(std::string(70, 'n'), 60), std::string(60, 'n'));
    EXPECT_EQ(WriteTrace::Pad("", 3), "   ");
}

TEST_F(DataBaseTest, BlocksFollowTheLogonAndThePage)
{
    link.values[0] = {0x09, 0x08, 0x04, 0x01};
    db->Connect();
    EXPECT_EQ(link.countType(0x3C), 2);  // the sequencer, read twice on every connection
    EXPECT_EQ(link.countType(0x40), 1);
    EXPECT_EQ(link.countType(0x12), 1);

    struct Case {
        int page;
        std::uint8_t blockType;
        bool before;
    };
    for (const Case c : {Case{16, 0x40, true}, Case{12, 0x3C, false}, Case{7, 0x12, false}}) {
        db->expressScan.Clear();
        db->expressScan.AddPoint(12);
        db->expressScan.SetPage(c.page, false, true);
        link.sent.clear();
        db->ExpressRead(false);
        ASSERT_GE(link.sent.size(), 2u) << c.page;
        std::size_t block = 0, points = 0;
        for (std::size_t k = 0; k < link.sent.size(); ++k) {
            if (link.sent[k][1] == c.blockType)
                block = k;
            if (link.sent[k][1] == 0x32)
                points = k;
        }
        EXPECT_EQ(block < points, c.before) << c.page;
        EXPECT_EQ(link.countType(c.blockType), 1) << c.page;
    }
}

TEST_F(DataBaseTest, StreamsChangeTrimsAndWritesTheSequencerBeforeThePoints)
{
    goOnline({20, 1614});
    link.values[indexOf(1614)] = {3};
    link.values[indexOf(20)] = {3};
    db->ExpressRead(false);
    db->expressScan.SetPage(5, false, true);
    link.sent.clear();
    db->SetPointTextChecked(20, "0");
    db->WriteAll();
    std::vector<std::uint8_t> types;
    for (const auto& m : link.sent)
        types.push_back(m[1]);
    // Sequencer written and read back, then the two changed points (20, and 1614 clamped to 0).
    EXPECT_EQ(types, (std::vector<std::uint8_t>{0x3E, 0x3C, 0x04, 0x04}));
    EXPECT_EQ(db->GetPointText(1614), "0");
}

TEST_F(DataBaseTest, DirtyTimersOnTheTimersPageAreTracedAndWritten)
{
    goOnline({20}, 16);
    db->ExpressRead(false);
    TimerXConfiguration timers = db->GetTimerXManager().GetImage();
    timers.Timers[0].ScheduleHour = 7;
    db->GetTimerXManager().SetImage(timers);
    QFile::remove(WriteTrace::defaultPath());
    link.sent.clear();
    db->WriteAll();
    EXPECT_EQ(link.countType(0x42), 1);
    EXPECT_EQ(db->GetChangeList().Ids(), std::vector<int>{WriteLogRecordsManager::kTimerBlockId});
    const QList<QByteArray> lines = readTrace().split('\n');
    // separator, "TimerXConfiguration", 12 timers, separator, and the empty rest
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[1], "TimerXConfiguration ");
    EXPECT_TRUE(lines[2].startsWith(
        QByteArray::fromStdString(WriteTrace::Pad("Timer 0", 10) + WriteTrace::Pad("Schedule Enable=0", 20) +
                                  WriteTrace::Pad("DayOfWeek=0", 20) + WriteTrace::Pad("Schedule Hour=7", 20))));
}

TEST_F(DataBaseTest, LogIdCodes)
{
    auto& records = db->LogRecords();
    const std::uint8_t unique[] = {7, 8, 9, 10, 11, 7};
    for (int i = 0; i < 6; ++i)
        records[static_cast<std::size_t>(i)].LogIDCode = unique[i];
    EXPECT_TRUE(db->AreLogIdCodesUnique());
    records[1].LogIDCode = 7;
    EXPECT_FALSE(db->AreLogIdCodesUnique());
    records[0].LogIDCode = 250;
    records[1].LogIDCode = 0;
    db->ShiftLogIdCodes();
    EXPECT_EQ(records[0].LogIDCode, 1);
    EXPECT_EQ(records[1].LogIDCode, 6);
    EXPECT_TRUE(UniqueLogID::Instance()->Contains(6));
    db->ResetLogIdCodes();
    EXPECT_EQ(records[5].LogIDCode, 6);
    UniqueLogID::ReleaseInstance();
}
