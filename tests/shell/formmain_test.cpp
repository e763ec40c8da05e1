// The main window without a unit: its start-up, its parts, FrameComm, the link's messages, the
// access modes, page entry and the closing roads. Commands that would talk to a unit are
// replaced by stand-ins that record that they ran.
#include "formmainfixture.h"

#include "analysispage.h"
#include "boardtester.h"
#include "commportspage.h"
#include "database.h"
#include "discreteinputpage.h"
#include "factorypage.h"
#include "outputpage.h"
#include "pollcommands.h"
#include "securitychk.h"
#include "shareddialogs.h"
#include "startup.h"
#include "statuspanels.h"
#include "waitwindow.h"
#include "winmsg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <any>

namespace {

class FormMainTest : public FormMainFixture {};

const char* const kCaptions[] = {"Analysis", "Status ",       "Alarms ",     "Archive ",     "Events ",    "Global ",
                                 "Streams ", "Inputs-DRY ",   "Inputs-WET ", "Outputs ",     "Sequencer ", "Ports",
                                 "Modbus ",  "Analog Input ", "Timers ",     "Maintenance ", "Factory "};

void sendMessage(QWidget* to, int message, int wParam, int lParam = 0)
{
    WinMessageEvent event(message, wParam, lParam);
    QApplication::sendEvent(to, &event);
}

}  // namespace

TEST(Startup, SplashStepsWindowsAndTextsComeInTheirOrder)
{
    testenv::dialogs().clear();
    QStringList trace;
    startup::SetSplashTrace(&trace);
    TFormMain* form = startup::CreateProgram();
    startup::SetSplashTrace(nullptr);

    const QString p = "Loading Sentrel515 Desktop...";
    const QStringList expected = {p + "Analysis",
                                  p + "Status",
                                  p + "Alarms",
                                  p + "Archive",
                                  p + "Global",
                                  p + "Streams",
                                  p + "Inputs-DRY",
                                  "Loading Sentrel Desktop...Inputs-WET",
                                  p + "Outputs",
                                  p + "Communication Ports",
                                  p + "Modbus",
                                  p + "Factory",
                                  p + "Analog Inputs",
                                  p + "Service",
                                  p + "Sequencer",
                                  QString(),
                                  p + "Audit",
                                  p + "Load Modules",
                                  p + "Initialize COMM. It may take a few seconds.",
                                  p + "Create RTDB"};
    EXPECT_EQ(trace, expected);
    EXPECT_EQ(frmSplash, nullptr);
    EXPECT_TRUE(testenv::dialogs().texts().isEmpty()) << testenv::dialogs().texts().join("|").toStdString();

    const std::vector<std::string> order(shellwindows::StartupOrder().begin(), shellwindows::StartupOrder().end());
    EXPECT_EQ(order,
              (std::vector<std::string>{"SetUpdPwdDlg", "AboutForm", "frmDateRangeDlg", "frmScaleDlg", "frmLogon",
                                        "LogFrm", "AuditForm", "fmUpgrade", "Back", "fmCSVConfig", "NewModbusDlg",
                                        "UpdModeDlg", "Wait", "NeoForm", "frmChanges", "QCForm"}));
    for (const char* name : {"SetUpdPwdDlg", "AboutForm", "frmDateRangeDlg", "frmScaleDlg", "frmLogon", "LogFrm",
                             "fmCSVConfig", "UpdModeDlg", "Wait", "NeoForm"}) {
        QWidget* window = shellwindows::Existing(name);
        ASSERT_NE(window, nullptr) << name;
        EXPECT_FALSE(window->isVisible()) << name;
    }
    EXPECT_TRUE(form->ServicesReady());
    EXPECT_TRUE(form->Timer1()->isActive());
    startup::DestroyProgram(form);
}

TEST(Startup, TheProgramEndsWithTheCodeOfItsMessageLoop)
{
    testenv::dialogs().clear();
    // Once the main window is up, the loop is ended with a code, as a script or a failure would.
    QTimer ender;
    ender.setInterval(20);
    QObject::connect(&ender, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TFormMain*>(w) && w->isVisible())
                QCoreApplication::exit(3);
    });
    ender.start();
    EXPECT_EQ(startup::Run(*qobject_cast<QApplication*>(QCoreApplication::instance())), 3);
    ender.stop();
}

TEST_F(FormMainTest, TheClockAndTheSplashLineFitTheirPanels)
{
    const QList<QWidget*> panels = statuspanels::panels(form->statusBar());
    auto* clock = qobject_cast<QLabel*>(panels.value(3));
    ASSERT_NE(clock, nullptr);
    for (int month = 1; month <= 12; ++month) {
        const QString text = TFormMain::ClockText(QDateTime(QDate(2026, month, 28), QTime(12, 58, 58)));
        EXPECT_LE(clock->fontMetrics().horizontalAdvance(text), clock->contentsRect().width()) << text.toStdString();
    }
    // The line, its margins and spacing included, still fits the window's default width: the
    // last panel lies inside the window.
    EXPECT_LE(form->statusBar()->minimumSizeHint().width(), 1020);
    form->show();
    form->statusBar()->layout()->activate();
    EXPECT_LE(panels.last()->mapTo(form.get(), QPoint(panels.last()->width(), 0)).x(), form->width());
    EXPECT_EQ(form->width(), 1020);

    TfrmSplash splash;
    splash.Step("Loading Sentrel515 Desktop...Initialize COMM. It may take a few seconds.");
    splash.show();
    splash.layout()->activate();
    QLabel* label = splash.Label1();
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_LE(label->geometry().bottom(), splash.rect().bottom());
}

TEST_F(FormMainTest, TheWindowStartsOffLineWithEveryTabAndItsButtonsAndMenus)
{
    EXPECT_EQ(form->windowTitle(), "Sentrel515 Analyzer Graphical User Interface  ( Quenrick )");
    QTabWidget* pages = form->PageControlMain();
    ASSERT_EQ(pages->count(), 17);
    const int levels[] = {0, 0, 0, 1, 1, 1, 1, 1, 0, 1, 0, 1, 1, 0, 0, 2, 3};
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(pages->tabText(i), kCaptions[i]);
        EXPECT_EQ(pages->widget(i)->property("Tag").toInt(), levels[i]) << i;
        EXPECT_TRUE(pages->isTabVisible(i));
        EXPECT_EQ(pages->widget(i)->findChild<QWidget*>(), form->Frame(i)) << "the frame sits on its own tab";
    }
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(form->Frame(0)->objectName(), "fraWW");
    EXPECT_EQ(form->Frame(15)->objectName(), "fraBoardTester");
    EXPECT_EQ(form->Frame(16)->objectName(), "fraFactory");
    EXPECT_EQ(form->ModeDisp()->text(), "OFF LINE");

    const std::pair<const char*, bool> buttons[] = {
        {"tbtnLogon", true},    {"tbtnLogoff", false},      {"tbtnComm", true},    {"tbtnWrite", false},
        {"WriteConfig", false}, {"tbtnPoll", false},        {"tbtnSync", false},   {"tbtnAcknowledge", false},
        {"tbtnBypass", false},  {"tbtnTapeAdvance", false}, {"tbtnUpgrade", true}, {"tbtnOpen", true},
        {"tbtnSave", false},    {"tbtnSaveAs", false},      {"tbtnExit", true}};
    for (const auto& [name, on] : buttons)
        EXPECT_EQ(form->Button(name)->isEnabled(), on) << name;
    EXPECT_EQ(form->Button("tbtnLogon")->toolTip(), "Logon");
    EXPECT_EQ(form->Button("tbtnLogon")->statusTip(), "Connect to Unit");
    EXPECT_EQ(form->Button("WriteConfig")->statusTip(), "Permanent Configuration Write  to Analyzer");
    EXPECT_TRUE(form->Button("tbtnBypass")->isCheckable());

    QAction* mode = form->MenuItem("mnuUpdateMode");
    EXPECT_TRUE(mode->isChecked());
    EXPECT_FALSE(mode->isEnabled());
    EXPECT_TRUE(form->MenuItem("mnuChangePassword")->isEnabled());
    EXPECT_FALSE(form->MenuItem("mnuReboot")->isEnabled());
    for (const char* view : {"CommunicateBar", "OperationBar", "GeneralBar"})
        EXPECT_TRUE(form->MenuItem(view)->isChecked()) << view;
    EXPECT_FALSE(form->MenuItem("UpgradeWindow")->isChecked());
    for (const char* hidden :
         {"New1", "Open1", "Save1", "SaveAs1", "SaveAll1", "Print1", "PrintSetup1", "Contents1", "Index1", "Tutorial1"})
        EXPECT_FALSE(form->MenuItem(hidden)->isVisible()) << hidden;
    EXPECT_FALSE(form->findChild<QMenu*>("Edit1")->menuAction()->isVisible());
    EXPECT_TRUE(form->StatusBarTimer()->isActive());
    EXPECT_TRUE(QRegularExpression(R"(^\w+ \d{1,2}, \d{4} \d{1,2}:\d\d:\d\d (am|pm)$)")
                    .match(form->StatusPanelText(3))
                    .hasMatch())
        << form->StatusPanelText(3).toStdString();
}

TEST_F(FormMainTest, FrameCommKeysReportToTheWindow)
{
    EXPECT_TRUE(form->GetBool("LoggingOn"));
    form->SetState("tbtnLogon", false);
    EXPECT_FALSE(form->GetBool("LoggingOn"));
    EXPECT_FALSE(form->Button("tbtnLogon")->isEnabled());
    form->SetState("TbtnLogoff", true);
    EXPECT_FALSE(form->Button("tbtnLogoff")->isEnabled()) << "keys compare with their case";
    form->SetState("tbtnLogoff", true);
    EXPECT_TRUE(form->Button("tbtnLogoff")->isEnabled());

    // Back off line: the look of a window that is not logged on.
    form->ModeDisp()->setText("UPDATE");
    form->StreamDisp()->setText("Streams: 2");
    form->MenuItem("mnuUpdateMode")->setEnabled(true);
    form->MenuItem("mnuReboot")->setEnabled(true);
    form->Button("tbtnComm")->setEnabled(false);
    form->Button("tbtnUpgrade")->setEnabled(false);
    TWait::Instance()->show();
    form->SetState("tbtnLogon", true);
    EXPECT_TRUE(form->GetBool("LoggingOn"));
    EXPECT_EQ(form->ModeDisp()->text(), "OFF LINE");
    EXPECT_EQ(form->StreamDisp()->text(), " ");
    EXPECT_FALSE(form->MenuItem("mnuUpdateMode")->isEnabled());
    EXPECT_FALSE(form->MenuItem("mnuUpdateMode")->isChecked());
    EXPECT_FALSE(form->MenuItem("mnuReboot")->isEnabled());
    EXPECT_TRUE(form->Button("tbtnComm")->isEnabled());
    EXPECT_TRUE(form->Button("tbtnUpgrade")->isEnabled());
    EXPECT_FALSE(TWait::Instance()->isVisible());
    EXPECT_TRUE(form->StepWaitProgress());

    form->SetState("DisablePages", true);
    EXPECT_FALSE(form->PageControlMain()->isEnabled());
    form->SetState("EnablePages", false);
    EXPECT_TRUE(form->PageControlMain()->isEnabled());
    form->SetState("tbtnExit", false);
    EXPECT_FALSE(form->Button("tbtnExit")->isEnabled());
    EXPECT_FALSE(form->MenuItem("Exit1")->isEnabled());

    form->SetState("SetDatabaseConfigFileTypeID", false);
    // The database keeps the type id in its fixed 25-character field.
    EXPECT_EQ(DataBase::Instance()->GetDatabaseConfigFileTypeID(), "Sentrel515 DataBase Confi");

    EXPECT_EQ(form->GetInt("NoSuchKey", nullptr), -1);
    EXPECT_FALSE(form->GetBool("NoSuchKey"));
    EXPECT_EQ(form->GetDouble("NoSuchKey", 5), 0.0);
    EXPECT_EQ(form->GetInt("SendToDatabase", nullptr), 0);
    form->Button("tbtnBypass")->setEnabled(true);
    form->Button("tbtnBypass")->click();
    EXPECT_TRUE(form->GetBool("tbtnBypass"));

    // The two clock conversions go through Panekit and come back to the same second.
    const double date = 45000.5;  // 2023-03-15 12:00:00
    const int token = form->GetInt("DateToTimestampToken", const_cast<double*>(&date));
    EXPECT_NE(token, -1);
    EXPECT_DOUBLE_EQ(form->GetDouble("TimestampTokenToDate", token), date);
}

TEST_F(FormMainTest, TheStatusLineFollowsTheCommandsAndTheLink)
{
    form->SetText("StatusLineSpecialPanel", "Reading All...");
    EXPECT_EQ(form->StatusPanelText(1), "Reading All...");
    EXPECT_EQ(form->SpecialPanel()->backgroundRole(), QPalette::Base);

    // The new maximum takes effect with the next progress message; past it the bar starts again.
    form->SetInt("localPBarMax", 3);
    EXPECT_EQ(form->StatusProgressMaximum(), 100);
    for (int step = 1; step <= 3; ++step) {
        sendMessage(form.get(), winmsg::WM_COMMPROGRESS, 1, 1);
        EXPECT_EQ(form->StatusProgressPosition(), step);
    }
    EXPECT_EQ(form->StatusProgressMaximum(), 3);
    sendMessage(form.get(), winmsg::WM_COMMPROGRESS, 1, 1);
    EXPECT_EQ(form->StatusProgressPosition(), 0);
    sendMessage(form.get(), winmsg::WM_COMMPROGRESS, 1, 1);
    sendMessage(form.get(), winmsg::WM_COMMPROGRESS, 0, 1);
    EXPECT_EQ(form->StatusProgressPosition(), 0) << "a link reset";

    // A non-empty text leaves the bar alone; the empty text resets it.
    sendMessage(form.get(), winmsg::WM_COMMPROGRESS, 1, 1);
    form->SetText("StatusLineSpecialPanel", "Still reading");
    EXPECT_EQ(form->StatusProgressPosition(), 1);
    form->SetText("StatusLineSpecialPanel", "");
    EXPECT_EQ(form->StatusProgressPosition(), 0);
    EXPECT_EQ(form->SpecialPanel()->backgroundRole(), QPalette::Button);

    form->SetInt("localPBarMax", 0);
    sendMessage(form.get(), winmsg::WM_COMMPROGRESS, 1, 1);
    EXPECT_EQ(form->StatusProgressPosition(), 0) << "no maximum, no step";

    // Once a logon has begun, every progress message also steps the Wait window's bar.
    QProgressBar* waitBar = TWait::Instance()->Progress();
    waitBar->setRange(0, 2);
    waitBar->setValue(0);
    form->SetState("tbtnLogon", true);
    for (int expected : {1, 2, 0}) {
        sendMessage(form.get(), winmsg::WM_COMMPROGRESS, 7, 1);
        EXPECT_EQ(waitBar->value(), expected);
    }
}

TEST_F(FormMainTest, ABurstOfLinkMessagesIsPaintedOnATimerNotPerMessage)
{
    // Every block of a download sends a state pair and a progress step; the Wait window shows.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    form->SetState("tbtnLogon", true);  // from the first logon on, progress steps the Wait bar
    TWait* wait = TWait::Instance();
    wait->ShowAnimated();
    QApplication::processEvents();
    wait->installEventFilter(&counter);
    QLabel* rx = form->findChild<QLabel*>("imlRx");
    const qint64 iconBefore = rx->pixmap().cacheKey();

    const int before = wait->Progress()->value();
    QElapsedTimer burst;
    burst.start();
    for (int block = 0; block < 200; ++block) {
        sendMessage(form.get(), winmsg::WM_COMMSTATE, 2);
        sendMessage(form.get(), winmsg::WM_COMMSTATE, 3);
        sendMessage(form.get(), winmsg::WM_COMMPROGRESS, 1, 1);
        QApplication::processEvents();
    }
    const int paintsInBurst = counter.paints;
    EXPECT_NE(wait->Progress()->value(), before);  // the bar's value follows every step
    EXPECT_EQ(form->RxState(), 2);
    if (burst.elapsed() < TFormMain::kTrafficPaintMs)
        EXPECT_EQ(paintsInBurst, 0);
    EXPECT_LE(paintsInBurst, burst.elapsed() / TFormMain::kTrafficPaintMs + 1);

    QTest::qWait(3 * TFormMain::kTrafficPaintMs);
    EXPECT_GT(counter.paints, paintsInBurst) << "the Wait window is painted once the burst is over";
    EXPECT_NE(rx->pixmap().cacheKey(), iconBefore) << "the icon shows the last state";
    wait->removeEventFilter(&counter);
    wait->hide();
}

TEST_F(FormMainTest, LinkStatesSetTheTrafficIconsAndTexts)
{
    struct Case {
        int wParam;
        int rx, tx;
        QString panel0;
    };
    const Case cases[] = {
        {1, 1, 1, ""},
        {2, 1, 2, ""},
        {3, 2, 1, ""},
        {4, 3, 3, ""},
        {5, 4, 4, "Temporarily paused for discontinuous communication..."},
        {2, 1, 2, "Temporarily paused for discontinuous communication..."},
        {9, 0, 0, "Temporarily paused for discontinuous communication..."},
        {1, 1, 1, ""},
        {0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        sendMessage(form.get(), winmsg::WM_COMMSTATE, c.wParam);
        EXPECT_EQ(form->RxState(), c.rx) << c.wParam;
        EXPECT_EQ(form->TxState(), c.tx) << c.wParam;
        EXPECT_EQ(form->StatusPanelText(0), c.panel0) << c.wParam;
    }
    // The paused text is written only when the state changes to it.
    sendMessage(form.get(), winmsg::WM_COMMSTATE, 5);
    QStatusTipEvent hint("a hint");
    QApplication::sendEvent(form.get(), &hint);
    EXPECT_EQ(form->StatusPanelText(0), "a hint") << "hints go to panel 0";
    sendMessage(form.get(), winmsg::WM_COMMSTATE, 5);
    EXPECT_EQ(form->StatusPanelText(0), "a hint");
}

TEST_F(FormMainTest, LogonAsksForTheModeAndShowsTheTabsOfIt)
{
    struct Case {
        const char* name;
        std::deque<ScriptedModals::Answer> answers;
        const char* mode;
        int tabs;
        QStringList messages;
    };
    const QString invalid = "Invalid password!\n Read Only Mode";
    std::vector<Case> cases;
    cases.push_back({"read only", {ScriptedModals::press("btnReadOnly")}, "READ ONLY", 15, {}});
    cases.push_back({"update, master password",
                     {ScriptedModals::press("btnUpdate"), ScriptedModals::password("qe$3916")},
                     "UPDATE",
                     17,
                     {}});
    cases.push_back({"update, prompt cancelled",
                     {ScriptedModals::press("btnUpdate"), ScriptedModals::press("CancelBtn")},
                     "READ ONLY",
                     15,
                     {}});
    cases.push_back({"update, empty password",
                     {ScriptedModals::press("btnUpdate"), ScriptedModals::password("")},
                     "READ ONLY",
                     15,
                     {}});
    cases.push_back({"update, wrong password",
                     {ScriptedModals::press("btnUpdate"), ScriptedModals::password("QE$3916")},
                     "READ ONLY",
                     15,
                     {invalid}});
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        testenv::dialogs().clear();
        standIn("Logon", [this] { reportLoggedOn(); });
        modals.answers = std::move(c.answers);
        modals.captions.clear();
        form->tbtnLogonClick();
        EXPECT_EQ(form->ModeDisp()->text(), c.mode);
        EXPECT_EQ(visibleTabs(), c.tabs);
        EXPECT_EQ(shownTexts(), c.messages);
        const bool update = QString(c.mode) == "UPDATE";
        EXPECT_EQ(form->MenuItem("mnuReboot")->isEnabled(), update);
        EXPECT_EQ(form->MenuItem("mnuUpdateMode")->isChecked(), update);
        EXPECT_TRUE(form->MenuItem("mnuUpdateMode")->isEnabled());
        EXPECT_EQ(SecurityChk::Instance()->IsReadOnly(), !update);
        EXPECT_EQ(enabled("tbtnAcknowledge"), update);
        EXPECT_FALSE(enabled("tbtnUpgrade"));
        EXPECT_FALSE(enabled("tbtnComm"));
        EXPECT_EQ(modals.captions.value(0), "Select Mode...");
        // Logged on in front of the analysis page: its poll runs.
        EXPECT_TRUE(engine()->IsPollingEnabled());
        auto* poll = engine()->Find<PeriodicPollCommand>("PeriodicPoll");
        EXPECT_TRUE(poll->Timer().isActive());
        EXPECT_FALSE(TWait::Instance()->isVisible());

        standIn("Logoff", [this] {
            form->SetState("tbtnLogon", true);
            form->SetState("tbtnLogoff", false);
            form->SetState("SetLogOff", true);
        });
        form->tbtnLogoffClick();
        EXPECT_EQ(form->ModeDisp()->text(), "OFF LINE");
        EXPECT_FALSE(form->MenuItem("mnuReboot")->isEnabled()) << "no reboot while off line";
        EXPECT_FALSE(engine()->IsPollingEnabled());
    }
}

TEST_F(FormMainTest, AFailedLogonGivesBackTheButtonsAndAsksNothing)
{
    standIn("Logon", [this] { form->SetState("tbtnLogon", true); });
    form->tbtnLogonClick();
    EXPECT_EQ(ran, std::vector<std::string>{"Logon"});
    EXPECT_TRUE(enabled("tbtnLogon"));
    EXPECT_TRUE(enabled("tbtnUpgrade"));
    EXPECT_TRUE(enabled("tbtnComm"));
    EXPECT_TRUE(modals.captions.isEmpty());
    EXPECT_EQ(form->ModeDisp()->text(), "OFF LINE");
    EXPECT_EQ(visibleTabs(), 17);
}

TEST_F(FormMainTest, LogonIsRefusedWhileACommandRuns)
{
    standIn("Logon");
    standIn("ReadFull", [this] { form->tbtnLogonClick(); });
    engine()->ExecuteCommand("ReadFull", "");
    EXPECT_EQ(ran, std::vector<std::string>{"ReadFull"});
    EXPECT_EQ(shownTexts(), QStringList{"Please wait for current task to finish, then proceed."});
    EXPECT_TRUE(enabled("tbtnLogon"));
}

TEST_F(FormMainTest, TheModeMenuSwitchesModesAndSaysWhyUpdateIsRefused)
{
    standIn("Logon", [this] { reportLoggedOn(); });
    modals.answers = {ScriptedModals::press("btnReadOnly")};
    form->tbtnLogonClick();
    ASSERT_EQ(form->ModeDisp()->text(), "READ ONLY");

    struct Case {
        const char* name;
        ScriptedModals::Answer answer;
        bool mapMatches;
        const char* mode;
        bool checked;
        QStringList messages;
    };
    const Case cases[] = {
        {"empty password leaves the mode", ScriptedModals::password(""), true, "READ ONLY", false, {}},
        {"wrong password is reported",
         ScriptedModals::password("nope"),
         true,
         "READ ONLY",
         false,
         {"Invalid password!\n Read Only Mode"}},
        {"map version differs",
         ScriptedModals::password("qe$3916"),
         false,
         "READ ONLY",
         false,
         {"The unit's database version does not match this program: changes cannot be written.\n Read Only Mode"}},
        {"master password", ScriptedModals::password("qe$3916"), true, "UPDATE", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testenv::dialogs().clear();
        StateMgr::Instance()->SetUpdateAllowed(c.mapMatches ? 1 : 0);
        modals.answers = {c.answer};
        modals.captions.clear();
        form->mnuUpdateModeClick();
        EXPECT_EQ(modals.captions, QStringList{"Update Mode Logon"});
        EXPECT_EQ(form->ModeDisp()->text(), c.mode);
        EXPECT_EQ(form->MenuItem("mnuUpdateMode")->isChecked(), c.checked);
        EXPECT_EQ(visibleTabs(), c.checked ? 17 : 15);
        EXPECT_EQ(shownTexts(), c.messages);
    }
    // Clearing the mark goes back to read-only without a question.
    modals.captions.clear();
    form->mnuUpdateModeClick();
    EXPECT_TRUE(modals.captions.isEmpty());
    EXPECT_EQ(form->ModeDisp()->text(), "READ ONLY");
    EXPECT_EQ(visibleTabs(), 15);
    StateMgr::Instance()->SetUpdateAllowed(1);
}

TEST_F(FormMainTest, ThePasswordChangeChecksItsFieldsAndStoresTheDigest)
{
    const QString file = SecurityChk::Instance()->DataFilePath("Passw.dat");
    QFile::remove(file);
    auto fill = [](const QString& old, const QString& new1, const QString& new2) {
        return [=](QDialog& d) {
            auto& dialog = static_cast<TSetUpdPwdDlg&>(d);
            dialog.edOldPwd()->setText(old);
            dialog.edNewPwd1()->setText(new1);
            dialog.edNewPwd2()->setText(new2);
            dialog.OKBtn()->click();
            // A dialog that stayed open is then cancelled, as a user would.
            if (d.result() != QDialog::Accepted)
                d.reject();
        };
    };

    modals.answers = {fill("", "abc", "abd")};
    form->mnuChangePasswordClick();
    EXPECT_EQ(shownTexts(), (QStringList{"New password doesn't match", "Please complete all fields"}));
    EXPECT_FALSE(QFile::exists(file));

    testenv::dialogs().clear();
    modals.answers = {fill("7315", "abc", "abc")};
    form->mnuChangePasswordClick();
    EXPECT_EQ(shownTexts(), QStringList{"Old password is invalid. Please try again."});
    EXPECT_FALSE(QFile::exists(file));

    testenv::dialogs().clear();
    const QString accented = QString::fromLatin1("n3w\xe9");
    modals.answers = {fill("qe$3916", accented, accented)};
    form->mnuChangePasswordClick();
    EXPECT_TRUE(shownTexts().isEmpty());
    QFile stored(file);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), QCryptographicHash::hash(QByteArray("n3w\xe9"), QCryptographicHash::Md5));
    EXPECT_TRUE(SecurityChk::Instance()->CheckPassword("n3w\xe9"));
    QFile::remove(file);
}

TEST_F(FormMainTest, EnteringPagesStopsOrStartsThePollAndQueuesTheirReads)
{
    standIn({"ExpressRead", "ReadLogConfig", "WriteSinglePoint"});
    auto* poll = engine()->Find<PeriodicPollCommand>("PeriodicPoll");
    QTabWidget* pages = form->PageControlMain();

    // Logged off: nothing is read, the poll stays off, the cautions and the factory code still come.
    modals.answers = {ScriptedModals::press("CancelBtn")};
    for (int i : {1, 3, 5, 13, 15, 16, 0})
        pages->setCurrentIndex(i);
    EXPECT_EQ(ran, std::vector<std::string>{"WriteSinglePoint"}) << "leaving maintenance writes (to no effect)";
    EXPECT_FALSE(poll->Timer().isActive());
    EXPECT_EQ(modals.captions, QStringList{"Factory Mode Logon"});
    EXPECT_TRUE(
        shownTexts().contains("Changing parameters in Maintenance Page may affect operation of the unit.\n"
                              "It is recommended that any change in this page be done by authorised personal only."));
    EXPECT_FALSE(enabled("tbtnOpen")) << "the analog-input page turns the file buttons off";

    reportLoggedOn();
    struct Case {
        int page;
        std::vector<std::string> reads;
        bool polling;
        int scanPage;
    };
    const Case cases[] = {
        {1, {"ExpressRead"}, true, 15},   {5, {"ExpressRead"}, false, 2},
        {3, {"ReadLogConfig"}, false, 1}, {4, {}, false, 1},
        {2, {"ExpressRead"}, true, 11},   {14, {"ExpressRead"}, false, 16},
        {13, {"ExpressRead"}, true, 14},  {0, {}, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        ran.clear();
        pages->setCurrentIndex(c.page);
        EXPECT_EQ(ran, c.reads);
        EXPECT_EQ(engine()->IsPollingEnabled(), c.polling);
        if (c.polling)
            EXPECT_TRUE(poll->Timer().isActive());
        EXPECT_EQ(DataBase::Instance()->expressScan.GetPage(), c.scanPage);
    }
}

TEST_F(FormMainTest, TheFactoryPageAsksForItsCodeAtEveryEntry)
{
    standIn("ExpressRead");
    reportLoggedOn();
    auto* factory = static_cast<TfraFactory*>(form->Frame(TfraFactory::kDecl.tab));
    QLabel* notice = factory->findChild<QLabel*>("Qcomment");
    auto* control = new QLabel("calibration", factory);

    struct Case {
        ScriptedModals::Answer answer;
        bool shown;
        std::vector<std::string> reads;
    };
    const Case cases[] = {
        {ScriptedModals::password("WIRP"), false, {"ExpressRead"}},
        {ScriptedModals::press("CancelBtn"), false, {}},
        {ScriptedModals::password("wirp"), true, {"ExpressRead"}},
    };
    for (const Case& c : cases) {
        form->PageControlMain()->setCurrentIndex(TfraWW::kDecl.tab);
        ran.clear();
        modals.captions.clear();
        modals.answers = {c.answer};
        form->PageControlMain()->setCurrentIndex(TfraFactory::kDecl.tab);
        EXPECT_EQ(modals.captions, QStringList{"Factory Mode Logon"});
        EXPECT_EQ(!control->isHidden(), c.shown);
        EXPECT_EQ(!notice->isHidden(), !c.shown);
        EXPECT_EQ(ran, c.reads);
    }
}

TEST_F(FormMainTest, LeavingTheMaintenancePageSwitchesDirectControlOff)
{
    std::vector<std::pair<std::uint16_t, std::string>> written;
    // The stand-in keeps what the window hands it.
    struct Keeper : Command {
        std::vector<std::pair<std::uint16_t, std::string>>* out;
        std::pair<std::uint16_t, std::string> fields;
        void Execute() override { out->push_back(fields); }
        void LoadFields(const std::any& f) override
        {
            fields = std::any_cast<std::pair<std::uint16_t, std::string>>(f);
        }
        std::any SaveFields() const override { return fields; }
    };
    auto keeper = std::make_unique<Keeper>();
    keeper->out = &written;
    engine()->RegisterCommand("WriteSinglePoint", std::move(keeper));
    auto* box = new QCheckBox(form->Frame(TfraBoardTester::kDecl.tab));
    box->setObjectName("DirectControlEnable");
    box->setChecked(true);

    form->PageControlMain()->setCurrentIndex(TfraBoardTester::kDecl.tab);
    form->PageControlMain()->setCurrentIndex(5);
    EXPECT_FALSE(box->isChecked());
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].first, 332);
    EXPECT_EQ(written[0].second, "False");

    // An id beyond 16 bits would write a different point once cut: nothing is written.
    form->WriteSinglePoint(65536 + 12, "1.5");
    form->WriteSinglePoint(-1, "1.5");
    EXPECT_EQ(written.size(), 1u);
    form->WriteSinglePoint(65535, "1.5");
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[1].first, 65535);
}

// What the flash write's run ended with decides, not the words on the status line: here they
// say the opposite.
TEST_F(FormMainTest, ThePermanentWriteOffersTheRebootOnlyAfterTheFlashHasTheSettings)
{
    bool flashFinishes = false;
    standIn({"WriteMain", "ExpressRead", "Reboot", "Logoff"});
    standIn("WriteConfig", [&] {
        succeeds("WriteConfig", flashFinishes);
        form->SetText("StatusLineSpecialPanel", flashFinishes ? "Write Flash fail!" : "Write Flash Finished.");
        form->SetText("StatusLineSpecialPanel", "");
    });
    reportLoggedOn();
    const QString reboot =
        "Changing the port setting requires the analyzer to be rebooted.\n"
        "After pressing OK button, analyzer will automatically reboot, and GUI will restart.\n"
        "After reboot, you can LOG ON again.";

    form->PageControlMain()->setCurrentIndex(5);
    ran.clear();
    flashFinishes = true;
    form->SetDefaultConfigClick();
    EXPECT_EQ(ran, (std::vector<std::string>{"WriteMain", "WriteConfig", "ExpressRead"}));
    EXPECT_FALSE(shownTexts().contains(reboot)) << "only the ports page reboots";

    form->PageControlMain()->setCurrentIndex(TfraCommPorts::kDecl.tab);
    ran.clear();
    flashFinishes = false;
    form->SetDefaultConfigClick();
    EXPECT_EQ(ran, (std::vector<std::string>{"WriteMain", "WriteConfig", "ExpressRead"}));
    EXPECT_FALSE(shownTexts().contains(reboot)) << "no reboot after a failed flash write";

    ran.clear();
    flashFinishes = true;
    testenv::dialogs().answerButton(QMessageBox::Cancel);
    form->SetDefaultConfigClick();
    EXPECT_TRUE(shownTexts().contains(reboot));
    EXPECT_EQ(ran, (std::vector<std::string>{"WriteMain", "WriteConfig", "ExpressRead"}));
    EXPECT_FALSE(RestartRequested);

    form->show();
    ran.clear();
    testenv::dialogs().answerButton(QMessageBox::Ok);
    form->SetDefaultConfigClick();
    EXPECT_EQ(ran, (std::vector<std::string>{"WriteMain", "WriteConfig", "ExpressRead", "Reboot", "Logoff"}));
    EXPECT_TRUE(RestartRequested);
    EXPECT_FALSE(form->isVisible()) << "the window closed for the restart, without asking";
    RestartRequested = false;
}

TEST_F(FormMainTest, RebootFromTheMenuWarnsQueuesTheRebootAndLogsOff)
{
    standIn({"Reboot", "Logoff"});
    reportLoggedOn();
    form->MenuItem("mnuReboot")->setEnabled(true);
    form->mnuRebootClick();
    EXPECT_EQ(shownTexts(), QStringList{"The analyzer will reboot. The GUI will LOG OFF.\n"
                                        "When analyzer is ready, please LOG ON again."});
    EXPECT_EQ(ran, (std::vector<std::string>{"Reboot", "Logoff"}));
    EXPECT_FALSE(form->MenuItem("mnuReboot")->isEnabled());
    EXPECT_FALSE(engine()->IsPollingEnabled());
}

TEST_F(FormMainTest, ClosingWhileLoggedOnAsksOnce)
{
    const QString question = "Logging on status.\n\nContinue logging off and exit?";
    reportLoggedOn();
    form->show();

    // No: the program stays, logged on, with the analysis poll stopped.
    engine()->SetPollingEnabled(true);
    testenv::dialogs().answerButton(QMessageBox::No);
    form->tbtnExitClick();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->GetBool("LoggingOn"));
    EXPECT_FALSE(engine()->IsPollingEnabled());
    EXPECT_EQ(shownTexts(), QStringList{question});

    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::No);
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(shownTexts(), QStringList{question});

    testenv::dialogs().clear();
    testenv::dialogs().answerButton(QMessageBox::Yes);
    form->tbtnExitClick();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(shownTexts(), QStringList{question}) << "asked once";
    EXPECT_TRUE(StopPolling);
    StopPolling = false;
}

TEST_F(FormMainTest, ClosingWhileLoggedOffAsksNothingAndStopsTheEngine)
{
    standIn("ExpressRead");
    form->show();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(shownTexts().isEmpty());
    engine()->ExecuteCommand("ExpressRead", "");
    EXPECT_TRUE(ran.empty()) << "nothing runs once the window has closed";
}

TEST_F(FormMainTest, ToolBarsFollowTheirViewItems)
{
    auto* bar = form->findChild<QToolBar*>("AdvToolBarOp");
    form->show();
    bar->hide();  // closed on its own
    EXPECT_FALSE(form->MenuItem("OperationBar")->isChecked());
    form->MenuItem("OperationBar")->trigger();
    EXPECT_TRUE(form->MenuItem("OperationBar")->isChecked());
    EXPECT_TRUE(bar->isVisible());
    form->OperationBarClick();
    EXPECT_FALSE(form->MenuItem("OperationBar")->isChecked());
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(FormMainTest, ASuspendWhileLoggedOnIsReportedOnce)
{
    form->OnPowerBroadcast(4);
    EXPECT_TRUE(shownTexts().isEmpty());
    reportLoggedOn();
    form->OnPowerBroadcast(7);
    form->OnPowerBroadcast(4);
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Attention");
}

TEST(MissingGuiRoutines, TheWindowStaysWithoutAnyUnitOperation)
{
    testenv::dialogs().clear();
    QTemporaryDir empty;
    TFormMain::SetModuleDirectory(empty.path());
    {
        TFormMain form;
        form.FormCreate();
        const QStringList texts = testenv::dialogs().texts();
        ASSERT_EQ(texts.size(), 2);
        EXPECT_EQ(texts[1], "Unable to load libPanekit.so.");
        EXPECT_FALSE(form.ModulesLoaded());
        EXPECT_FALSE(form.ServicesReady());
        for (const char* name : {"tbtnLogon", "tbtnComm", "tbtnUpgrade", "tbtnOpen"})
            EXPECT_FALSE(form.Button(name)->isEnabled()) << name;
        EXPECT_TRUE(form.Button("tbtnExit")->isEnabled());
        // Nothing that was never made is touched.
        for (int page = 0; page < 17; ++page)
            form.PageControlMain()->setCurrentIndex(page);
        form.tbtnLogonClick();
        form.tbtnCommClick();
        form.SetDefaultConfigClick();
        form.TabSheetFCHide();
        EXPECT_FALSE(form.Timer1()->isActive());
        EXPECT_EQ(testenv::dialogs().texts().size(), 2);
    }
    TFormMain::SetModuleDirectory({});
    shellwindows::DestroyAll();
    testenv::dialogs().clear();
}

namespace {
// The upgrade status window as the upgrade flow will bring it: it says whether a stage was saved.
class StandInUpgradeWindow : public QWidget {
    Q_OBJECT
public:
    bool pending = false;
public slots:
    bool IsStagePending() { return pending; }
};
}  // namespace

TEST_F(FormMainTest, TheUpgradeWindowComesBackAtStartOnlyWhenAStageWasSaved)
{
    for (bool pending : {false, true}) {
        SCOPED_TRACE(pending);
        form.reset();
        shellwindows::DestroyAll();
        shellwindows::SetFactory("fmUpgrade", [pending] {
            auto* window = new StandInUpgradeWindow;
            window->pending = pending;
            return window;
        });
        shellwindows::SetFactory("Back", [] { return new QWidget; });
        shellwindows::CreateStartupWindows();
        form = std::make_unique<TFormMain>();
        form->FormCreate();
        ASSERT_EQ(form->Timer1()->interval(), 100);
        QWidget* upgrade = shellwindows::Existing("fmUpgrade");
        for (int tick = 0; tick < 10; ++tick)
            form->Timer1Timer();
        EXPECT_FALSE(upgrade->isVisible()) << "not before about 1.1 s";
        EXPECT_TRUE(form->Timer1()->isActive());
        form->Timer1Timer();
        EXPECT_EQ(upgrade->isVisible(), pending);
        EXPECT_EQ(shellwindows::Existing("Back")->isVisible(), pending);
        EXPECT_EQ(form->MenuItem("UpgradeWindow")->isChecked(), pending);
        EXPECT_FALSE(form->Timer1()->isActive()) << "the start-up timer runs once";
    }
    shellwindows::SetFactory("fmUpgrade", {});
    shellwindows::SetFactory("Back", {});
}

TEST_F(FormMainTest, TheClockPointIsWrittenOnlyAfterTheClockDialogIsConfirmed)
{
    struct TokenKeeper : Command {
        std::vector<std::uint32_t>* out = nullptr;
        std::uint32_t token = 0;
        void Execute() override { out->push_back(token); }
        void LoadFields(const std::any& f) override { token = std::any_cast<std::uint32_t>(f); }
        std::any SaveFields() const override { return token; }
    };
    std::vector<std::uint32_t> tokens;
    auto keeper = std::make_unique<TokenKeeper>();
    keeper->out = &tokens;
    engine()->RegisterCommand("SyncClock", std::move(keeper));
    shellwindows::SetFactory("TimeSyncDlg", [] {
        auto* dialog = new QDialog;
        dialog->setProperty("TimestampToken", 0x5F00ABCDu);
        return dialog;
    });
    reportLoggedOn();
    DataBase* db = DataBase::Instance();
    db->MarkAllStale();
    ASSERT_NE(db->GetPointById(388), nullptr);

    modals.answers = {[](QDialog& d) { d.reject(); }};
    form->tbtnSyncClick();
    EXPECT_FALSE(db->GetPointById(388)->IsFresh());
    EXPECT_TRUE(tokens.empty());

    modals.answers = {[](QDialog& d) { d.accept(); }};
    form->tbtnSyncClick();
    EXPECT_TRUE(db->GetPointById(388)->IsFresh());
    EXPECT_EQ(tokens, std::vector<std::uint32_t>{0x5F00ABCDu});
    shellwindows::SetFactory("TimeSyncDlg", {});
}

TEST_F(FormMainTest, CancellingTheListOfChangesSkipsTheFlashWrite)
{
    standIn({"WriteMain", "WriteConfig", "ExpressRead"});
    shellwindows::SetFactory("frmChanges", [] { return new QDialog; });
    reportLoggedOn();
    DataBase::Instance()->GetChangeList().Add(12);

    modals.answers = {[](QDialog& d) { d.reject(); }};
    form->SetDefaultConfigClick();
    EXPECT_EQ(ran, (std::vector<std::string>{"WriteMain", "ExpressRead"}));
    EXPECT_EQ(shownTexts(), QStringList{"Operation cancelled. Data was written to the SRAM, but no data has been "
                                        "written to the Flash."});

    ran.clear();
    modals.answers = {[](QDialog& d) { d.accept(); }};
    form->SetDefaultConfigClick();
    EXPECT_EQ(ran, (std::vector<std::string>{"WriteMain", "WriteConfig", "ExpressRead"}));
    DataBase::Instance()->GetChangeList().Clear();
    shellwindows::SetFactory("frmChanges", {});
}

#include "formmain_test.moc"

TEST_F(FormMainTest, TheChartsScaleIsAskedWithTheStartUpDialogWhichKeepsItsTexts)
{
    auto type = [](const QString& minimum, const QString& maximum, bool ok) {
        return [=](QDialog& d) {
            auto& dialog = static_cast<TfrmScaleDlg&>(d);
            dialog.ledMinY()->setText(minimum);
            dialog.ledMaxY()->setText(maximum);
            ok ? dialog.accept() : dialog.reject();
        };
    };
    modals.answers = {type("1.5", "7", true), type("2", "3", false)};
    EXPECT_EQ(form->AskScale(), std::make_optional(std::make_pair(QString("1.5"), QString("7"))));
    EXPECT_EQ(form->AskScale(), std::nullopt);
    EXPECT_EQ(modals.captions, (QStringList{"Set Scale for Y-axis", "Set Scale for Y-axis"}));
    auto* dialog = shellwindows::Get<TfrmScaleDlg>("frmScaleDlg");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->ledMinY()->text(), "2");
    EXPECT_FALSE(dialog->isVisible());
}
