#include "readcommands.h"
#include "commandfixture.h"
#include "communications.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLibrary>

namespace {

class ReadCommandTest : public CommandFixture<> {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        link.values[0] = {0x09, 0x08, 0x04, 0x01};
        db->Connect();
        link.sent.clear();
    }
};

}  // namespace

TEST_F(ReadCommandTest, ReadFullShowsProgressAndRestoresTheWindow)
{
    engine->ExecuteCommand("ReadFull", "");
    EXPECT_EQ(frame.calls, (std::vector<std::string>{
                               "StatusLineSpecialPanel:Reading All...", "localPBarMax=146", "DisablePages=1",
                               "EnablePages=1", "StatusLineSpecialPanel:Read Successful.", "StatusLineSpecialPanel:"}));
    EXPECT_EQ(link.countType(0x32), 63);
    EXPECT_FALSE(frame.waitShown);
}

TEST_F(ReadCommandTest, ExpressReadWithoutWaitFlagTouchesNoPages)
{
    db->expressScan.Clear();
    db->expressScan.AddPoint(12);
    db->expressScan.SetPage(0, false, false);
    engine->ExecuteCommand("ExpressRead", "");
    EXPECT_EQ(frame.calls,
              (std::vector<std::string>{"StatusLineSpecialPanel:Express Reading...", "localPBarMax=1",
                                        "StatusLineSpecialPanel:Read Successful.", "StatusLineSpecialPanel:"}));
}

TEST_F(ReadCommandTest, AFailedReadLogsOffAndLaterReadsReturnAtOnce)
{
    testenv::dialogs().clear();
    db->expressScan.Clear();
    db->expressScan.AddPoint(12);
    db->expressScan.SetPage(2, false, true);
    link.failWithStatus = 4;
    engine->ExecuteCommand("ExpressRead", "");
    ASSERT_EQ(testenv::dialogs().texts().size(), 1);
    EXPECT_TRUE(testenv::dialogs().texts()[0].startsWith("Read error: "));
    EXPECT_TRUE(db->IsOffline());
    EXPECT_FALSE(frame.waitShown);
    const std::vector<std::string> tail(frame.calls.end() - 6, frame.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"EnablePages=1", "EnablePages=1", "tbtnLogon=1", "tbtnLogoff=0",
                                              "SetLogOff=1", "StatusLineSpecialPanel:"}));

    frame.calls.clear();
    link.sent.clear();
    frame.loggingOn = true;
    engine->ExecuteCommand("ExpressRead2", "");
    engine->ExecuteCommand("ReadFull", "");
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(ReadCommandTest, AFailedReadFailsTheExchangesButLeavesTheLinkUp)
{
    // The scripted stand-in for the library counts what the binding asks of it.
    Communications::InstallInstance(std::make_unique<Communications>(QStringLiteral(FAKE_PORTELLE_DIR)));
    QLibrary fake(QDir(QStringLiteral(FAKE_PORTELLE_DIR)).absoluteFilePath(QStringLiteral("libPortelle.so")));
    ASSERT_TRUE(fake.load());
    auto calls = reinterpret_cast<int (*)(const char*)>(fake.resolve("FakePortelleCalls"));
    auto lastFlag = reinterpret_cast<bool (*)()>(fake.resolve("FakePortelleLastFlag"));
    ASSERT_TRUE(calls && lastFlag);
    testenv::dialogs().clear();
    link.failWithStatus = 4;
    engine->ExecuteCommand("ReadFull", "");
    EXPECT_EQ(testenv::dialogs().texts().size(), 1);
    EXPECT_EQ(calls("CommDisconnect"), 0);
    EXPECT_EQ(calls("SetUserCancel"), 1);
    EXPECT_TRUE(lastFlag());
    Communications::ReleaseInstance();
}

TEST_F(ReadCommandTest, ReadSinglePointAndUnknownIds)
{
    auto* cmd = engine->Find<ReadSinglePointCommand>("ReadSinglePoint");
    ASSERT_NE(cmd, nullptr);
    cmd->SetPointId(12345);
    engine->ExecuteCommand("ReadSinglePoint", "");
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(frame.calls,
              (std::vector<std::string>{"StatusLineSpecialPanel:Reading...", "localPBarMax=1",
                                        "StatusLineSpecialPanel:One Point Read", "StatusLineSpecialPanel:"}));
    cmd->SetPointId(12);
    engine->ExecuteCommand("ReadSinglePoint", "");
    EXPECT_EQ(link.sent.size(), 1u);
}

TEST_F(ReadCommandTest, PollingSwitchesAndSkipsABusyQueue)
{
    auto* poll = engine->Find<PeriodicPollCommand>("PeriodicPoll");
    auto* stop = engine->Find<StopPollCommand>("StopPoll");
    ASSERT_TRUE(poll && stop);
    engine->ExecuteCommand("PeriodicPoll", "");
    EXPECT_FALSE(poll->Timer().isActive());  // polling starts disabled

    stop->SetEnable(true);
    engine->ExecuteCommand("StopPoll", "");
    engine->ExecuteCommand("PeriodicPoll", "");
    EXPECT_TRUE(poll->Timer().isActive());
    EXPECT_EQ(poll->Timer().interval(), 2000);

    db->expressScan.Clear();
    db->expressScan.AddPoint(12);
    link.sent.clear();
    poll->OnTimer();
    EXPECT_EQ(link.sent.size(), 1u);  // the poll read ran inside the tick

    // A tick that finds a command waiting queues nothing and keeps the timer.
    auto* full = engine->FindCommand("ReadFull");
    link.sent.clear();
    engine->AddCommand(full, "");  // runs now; during it the queue is empty
    const auto afterFull = link.sent.size();
    frame.calls.clear();

    stop->SetEnable(false);
    engine->ExecuteCommand("StopPoll", "");
    poll->OnTimer();
    EXPECT_FALSE(poll->Timer().isActive());
    EXPECT_EQ(link.sent.size(), afterFull);

    StopPolling = true;
    stop->SetEnable(true);
    engine->ExecuteCommand("StopPoll", "");
    engine->ExecuteCommand("PeriodicPoll", "");
    EXPECT_FALSE(poll->Timer().isActive());
}
