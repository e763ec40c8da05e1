#pragma once

#include "advpagecontrol.h"
#include "framecomm.h"
#include "pagecatalog.h"
#include "pagehost.h"
#include "pageservices.h"
#include "panekit_api.h"

#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

class QAction;
class QDateTime;
class QFontMetrics;
class QLabel;
class QProgressBar;
class QTimer;
class QToolBar;
class QToolButton;
class Communications;
class CommDBPointFacade;
class DataBase;
class IDatabaseDriver;
class LogDBMgr;
class MyActiveObjectEngine;
class SecurityChk;
class HelpInfo;

// The program's one main window: the page control with its page frames (made from the page
// catalogue, each handed its services), the tool bars, the menus, the status line with the link's
// traffic, and the timers. Its buttons and menu items queue commands by name; the commands report
// back through its FrameComm side.
//
// Its code is split by concern: formmain.cpp (the window and its frames), formmainstartup.cpp
// (start-up stages, broadcasts, closing and teardown), formmaincomm.cpp (FrameComm, link state,
// progress, clock), formmainlogon.cpp (logon, logoff, access modes), formmainpages.cpp (page
// entry and polling, the single-point write), formmainmenus.cpp (tool bar and menu handlers) and
// formmainfiles.cpp (configuration files) and formmainupgrade.cpp (the firmware upgrade).
class TFormMain : public QMainWindow, public FrameComm, public PageHost {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Sentrel515 Analyzer Graphical User Interface  ( Quenrick )";
    static constexpr const char* kHelpFile = "C:\\515\\Help\\KVT408HLP.HLP";
    static constexpr const char* kFactoryCode = "wirp";
    static constexpr int kTabCount = kPageCount;
    static constexpr const char* kBusyText = "Please wait for current task to finish, then proceed.";

    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // --- start-up and closing ---
    // The creation stages: status line controls, Panekit, the singletons, the registration
    // broadcast, the commands, the start-up timer.
    void FormCreate();
    bool LoadGuiRoutines();
    void CreateSingletons();
    void CreateStatusLineControls();
    void RegisterToDatabase();
    void UnregisterFromDatabase();
    // 0 when no page refused to store its edits, else the refusing page's answer.
    int SendToDatabase();

    // Whether the window handles the FrameComm key for the operation.
    static bool HandlesKey(framecomm::Operation operation, const std::string& key);

    // The FrameComm handlers, one table per operation (formmaincomm.cpp).
    struct CommHandlers;

    void RegisterCommands();
    void Timer1Timer();
    void RestartGui();
    // True once Panekit is bound and the singletons exist; without them the window offers no
    // operation on the unit.
    bool ServicesReady() const { return servicesReady_; }
    bool ModulesLoaded() const { return panekitLoaded_; }
    // Where the libraries are loaded from: the program's folder unless a test says otherwise.
    static void SetModuleDirectory(const QString& dir);

    // --- FrameComm ---
    void SetState(std::string key, bool value) override;
    void SetInt(std::string key, int value) override;
    void SetText(std::string key, std::string value) override;
    bool GetBool(std::string key) override;
    int GetInt(std::string key, void* argument) override;
    double GetDouble(std::string key, int argument) override;

    // --- link state, progress, clock, power ---
    void OnCommState(int wParam);
    void OnCommProgress(int wParam, int lParam);
    void OnPowerBroadcast(int wParam);
    void StatusBarTimerTimer();
    // The clock panel's text for a moment, and the width that holds the longest such text.
    static QString ClockText(const QDateTime& moment);
    static int ClockPanelWidth(const QFontMetrics& metrics);
    int RxState() const { return rxState_; }
    int TxState() const { return txState_; }
    int LocalPBarMax() const { return localPBarMax_; }
    bool StepWaitProgress() const { return stepWaitProgress_; }
    // The status progress bar as the window keeps it (the widget only shows it).
    int StatusProgressPosition() const { return statusPosition_; }
    int StatusProgressMaximum() const { return statusMaximum_; }
    // The traffic icons, the status progress bar and the Wait window's repaint follow the link
    // messages on a short timer, so that a download of thousands of blocks is not painted per
    // block; the states above change at once.
    static constexpr int kTrafficPaintMs = 40;
    void PaintTraffic();

    // --- logon and access modes ---
    void tbtnLogonClick();
    void tbtnLogoffClick();
    void mnuUpdateModeClick();
    void mnuChangePasswordClick();
    void ApplyTabAccess();

    // --- page entry ---
    // The entry handler of the tab at the index (what its sheet's show event runs).
    void EnterPage(int pageIndex);
    void TabSheetFCHide();
    // Sends one edited value to the unit at once (queued behind a running command).
    void WriteSinglePoint(int pointId, const std::string& value) override;
    void ReadSinglePoint(int pointId) override;

    // --- tool bars and menus ---
    void tbtnExitClick();
    void tbtnCommClick();
    void tbtnWriteClick();
    void SetDefaultConfigClick();
    void tbtnPollClick();
    void tbtnSyncClick();
    void tbtnAcknowledgeClick();
    void tbtnBypassClick();
    void tbtnTapeAdvanceClick();
    void mnuRebootClick();
    void Print1Click();
    void PrintSetup1Click();
    void About1Click();
    void WiringBookClick();
    void ManualClick();
    void Tutorial1Click();
    void UpgradeWindowClick();
    void CommunicateBarClick();
    void OperationBarClick();
    void GeneralBarClick();
    void AdvToolBarCommClose();
    void AdvToolBarOpClose();
    void AdvToolBarGenClose();
    void WriteConfigClick();
    void btnAuditClick();
    void tbtnCalibrateClick();
    void tbtnReferenceClick();
    void tbtnZeroRefClick();
    void tbtnPrintClick() {}
    void ShowHints1Click() {}
    void TimerClockTimer() {}

    // --- configuration files and the firmware upgrade ---
    void tbtnUpgradeClick();
    // The service page's three upgrade steps (formmainupgrade.cpp).
    bool RunUpgradeStep(UpgradeStep step) override;
    // True when the read-back is the image without its last byte, which the unit never receives.
    static bool CompareImageFiles(const QString& imageFile, const QString& readBackFile);
    void tbtnOpenClick();
    void tbtnSaveClick();
    void tbtnSaveAsClick();
    // Prepares the save dialog (its file name emptied first) and runs it; true when a file was
    // chosen, which is then the window's current configuration file.
    bool ExecuteSaveDialog();
    // Writes the whole configuration of DataBase to the file (atomically) with the Wait window
    // shown; false with the reason in error when it could not be written.
    bool SaveConfigurationFile(const QString& fileName, QString* error = nullptr);
    // Reads the file into DataBase when the whole document is sound: 0, else -1 and nothing
    // changed.
    int LoadConfigurationFile(const QString& fileName);
    // The number of "Point" entries of the last file read (the progress maximum of "WriteDirect").
    int LoadedPointCount() const { return loadedPointCount_; }
    // The current configuration file: the target of the next Save.
    QString SaveDialogFileName() const { return saveFileName_; }

    // --- the window's parts, by their names ---
    QToolButton* Button(const char* name) const;
    QAction* MenuItem(const char* name) const;
    TAdvPageControl* PageControlMain() const { return pageControl_; }
    QWidget* Frame(int pageIndex) const;
    // The page of that class, found by the tab its declaration names; null when it was not made.
    template <typename Page>
    Page* PageFrame() const
    {
        return qobject_cast<Page*>(Frame(Page::kDecl.tab));
    }
    // What the window hands its pages: made before them, let go after them.
    const PageServices& Services() const { return *pageServices_; }
    QLabel* ModeDisp() const { return modeDisp_; }
    QLabel* StreamDisp() const { return streamDisp_; }
    QString StatusPanelText(int panel) const;
    QLabel* SpecialPanel() const { return specialPanel_; }
    QProgressBar* StatusProgressBar() const { return statusBar_; }
    QTimer* StatusBarTimer() const { return clockTimer_; }
    QTimer* Timer1() const { return startupTimer_; }
    bool LoggedOn() const override;
    bool CommandRunning() const override;
    std::uint64_t SinglePointWritesAccepted() const override;
    void ShowWindow(const char* name) override;
    bool ResetPassword() override;
    void SetStreamDisplay(const QString& text) override;
    QString DataDirectory() const override;
    std::optional<std::uint32_t> ClockToken(double dateTime) const override;
    void SetStatusText(const QString& text) override;
    void SetProgressMaximum(int maximum) override;
    void ShowWait(Wait wait) override;
    bool ExecWindow(const char* name) override;
    std::optional<std::pair<QDate, QDate>> AskDateRange() override;
    std::optional<std::pair<QString, QString>> AskScale() override;
    void Queue(const char* command, const std::string& parameter) override;

    // The Panekit entries the pages and dialogs use through the main window.
    PanekitTimestampTokenToDateFn TimestampTokenToDate = nullptr;
    PanekitDateToTimestampTokenFn DateToTimestampToken = nullptr;
    PanekitLocalStatusBarMsgFn LocalStatusBarMsg = nullptr;
    PanekitDoMyBroadcastFn DoMyBroadcast = nullptr;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // formmain.cpp
    void BuildWindow();
    void BuildToolBars();
    void BuildMenus();
    void BuildPages();
    void BuildStatusLine();
    void MakePageServices();
    void CreateFrames();
    void SplashStep(const QString& text);
    void OnPageChanged(int index);
    void EnableUnitOperations(bool enable);

    // formmainmenus.cpp
    // Whether a page refused the last main write.
    bool WriteRefused() const;

    // formmainstartup.cpp
    bool FormCloseQuery();
    void FormDestroy();
    int Broadcast(int message, std::intptr_t lParam, bool skipRoot);
    void StopPoll();
    void AllowPoll();

    // formmainlogon.cpp
    void EnterReadOnlyMode();
    void EnterUpdateMode();
    bool UpdatePasswordAccepted(const QString& password, bool tellWhyNot);
    void FactoryAccess();

    // formmainfiles.cpp
    bool RefuseWhileBusy();
    // A command runs or waits in the queue.
    bool EngineBusy() const;
    bool FetchAndSave(const QString& fileName);
    // Reads the unit's whole configuration (points, blocks, log configuration) into DataBase;
    // false, after telling the user, when any read failed.
    bool FetchFromUnit();
    // Writes the configuration just loaded from a file into the unit and stores it in flash; with
    // logAndTimers also the log configuration and the timer block on their own. Stops at the first
    // write that failed and gives what was not written in why.
    bool SendLoadedConfiguration(bool logAndTimers, QString* why);
    void ConnectUpgradeConfigFiles();
    void WriteOpenedFileIntoUnit();

    // formmainupgrade.cpp
    // Writes the chosen image, reads it back and verifies it; the tool bar's flow or the page's
    // step 2, which differ in their texts and in how an aborted flow ends.
    bool WriteAndVerifyImage(bool fromPage);
    bool ReadOldConfiguration();
    bool MergeConfiguration();
    // A merge copy's absolute path in the data directory, named from the unit's texts and now.
    QString MergeCopyPath(const char* ending) const;
    void ShowUpgradeWindow();

    // formmaincomm.cpp
    void SetLinkIcons();
    void StepWaitBar();

    // Calls a no-argument slot that a page or window of another part offers, when it has it;
    // answer receives a bool result. False when the target has no such slot.
    static bool CallSlot(QObject* target, const char* name, bool* answer = nullptr);
    void Queue(const char* command);
    // Whether the named command's last run did its work; false while it has not run since it
    // was queued, and for a command the program lacks.
    bool CommandSucceeded(const char* command) const;
    // The mode display, menus and buttons of a window whose link is down.
    void ShowOffLine();
    void SetEnabled(const char* name, bool enabled);
    bool IsAnalysisActive() const;

    // The creation stages' objects (null until made, and all of them null when Panekit failed).
    DataBase* database_ = nullptr;
    IDatabaseDriver* driver_ = nullptr;
    Communications* communications_ = nullptr;
    CommDBPointFacade* facade_ = nullptr;
    LogDBMgr* logDb_ = nullptr;
    MyActiveObjectEngine* engine_ = nullptr;
    HelpInfo* helpInfo_ = nullptr;
    SecurityChk* security_ = nullptr;
    bool servicesReady_ = false;
    bool registered_ = false;
    int startupTicks_ = 0;

    bool panekitLoaded_ = false;
    bool torndown_ = false;
    PanekitInitializeFn initialize_ = nullptr;

    int rxState_ = 0;
    int txState_ = 0;
    int localPBarMax_ = 0;
    bool stepWaitProgress_ = false;
    int statusPosition_ = 0;
    int statusMaximum_ = 100;
    int loadedPointCount_ = 0;
    QString saveFileName_;
    bool firstShow_ = true;

    TAdvPageControl* pageControl_ = nullptr;
    QLabel* modeDisp_ = nullptr;
    QLabel* streamDisp_ = nullptr;
    QList<QWidget*> panels_;
    QLabel* specialPanel_ = nullptr;
    QProgressBar* statusBar_ = nullptr;
    QLabel* rxIcon_ = nullptr;
    QLabel* txIcon_ = nullptr;
    // The tool buttons by name, as made: commands ask for them while a download starts, and a
    // search of the whole window's tree by name takes about a millisecond.
    std::map<std::string, QPointer<QToolButton>, std::less<>> toolButtons_;
    QTimer* clockTimer_ = nullptr;
    QTimer* trafficPaintTimer_ = nullptr;
    bool waitRepaintDue_ = false;
    std::array<QPixmap, 5> linkIcons_;
    QTimer* startupTimer_ = nullptr;
    std::optional<PageServices> pageServices_;
    std::array<QWidget*, kTabCount> frames_{};
    int previousPage_ = -1;
    // Set while the pages store their edits for a write: a box that refuses may show its page,
    // and that page's entry read would replace the edits the refused write keeps.
    bool sendingToDatabase_ = false;
};

// The main window, set while it exists.
extern TFormMain* FormMain;
