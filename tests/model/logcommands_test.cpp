#include "logcommands.h"
#include "auditevent.h"
#include "commandfixture.h"
#include "logdbmgr.h"
#include "memoryframes.h"

#include <cstring>

// The memory downloads against the emulated unit's message level: archive and event memories
// built from valid frames, and the unit's faults on the block requests.
namespace {

using Fault = UnitModel::MessageFault;

constexpr std::uint8_t kArchiveBlock = 0x28;
constexpr std::uint8_t kEventBlock = 0x2C;
constexpr std::uint8_t kMemoryInfo = 0x2A;

Fault fault(std::uint8_t type, Fault::Kind kind, int after, int times)
{
    Fault f;
    f.requestType = type;
    f.kind = kind;
    f.after = after;
    f.times = times;
    return f;
}

Fault countFault(std::uint8_t type, int count, int after, int times = 1)
{
    Fault f = fault(type, Fault::Kind::Count, after, times);
    f.count = count;
    return f;
}

class LogCommandTest : public CommandFixture<> {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        engine->SetFailureReporter([this](const std::string& text) { failures.push_back(text); });
        LogDBMgr::Instance()->Clear();
    }
    void TearDown() override
    {
        CommandFixture::TearDown();
        LogDBMgr::ReleaseInstance();
    }

    // Log 0 (id 0x11): Stream, Run Number, Stream 1: Gain. Log 1 (id 0xDE, stored escaped):
    // Time (proprietary) (type 19, four bytes), Purge Time (two bytes), Total Run Counter.
    // The same configuration in the unit and in the database, as "ReadLogConfig" leaves it.
    void configureLogs()
    {
        LogRecord records[2] = {{0, 1, 60, 0x11, 4, {0, 392, 393, 21}}, {1, 1, 60, 0xDE, 4, {0, 388, 10, 29}}};
        for (int k = 0; k < 2; ++k) {
            db->LogRecords()[static_cast<std::size_t>(k)] = records[k];
            QByteArray bytes(sizeof(LogRecord), '\0');
            std::memcpy(bytes.data(), &records[k], sizeof(LogRecord));
            link.unit.setLogRecord(k, bytes);
        }
        link.unit.setValue(392, 1);
        link.unit.setValue(393, 0);
        link.unit.setValue(21, 1.5);
        link.unit.setValue(388, 0xDEDE1234);
        link.unit.setValue(10, 0xDEDE);
        link.unit.setValue(29, 77);
    }

    std::vector<std::pair<std::uint32_t, int>> blockRequests(std::uint8_t type) const
    {
        std::vector<std::pair<std::uint32_t, int>> out;
        for (const auto& m : link.sent)
            if (m[1] == type)
                out.emplace_back(m[2] | (m[3] << 8) | (m[4] << 16) | (std::uint32_t{m[5]} << 24), m[6]);
        return out;
    }

    QStringList dialogTexts() const { return testenv::dialogs().texts(); }

    std::vector<std::string> failures;
};

std::vector<std::pair<std::uint32_t, int>> expectedBlocks(std::size_t length)
{
    std::vector<std::pair<std::uint32_t, int>> out;
    for (std::size_t offset = 0; offset < length; offset += 200)
        out.emplace_back(static_cast<std::uint32_t>(offset),
                         static_cast<int>(std::min<std::size_t>(200, length - offset)));
    return out;
}

}  // namespace

TEST_F(LogCommandTest, AWholeArchiveDownloadFilesEveryRecordInTimeOrder)
{
    configureLogs();
    memoryframes::Plan plan;
    plan.records = 60;
    plan.wrap = 17;  // the unit's ring memory has wrapped: the newest frames come first
    const QByteArray memory = link.unit.makeArchive(plan);
    ASSERT_TRUE(memory.contains(QByteArray("\xDE\xAD", 2)));
    link.unit.setArchive(memory);
    db->archiveMemoryLength = 123456;  // the logon's figure for the archive capacities

    engine->ExecuteCommand("ReadALog", "");

    const int length = static_cast<int>(memory.size());
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"StatusLineSpecialPanel:Reading Log...", "localPBarMax=1",
                                                     "DisablePages=1", "localPBarMax=" + std::to_string(length / 200),
                                                     "StatusLineSpecialPanel:Read Log Successful", "UpdateLogView=1",
                                                     "SaveLogFile=1", "EnablePages=1", "StatusLineSpecialPanel:"}));
    EXPECT_EQ(blockRequests(kArchiveBlock), expectedBlocks(static_cast<std::size_t>(length)));
    EXPECT_EQ(link.countType(kMemoryInfo), 1);
    EXPECT_TRUE(dialogTexts().isEmpty());
    EXPECT_TRUE(failures.empty());
    EXPECT_FALSE(frame.waitShown);
    // The worker let go of the raw memory once it had parsed it.
    EXPECT_TRUE(db->archiveMemory.empty());
    EXPECT_EQ(db->archiveMemoryLength, 123456u);

    LogDBMgr* logs = LogDBMgr::Instance();
    ASSERT_EQ(logs->RecordCount(), 60u);
    EXPECT_EQ(logs->Count(0), 30);
    EXPECT_EQ(logs->Count(1), 30);
    for (std::size_t i = 0; i < logs->RecordCount(); ++i) {
        const ALOGPOINTRECORD& r = logs->Record(i);
        EXPECT_EQ(r.rawTime, memoryframes::token(plan.start.addSecs(60 * static_cast<int>(i))));
        if (r.logIndex == 0) {
            EXPECT_EQ(r.ValueText(0), "2");  // stream and run shown from 1
            EXPECT_EQ(r.ValueText(1), "1");
            EXPECT_EQ(r.ValueText(2), "1.5");
        } else {
            // The four-byte point before it does not shift the later values.
            EXPECT_EQ(r.ValueText(8), std::to_string(0xDEDE1234u));
            EXPECT_EQ(r.ValueText(9), std::to_string(0xDEDE));
            EXPECT_EQ(r.ValueText(10), "77");
        }
    }
}

TEST_F(LogCommandTest, ArchiveBlocksFollowTheLength)
{
    struct Case {
        int length;
        int pbarMax;
    };
    for (const Case c : {Case{0, 0}, Case{200, 1}, Case{450, 2}}) {
        SCOPED_TRACE(c.length);
        link.sent.clear();
        frame.calls.clear();
        link.unit.setArchive(QByteArray(c.length, '\x01'));
        engine->ExecuteCommand("ReadALog", "");
        EXPECT_EQ(blockRequests(kArchiveBlock), expectedBlocks(static_cast<std::size_t>(c.length)));
        EXPECT_TRUE(frame.has("localPBarMax=" + std::to_string(c.pbarMax)));
        EXPECT_TRUE(frame.has("StatusLineSpecialPanel:Read Log Successful"));
        EXPECT_TRUE(frame.has("UpdateLogView=1"));
        EXPECT_TRUE(frame.has("SaveLogFile=1"));
        EXPECT_TRUE(dialogTexts().isEmpty());
    }
}

TEST_F(LogCommandTest, ArchiveBlockRetriesAndFailures)
{
    configureLogs();
    memoryframes::Plan plan;
    plan.records = 40;
    const QByteArray memory = link.unit.makeArchive(plan);
    ASSERT_GT(memory.size(), 600);
    const int fullBlocks = static_cast<int>(memory.size() / 200);
    ASSERT_NE(memory.size() % 200, 0);

    struct Case {
        const char* name;
        Fault fault;
        bool whole;
        const char* box;    // the first box shown, if any
        int blockRequests;  // -1: every block once
    };
    const Case cases[] = {
        {"two silent attempts", fault(kArchiveBlock, Fault::Kind::Silence, 1, 2), true, nullptr, -1},
        {"a block that never answers", fault(kArchiveBlock, Fault::Kind::Silence, 1, 0), false,
         "read device memory fail.", 4},
        {"a wrong answer type", fault(kArchiveBlock, Fault::Kind::AnswerType, 1, 3), false, "read device memory fail.",
         4},
        {"a rejected block", fault(kArchiveBlock, Fault::Kind::Reject, 2, 3), false, "read device memory fail.", 5},
        {"a short count", countFault(kArchiveBlock, 50, 1), false, logdownload::kIncompleteText, -1},
        {"a count above the request", countFault(kArchiveBlock, 200, fullBlocks, 3), false, "read device memory fail.",
         fullBlocks + 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.sent.clear();
        frame.calls.clear();
        testenv::dialogs().clear();
        link.unit.clearFaults();
        link.unit.setArchive(memory);
        link.unit.addFault(c.fault);
        engine->ExecuteCommand("ReadALog", "");

        EXPECT_EQ(frame.has("StatusLineSpecialPanel:Read Log Successful"), c.whole);
        // Whole or not, the viewer gets what was read and the window is restored.
        EXPECT_TRUE(frame.has("UpdateLogView=1"));
        EXPECT_TRUE(frame.has(c.whole ? "SaveLogFile=1" : "SaveLogFile=0")) << "the save knows it is partial";
        ASSERT_GE(frame.calls.size(), 2u);
        EXPECT_EQ(frame.calls[frame.calls.size() - 2], "EnablePages=1");
        EXPECT_EQ(frame.calls.back(), "StatusLineSpecialPanel:");
        EXPECT_FALSE(frame.waitShown);
        const auto requests = blockRequests(kArchiveBlock);
        if (c.blockRequests < 0)
            EXPECT_GE(requests.size(), expectedBlocks(static_cast<std::size_t>(memory.size())).size());
        else
            EXPECT_EQ(static_cast<int>(requests.size()), c.blockRequests);
        const QStringList texts = dialogTexts();
        if (c.whole) {
            EXPECT_TRUE(texts.isEmpty()) << texts.join('|').toStdString();
            EXPECT_EQ(LogDBMgr::Instance()->RecordCount(), 40u);
        } else {
            if (c.box) {
                ASSERT_FALSE(texts.isEmpty());
                EXPECT_EQ(texts.front(), c.box);
            }
            // The user is told that what is shown is not the whole log.
            ASSERT_FALSE(texts.isEmpty());
            EXPECT_EQ(texts.back(), logdownload::kIncompleteText);
            EXPECT_LT(LogDBMgr::Instance()->RecordCount(), 40u);
        }
    }
}

TEST_F(LogCommandTest, ArchiveMemoryInformationFailureLeavesTheCommand)
{
    link.unit.setArchive(QByteArray(400, '\0'));
    link.unit.addFault(fault(kMemoryInfo, Fault::Kind::Silence, 0, 1));
    engine->ExecuteCommand("ReadALog", "");

    ASSERT_EQ(testenv::dialogs().shown().size(), 1u) << dialogTexts().join("|").toStdString();
    EXPECT_EQ(testenv::dialogs().shown()[0].text, "Read memory has exception");
    EXPECT_EQ(testenv::dialogs().shown()[0].buttons, QMessageBox::Cancel);
    EXPECT_EQ(failures.size(), 1u);  // the failure left the command
    EXPECT_EQ(link.countType(kArchiveBlock), 0);
    EXPECT_FALSE(frame.waitShown);
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"StatusLineSpecialPanel:Reading Log...", "localPBarMax=1",
                                                     "DisablePages=1", "EnablePages=1"}));
}

TEST_F(LogCommandTest, NotLoggedOnOnlyTheFileLoadRuns)
{
    frame.loggingOn = true;
    engine->ExecuteCommand("ReadALog", "");
    engine->ExecuteCommand("ReadAudit", "");
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_TRUE(link.sent.empty());

    engine->ExecuteCommand("ReadALog2", "");
    EXPECT_EQ(frame.calls,
              (std::vector<std::string>{"StatusLineSpecialPanel:Reading Log from file...", "localPBarMax=1",
                                        "DisablePages=1", "ReadALog2=1", "EnablePages=1", "StatusLineSpecialPanel:"}));
    EXPECT_TRUE(link.sent.empty());
    EXPECT_FALSE(frame.waitShown);
}

TEST_F(LogCommandTest, AWholeEventDownloadCopiesTheMemoryForTheEventPage)
{
    memoryframes::Plan plan;
    plan.records = 120;
    plan.wrap = 33;
    plan.interval = 1;
    const QByteArray memory = memoryframes::events(plan);
    link.unit.setEvents(memory);

    engine->ExecuteCommand("ReadAudit", "");

    EXPECT_EQ(frame.calls,
              (std::vector<std::string>{"StatusLineSpecialPanel:Reading Event Log...", "localPBarMax=1",
                                        "DisablePages=1", "localPBarMax=" + std::to_string(memory.size() / 200),
                                        "StatusLineSpecialPanel:Processing Event Data...", "AuditFinish=1",
                                        "EnablePages=1", "StatusLineSpecialPanel:"}));
    EXPECT_EQ(blockRequests(kEventBlock), expectedBlocks(static_cast<std::size_t>(memory.size())));
    ASSERT_EQ(db->eventMemory.size(), static_cast<std::size_t>(memory.size()));
    EXPECT_EQ(0, std::memcmp(db->eventMemory.data(), memory.constData(), db->eventMemory.size()));

    TAuditParser parser;
    parser.Parse(db->eventMemory.data(), db->eventMemory.size());
    ASSERT_EQ(parser.RecordCount(), 120u);
    for (std::size_t i = 0; i < parser.RecordCount(); ++i)
        EXPECT_EQ(parser.Record(i).token, memoryframes::token(plan.start.addSecs(static_cast<int>(i))));
}

TEST_F(LogCommandTest, EventBlocksFollowTheLength)
{
    struct Case {
        int length;
        int pbarMax;
    };
    for (const Case c : {Case{0, 0}, Case{1000, 5}, Case{205, 1}}) {
        SCOPED_TRACE(c.length);
        link.sent.clear();
        frame.calls.clear();
        link.unit.setEvents(QByteArray(c.length, '\x07'));
        engine->ExecuteCommand("ReadAudit", "");
        EXPECT_EQ(blockRequests(kEventBlock), expectedBlocks(static_cast<std::size_t>(c.length)));
        EXPECT_TRUE(frame.has("localPBarMax=" + std::to_string(c.pbarMax)));
        EXPECT_TRUE(frame.has("AuditFinish=1"));
        EXPECT_EQ(db->eventMemory, std::vector<std::uint8_t>(static_cast<std::size_t>(c.length), 0x07));
    }
}

TEST_F(LogCommandTest, EventBytesLandAtTheirBlocksOffset)
{
    QByteArray memory(450, '\0');
    for (int i = 0; i < memory.size(); ++i)
        memory[i] = static_cast<char>(1 + i % 250);
    link.unit.setEvents(memory);
    link.unit.addFault(countFault(kEventBlock, 0, 0));  // the first block carries nothing
    engine->ExecuteCommand("ReadAudit", "");

    ASSERT_EQ(db->eventMemory.size(), 450u);
    EXPECT_EQ(std::count(db->eventMemory.begin(), db->eventMemory.begin() + 200, 0), 200);
    EXPECT_EQ(0, std::memcmp(db->eventMemory.data() + 200, memory.constData() + 200, 250));
    EXPECT_TRUE(frame.has("AuditFinish=1"));
}

TEST_F(LogCommandTest, EventDownloadFailures)
{
    // A block that fails three times: the box, no further request, no event page.
    link.unit.setEvents(QByteArray(1000, '\x05'));
    link.unit.addFault(fault(kEventBlock, Fault::Kind::AnswerType, 2, 3));
    engine->ExecuteCommand("ReadAudit", "");
    EXPECT_EQ(dialogTexts(), QStringList{"read device memory fail."});
    EXPECT_EQ(link.countType(kEventBlock), 5);
    EXPECT_FALSE(frame.has("AuditFinish=1"));
    EXPECT_FALSE(frame.has("StatusLineSpecialPanel:Processing Event Data..."));
    EXPECT_EQ(frame.calls[frame.calls.size() - 2], "EnablePages=1");
    EXPECT_EQ(frame.calls.back(), "StatusLineSpecialPanel:");
    EXPECT_EQ(std::count(db->eventMemory.begin(), db->eventMemory.end(), 5), 400);

    // A count above the request is refused, attempt after attempt.
    testenv::dialogs().clear();
    link.sent.clear();
    link.unit.clearFaults();
    link.unit.setEvents(QByteArray(205, '\x05'));
    link.unit.addFault(countFault(kEventBlock, 200, 1, 3));
    engine->ExecuteCommand("ReadAudit", "");
    EXPECT_EQ(dialogTexts(), QStringList{"read device memory fail."});
    EXPECT_EQ(link.countType(kEventBlock), 4);
    EXPECT_EQ(std::count(db->eventMemory.begin(), db->eventMemory.end(), 5), 200);

    // The memory information fails: no box, the failure leaves the command, pages enabled.
    testenv::dialogs().clear();
    frame.calls.clear();
    link.sent.clear();
    link.unit.clearFaults();
    link.unit.addFault(fault(kMemoryInfo, Fault::Kind::Silence, 0, 1));
    engine->ExecuteCommand("ReadAudit", "");
    EXPECT_TRUE(dialogTexts().isEmpty());
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_TRUE(db->eventMemory.empty());
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"StatusLineSpecialPanel:Reading Event Log...", "localPBarMax=1",
                                                     "DisablePages=1", "EnablePages=1"}));
}

namespace {

// The unit's memory information claims 4 GiB for both memories.
class HugeLengthLink : public TableLink {
public:
    int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool notify) override
    {
        const int n = TableLink::SendReceive(message, answer, capacity, notify);
        if (message[1] == kMemoryInfo && n >= 14)
            std::memset(answer + 6, 0xFF, 8);
        return n;
    }
};

}  // namespace

TEST_F(LogCommandTest, ReportedLengthsAreCappedAt64MiB)
{
    HugeLengthLink huge;
    CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(huge));
    huge.unit.addFault(fault(kArchiveBlock, Fault::Kind::Silence, 0, 0));
    huge.unit.addFault(fault(kEventBlock, Fault::Kind::Silence, 0, 0));
    const std::string pbarMax = "localPBarMax=" + std::to_string((64 << 20) / 200);

    engine->ExecuteCommand("ReadAudit", "");
    EXPECT_TRUE(frame.has(pbarMax));
    EXPECT_EQ(db->eventMemory.size(), std::size_t{64} << 20);
    EXPECT_EQ(huge.countType(kEventBlock), 3);

    frame.calls.clear();
    testenv::dialogs().clear();
    engine->ExecuteCommand("ReadALog", "");
    EXPECT_TRUE(frame.has(pbarMax));
    EXPECT_EQ(dialogTexts(), (QStringList{"read device memory fail.", logdownload::kIncompleteText}));
    EXPECT_TRUE(db->archiveMemory.empty());
    EXPECT_EQ(huge.countType(kArchiveBlock), 3);
}
