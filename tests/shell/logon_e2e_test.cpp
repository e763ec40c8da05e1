// The program's main window logging on to the emulated unit through the real libraries, over
// loopback TCP: the version check, the read of every point, polling, page reads and logoff.
#include "pagefixture.h"

#include "analysispage.h"
#include "communications.h"
#include "database.h"
#include "logoncommands.h"
#include "pollcommands.h"
#include "readcommands.h"
#include "unitemulator.h"
#include "unitmodel.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int kMultiRead = 0x32;
constexpr int kReadTimers = 0x40;
constexpr int kReadMemoryInfo = 0x2A;
constexpr int kAnalysisPoint = 12;  // a float the analysis page shows here

class LogonWithUnit : public PageWithUnit {
protected:
    // A new window whose link waits backoffTicks for each answer: Portelle reads its settings
    // when the window starts it.
    void restartWithBackoff(const char* backoffTicks)
    {
        form.reset();
        shellwindows::DestroyAll();
        testenv::pointLinkAtLoopback(emulator->tcpPort(), backoffTicks);
        form = std::make_unique<TFormMain>();
        form->FormCreate();
    }

    void logOnInUpdateMode()
    {
        modals.answers = {ScriptedModals::press("btnUpdate"), ScriptedModals::password("qe$3916")};
        form->tbtnLogonClick();
    }
};

}  // namespace

TEST_F(LogonWithUnit, ALogonReadsTheUnitPollsTheAnalysisPageAndReadsEachPageEntered)
{
    // The analysis page shows one point (the real page binds its controls the same way).
    auto* shown = new QLabel(form->Frame(TfraWW::kDecl.tab));
    shown->setProperty("DbId", kAnalysisPoint);
    ASSERT_TRUE(unit->setValue(kAnalysisPoint, 3.25));
    unit->setArchive(QByteArray(4096, '\0'));

    logOnInUpdateMode();
    ASSERT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join(" | ").toStdString();
    EXPECT_EQ(form->ModeDisp()->text(), "UPDATE");
    EXPECT_EQ(visibleTabs(), 17);
    EXPECT_TRUE(form->Button("tbtnLogoff")->isEnabled());
    EXPECT_FALSE(form->Button("tbtnComm")->isEnabled());
    EXPECT_TRUE(StateMgr::Instance()->IsLoggedOn());
    DataBase* db = DataBase::Instance();
    EXPECT_FALSE(db->IsOffline());
    EXPECT_EQ(db->GetPointText(kAnalysisPoint), "3.25");
    EXPECT_EQ(db->archiveMemoryLength, 4096u);
    EXPECT_GT(unit->receivedCount(kMultiRead), 10) << "every point, twenty to a message";
    EXPECT_EQ(unit->receivedCount(kReadMemoryInfo), 1);
    EXPECT_EQ(form->LocalPBarMax(), db->CountReadAllMessages() + 124);

    // The analysis page polls its points.
    auto* poll = engine()->Find<PeriodicPollCommand>("PeriodicPoll");
    ASSERT_TRUE(poll->Timer().isActive());
    poll->Timer().setInterval(50);
    unit->clearReceived();
    ASSERT_TRUE(unit->setValue(kAnalysisPoint, 7.5));
    EXPECT_TRUE(waitFor([&] { return db->GetPointText(kAnalysisPoint) == "7.5"; }, 15000));
    EXPECT_GE(unit->receivedCount(kMultiRead), 1);

    // Another page stops the poll and reads its own points once: the timers page its block.
    form->PageControlMain()->setCurrentIndex(14);
    EXPECT_FALSE(engine()->IsPollingEnabled());
    EXPECT_TRUE(waitFor([&] { return !poll->Timer().isActive(); }, 5000));
    EXPECT_EQ(unit->receivedCount(kReadTimers), 1);
    unit->clearReceived();
    QTest::qWait(200);
    EXPECT_EQ(unit->receivedCount(kMultiRead), 0) << "no poll once the page has changed";

    // Logoff: the points are stale, the window off line, the link closed.
    form->tbtnLogoffClick();
    EXPECT_TRUE(form->GetBool("LoggingOn"));
    EXPECT_EQ(form->ModeDisp()->text(), "OFF LINE");
    EXPECT_FALSE(form->MenuItem("mnuReboot")->isEnabled());
    EXPECT_FALSE(form->Button("tbtnLogoff")->isEnabled());
    EXPECT_TRUE(form->Button("tbtnComm")->isEnabled());
    EXPECT_TRUE(db->IsOffline());
    EXPECT_FALSE(db->GetPointById(kAnalysisPoint)->IsFresh());
    EXPECT_FALSE(StateMgr::Instance()->IsLoggedOn());
}

TEST_F(LogonWithUnit, AnotherMapVersionKeepsTheUnitReadOnlyAndSaysWhy)
{
    ASSERT_TRUE(unit->setValue(500, 12345678));
    logOnInUpdateMode();
    ASSERT_FALSE(form->GetBool("LoggingOn"));
    const QStringList texts = shownTexts();
    ASSERT_EQ(texts.size(), 2) << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts[0].startsWith("Unknow version of database was found!"));
    EXPECT_EQ(texts[1],
              "The unit's database version does not match this program: changes cannot be written.\n Read Only Mode");
    EXPECT_EQ(form->ModeDisp()->text(), "READ ONLY");
    EXPECT_EQ(visibleTabs(), 15);
    EXPECT_FALSE(form->MenuItem("mnuReboot")->isEnabled());
}

TEST_F(LogonWithUnit, ASilentUnitFailsTheLogonAndGivesTheButtonsBack)
{
    emulator->silence(1000);
    form->tbtnLogonClick();
    EXPECT_EQ(shownTexts(), QStringList{"Communication error!"});
    EXPECT_TRUE(form->GetBool("LoggingOn"));
    EXPECT_TRUE(form->Button("tbtnUpgrade")->isEnabled());
    EXPECT_TRUE(form->Button("tbtnComm")->isEnabled());
    EXPECT_FALSE(form->Button("tbtnLogoff")->isEnabled());
    EXPECT_TRUE(modals.captions.isEmpty()) << "no mode is asked for";
    EXPECT_TRUE(StopPolling);
    EXPECT_EQ(form->ModeDisp()->text(), "OFF LINE");

    // The next logon starts afresh.
    emulator->clearFaults();
    modals.answers = {ScriptedModals::press("btnReadOnly")};
    testenv::dialogs().clear();
    form->tbtnLogonClick();
    EXPECT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
    EXPECT_FALSE(StopPolling);
    EXPECT_EQ(form->ModeDisp()->text(), "READ ONLY");
}

TEST_F(LogonWithUnit, AnUnexpectedAnswerAboutTheMemoriesStillLogsOn)
{
    unit->setArchive(QByteArray(512, '\0'));
    UnitModel::MessageFault fault;
    fault.requestType = kReadMemoryInfo;
    fault.kind = UnitModel::MessageFault::Kind::AnswerType;
    unit->addFault(fault);
    modals.answers = {ScriptedModals::press("btnReadOnly")};
    form->tbtnLogonClick();
    EXPECT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
    EXPECT_TRUE(shownTexts().isEmpty());
    EXPECT_EQ(DataBase::Instance()->archiveMemoryLength, 0u);
}

TEST_F(LogonWithUnit, TheWindowStaysResponsiveWhileTheUnitSettles)
{
    LogonCommand::SetSettleDelay(LogonCommand::kSettleMs);
    // Each tick notes how many messages the unit has received; the settle pause lies between the
    // last message of the read and the memory question.
    std::vector<std::pair<std::size_t, int>> ticks;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { ticks.emplace_back(unit->received().size(), unit->receivedCount(kReadMemoryInfo)); });
    timer.start();
    modals.answers = {ScriptedModals::press("btnReadOnly")};
    form->tbtnLogonClick();
    timer.stop();
    ASSERT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
    const std::vector<QByteArray> received = unit->received();
    const auto memoryQuestion = std::find_if(
        received.begin(), received.end(), [](const QByteArray& m) { return m.size() > 1 && m[1] == kReadMemoryInfo; });
    ASSERT_NE(memoryQuestion, received.end());
    const std::size_t beforeQuestion = static_cast<std::size_t>(memoryQuestion - received.begin());
    const auto duringPause = std::count_if(ticks.begin(), ticks.end(),
                                           [&](const auto& t) { return t.first == beforeQuestion && t.second == 0; });
    // About fifty ticks fit into the pause; a sleep would let at most the one already due run.
    EXPECT_GE(duringPause, 10);
}

TEST_F(LogonWithUnit, ALinkThatDoesNotOpenCancelsTheLogon)
{
    emulator->stop();
    form->tbtnLogonClick();
    EXPECT_TRUE(shownTexts().contains("Logon cancelled.")) << shownTexts().join(" | ").toStdString();
    EXPECT_TRUE(form->GetBool("LoggingOn"));
    EXPECT_TRUE(form->Button("tbtnComm")->isEnabled());
    EXPECT_TRUE(modals.captions.isEmpty());
}

TEST_F(LogonWithUnit, ClosingTheWindowEndsALogonThatWaitsForTheUnit)
{
    // Each request would wait 5.5 s twice; closing cancels the wait at once.
    restartWithBackoff("100");
    emulator->silence(1000);
    form->show();
    // Closed once the logon waits for the unit's answer, however long it took to get there.
    const int framesBefore = emulator->frameCount();
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, form.get(), [&] {
        if (emulator->frameCount() > framesBefore) {
            closer.stop();
            form->close();
        }
    });
    closer.start(20);
    QElapsedTimer clock;
    clock.start();
    form->tbtnLogonClick();
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->GetBool("LoggingOn"));
    EXPECT_EQ(shownTexts(), QStringList{"Communication error!"});
}

TEST_F(LogonWithUnit, ALogonLeavingTheQueueAsTheWindowClosesKeepsTheCancel)
{
    // The close came after the engine took the logon off its queue but before the logon ran.
    restartWithBackoff("100");
    emulator->silence(1000);
    Communications::Instance()->SetUserCancel(true);
    engine()->SetStopRequested(true);
    QElapsedTimer clock;
    clock.start();
    engine()->Find<LogonCommand>("Logon")->Execute();
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_TRUE(form->GetBool("LoggingOn"));
    EXPECT_EQ(shownTexts().size(), 1);
}
