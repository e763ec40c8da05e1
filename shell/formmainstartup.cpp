// The main window's start-up stages, the broadcasts to the pages, closing and teardown.
#include "formmain.h"

#include "activeobjectengine.h"
#include "analogoutputcollection.h"
#include "commandregistry.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "librarybinder.h"
#include "logdbmgr.h"
#include "pageframetable.h"
#include "pollcommands.h"
#include "securitychk.h"
#include "shareddialogs.h"
#include "shellwindows.h"
#include "startup.h"
#include "statemgr.h"
#include "winmsg.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <iterator>
#include <vector>

namespace {

QString& moduleDirectory()
{
    static QString dir;
    return dir;
}

QString moduleDir()
{
    return moduleDirectory().isEmpty() ? LibraryBinder::programDir() : moduleDirectory();
}

// Panekit stays loaded for the life of the process, whatever becomes of the window that bound it.
LibraryBinder& panekit()
{
    static auto* binder = new LibraryBinder;
    return *binder;
}

}  // namespace

void TFormMain::SetModuleDirectory(const QString& dir)
{
    moduleDirectory() = dir;
}

void TFormMain::FormCreate()
{
    startupTicks_ = 0;
    StopPolling = false;
    CreateStatusLineControls();
    SplashStep("Loading Sentrel515 Desktop...Load Modules");
    if (!LoadGuiRoutines()) {
        // Nothing below exists: the window stays, with every operation on the unit switched off.
        EnableUnitOperations(false);
        return;
    }
    CreateSingletons();
    RegisterToDatabase();
    RegisterCommands();
    helpInfo_ = HelpInfo::Instance();
    helpInfo_->SetHelpFile(kHelpFile);
    AnalogOutputCollection::Instance()->Build();
    servicesReady_ = true;
    ConnectUpgradeConfigFiles();
    startupTimer_->start();
}

bool TFormMain::LoadGuiRoutines()
{
    LibraryBinder& binder = panekit();
    const std::vector<const char*> entries(std::begin(kPanekitBoundEntries), std::end(kPanekitBoundEntries));
    if (!binder.load(moduleDir(), "libPanekit.so", entries)) {
        binder.reportLoadFailure();
        return false;
    }
    initialize_ = binder.entry<PanekitInitializeFn>("_Initialize");
    DoMyBroadcast = binder.entry<PanekitDoMyBroadcastFn>("DoMyBroadcast");
    LocalStatusBarMsg = binder.entry<PanekitLocalStatusBarMsgFn>("LocalStatusBarMsg");
    TimestampTokenToDate = binder.entry<PanekitTimestampTokenToDateFn>("TimestampTokenToDate");
    DateToTimestampToken = binder.entry<PanekitDateToTimestampTokenFn>("DateToTimestampToken");
    initialize_();
    panekitLoaded_ = true;
    return true;
}

void TFormMain::CreateSingletons()
{
    SplashStep("Loading Sentrel515 Desktop...Initialize COMM. It may take a few seconds.");
    if (!moduleDirectory().isEmpty())
        Communications::InstallInstance(std::make_unique<Communications>(moduleDirectory()));
    communications_ = Communications::Instance();
    SplashStep("Loading Sentrel515 Desktop...Create RTDB");
    // The database and the log database were made with the pages, which hold them already.
    database_ = &pageServices_->database;
    driver_ = database_;
    facade_ = CommDBPointFacade::Instance();
    logDb_ = &pageServices_->logDatabase;
}

int TFormMain::Broadcast(int message, std::intptr_t lParam, bool skipRoot)
{
    WinMessageEvent record(message, 0, lParam);
    DoMyBroadcast(this, &record, skipRoot, true);
    return static_cast<int>(record.result);
}

void TFormMain::RegisterToDatabase()
{
    const auto glue = reinterpret_cast<std::intptr_t>(static_cast<IDatabaseGlue*>(database_));
    try {
        if (Broadcast(winmsg::WM_REGISTER_DATABASE, glue, true) != 0)
            DialogService::ask(QMessageBox::Critical, "Error", "Error registering to database", QMessageBox::Ok);
    } catch (const std::exception& e) {
        DialogService::ask(QMessageBox::Critical, "Error",
                           QStringLiteral("Error registering to database\n") + QString::fromLocal8Bit(e.what()),
                           QMessageBox::Ok);
    }
    registered_ = true;
    if (frmSplash)
        frmSplash->ProgressBar1()->setValue(frmSplash->ProgressBar1()->maximum());
}

void TFormMain::UnregisterFromDatabase()
{
    if (!registered_ || !DoMyBroadcast)
        return;
    registered_ = false;
    const auto glue = reinterpret_cast<std::intptr_t>(static_cast<IDatabaseGlue*>(database_));
    try {
        if (Broadcast(winmsg::WM_UNREGISTER_DATABASE, glue, true) != 0)
            DialogService::ask(QMessageBox::Critical, "Error", "Error registering to database", QMessageBox::Ok);
    } catch (const std::exception& e) {
        DialogService::ask(QMessageBox::Critical, "Error",
                           QStringLiteral("Error registering to database\n") + QString::fromLocal8Bit(e.what()),
                           QMessageBox::Ok);
    }
}

int TFormMain::SendToDatabase()
{
    if (!DoMyBroadcast)
        return 0;
    const auto self = reinterpret_cast<std::intptr_t>(this);
    const QScopedValueRollback<bool> sending(sendingToDatabase_, true);
    for (int message :
         {winmsg::WM_BEFORE_SEND_TO_DATABASE, winmsg::WM_SEND_TO_DATABASE, winmsg::WM_AFTER_SEND_TO_DATABASE})
        if (const int answer = Broadcast(message, self, false))
            return answer;
    return 0;
}

void TFormMain::RegisterCommands()
{
    engine_ = &pageServices_->engine;
    ::RegisterCommands(engine_, this);
}

void TFormMain::Timer1Timer()
{
    startupTicks_ += 10;
    if (startupTicks_ <= 100)
        return;
    // A firmware upgrade that a restart interrupted is shown again, once.
    bool pending = false;
    QWidget* upgrade = shellwindows::Existing("fmUpgrade");
    if (CallSlot(upgrade, "IsStagePending", &pending) && pending) {
        MenuItem("UpgradeWindow")->setChecked(true);
        if (QWidget* back = shellwindows::Existing("Back"))
            back->show();
        upgrade->show();
    }
    startupTimer_->stop();
}

void TFormMain::StopPoll()
{
    if (!engine_)
        return;
    if (auto* stop = engine_->Find<StopPollCommand>("StopPoll")) {
        stop->SetEnable(false);
        engine_->ExecuteCommand("StopPoll", "");
    }
}

void TFormMain::AllowPoll()
{
    if (!engine_)
        return;
    if (auto* stop = engine_->Find<StopPollCommand>("StopPoll")) {
        stop->SetEnable(true);
        engine_->ExecuteCommand("StopPoll", "");
    }
    engine_->ExecuteCommand("PeriodicPoll", "");
}

bool TFormMain::EngineBusy() const
{
    return engine_ && (engine_->IsRunning() || engine_->GetQueueCount() > 0);
}

void TFormMain::Queue(const char* command)
{
    Queue(command, "");
}

void TFormMain::Queue(const char* command, const std::string& parameter)
{
    if (engine_)
        engine_->ExecuteCommand(command, parameter);
}

bool TFormMain::CommandSucceeded(const char* command) const
{
    const Command* run = engine_ ? engine_->FindCommand(command) : nullptr;
    return run && run->Succeeded();
}

void TFormMain::SetStreamDisplay(const QString& text)
{
    if (streamDisp_)
        streamDisp_->setText(text);
}

// --- closing ---------------------------------------------------------------------------------

namespace {
bool confirmLeavingUnit()
{
    return DialogService::ask(QMessageBox::Question, "Confirm",
                              QStringLiteral("Logging on status.") + "\n\nContinue logging off and exit?",
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
}  // namespace

void TFormMain::tbtnExitClick()
{
    if (IsAnalysisActive())
        StopPoll();
    if (!RestartRequested && Button("tbtnLogoff")->isEnabled() && !confirmLeavingUnit())
        return;
    // The close below must not ask a second time.
    SetEnabled("tbtnLogoff", false);
    StopPolling = true;
    if (communications_)
        communications_->SetUserCancel(true);
    close();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TFormMain::FormCloseQuery()
{
    if (IsAnalysisActive())
        StopPoll();
    if (Button("tbtnLogoff")->isEnabled() && !confirmLeavingUnit())
        return false;
    // A command still waiting for the unit gives up at once, and nothing queued behind it runs:
    // the window and the objects it uses are about to go.
    if (communications_)
        communications_->SetUserCancel(true);
    if (engine_)
        engine_->SetStopRequested(true);
    UnregisterFromDatabase();
    return true;
}

void TFormMain::RestartGui()
{
    if (QWidget* wait = shellwindows::Existing("Wait"))
        wait->close();
    if (QWidget* back = shellwindows::Existing("Back"))
        back->close();
    RestartRequested = true;
    close();
}

void TFormMain::FormDestroy()
{
    if (torndown_)
        return;
    torndown_ = true;
    clockTimer_->stop();
    startupTimer_->stop();
    if (engine_ && engine_->IsRunning()) {
        // Destroyed from below a command that is still on the stack: it must come back to live
        // objects, so nothing is released; the process ends soon after.
        engine_->SetStopRequested(true);
        if (communications_)
            communications_->SetUserCancel(true);
        return;
    }
    // The pages let go of their points before the points go.
    UnregisterFromDatabase();
    for (QWidget*& frame : frames_) {
        delete frame;
        frame = nullptr;
    }
    PageFrameTable::ReleaseInstance();
    // The pages' services were made with the window (MakePageServices), whether or not the
    // start-up stages ran: they go with it.
    pageServices_.reset();
    MyActiveObjectEngine::Teardown();
    engine_ = nullptr;
    HelpInfo::ReleaseInstance();
    AnalogOutputCollection::ReleaseInstance();
    DataBase::ReleaseInstance();
    if (communications_)
        Communications::ReleaseInstance();
    if (facade_)
        CommDBPointFacade::ReleaseInstance();
    StateMgr::ReleaseInstance();
    LogDBMgr::ReleaseInstance();
    if (security_)
        SecurityChk::ReleaseInstance();
    database_ = nullptr;
    driver_ = nullptr;
    communications_ = nullptr;
    facade_ = nullptr;
    logDb_ = nullptr;
    security_ = nullptr;
    servicesReady_ = false;
}
