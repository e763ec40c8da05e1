// The main window itself: its tool bars, menus, page control, status line and page frames.
#include "formmain.h"

#include "shellwindows.h"

#include "activeobjectengine.h"
#include "analogoutputcollection.h"
#include "analysispage.h"
#include "appcontext.h"
#include "boardtester.h"
#include "csvconfigdialog.h"
#include "database.h"
#include "logdbmgr.h"
#include "modalrun.h"
#include "pagecatalog.h"
#include "pageframetable.h"
#include "securitychk.h"
#include "shareddialogs.h"
#include "startup.h"
#include "statuspanels.h"
#include "upgradewindow.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>
#include <vector>

TFormMain* FormMain = nullptr;

namespace {

using Handler = void (TFormMain::*)();

// --- tool bars and their buttons, in order ---
enum Bar { Comm, Op, Gen };
struct BarRow {
    const char* name;
    const char* title;
    const char* viewItem;
};
const BarRow kBars[] = {
    {"AdvToolBarComm", "Communicate", "CommunicateBar"},
    {"AdvToolBarOp", "Operation", "OperationBar"},
    {"AdvToolBarGen", "General", "GeneralBar"},
};

struct ButtonRow {
    const char* name;
    const char* text;
    // "short|long": the tool tip, and the status-line hint (the whole text when there is no bar).
    const char* hint;
    Bar bar;
    bool enabled;
    bool toggle;
    QStyle::StandardPixmap icon;
    Handler click;
};
const ButtonRow kButtons[] = {
    {"tbtnLogon", "Logon", "Logon|Connect to Unit", Comm, true, false, QStyle::SP_DialogYesButton,
     &TFormMain::tbtnLogonClick},
    {"tbtnLogoff", "Logoff", "Logoff|Disconnect from Unit", Comm, false, false, QStyle::SP_DialogNoButton,
     &TFormMain::tbtnLogoffClick},
    {"tbtnComm", "Comm", "Communication Settings", Comm, true, false, QStyle::SP_DriveNetIcon,
     &TFormMain::tbtnCommClick},
    {"tbtnWrite", "Write", "Temporary Write To Analyzer", Op, false, false, QStyle::SP_ArrowUp,
     &TFormMain::tbtnWriteClick},
    {"WriteConfig", "Config", "Permanent Configuration Write  to Analyzer", Op, false, false, QStyle::SP_DriveHDIcon,
     &TFormMain::SetDefaultConfigClick},
    {"tbtnPoll", "Poll", "Poll Page Once", Op, false, false, QStyle::SP_BrowserReload, &TFormMain::tbtnPollClick},
    {"tbtnSync", "Sync", "Synchronize Time", Op, false, false, QStyle::SP_FileDialogDetailedView,
     &TFormMain::tbtnSyncClick},
    {"tbtnAcknowledge", "Ack", "Acknowledge All Latches", Op, false, false, QStyle::SP_DialogApplyButton,
     &TFormMain::tbtnAcknowledgeClick},
    {"tbtnBypass", "Bypass", "Bypass Alarms", Op, false, true, QStyle::SP_MessageBoxWarning,
     &TFormMain::tbtnBypassClick},
    {"tbtnTapeAdvance", "Tape", "Tape Advance", Op, false, false, QStyle::SP_MediaSeekForward,
     &TFormMain::tbtnTapeAdvanceClick},
    {"tbtnUpgrade", "Upgrade", "Upgrade Firmware", Op, true, false, QStyle::SP_ArrowDown, &TFormMain::tbtnUpgradeClick},
    {"tbtnOpen", "Open", "Open|Opens an existing file", Gen, true, false, QStyle::SP_DialogOpenButton,
     &TFormMain::tbtnOpenClick},
    {"tbtnSave", "Save", "Save|Save current configuration", Gen, false, false, QStyle::SP_DialogSaveButton,
     &TFormMain::tbtnSaveClick},
    {"tbtnSaveAs", "Save As", "Save As|Save configuration to a new file", Gen, false, false,
     QStyle::SP_DialogSaveButton, &TFormMain::tbtnSaveAsClick},
    {"tbtnExit", "Exit", "Exit|Exit", Gen, true, false, QStyle::SP_DialogCloseButton, &TFormMain::tbtnExitClick},
};

// --- menus: a null name is a separator ---
struct MenuItemRow {
    const char* name;
    const char* text;
    bool visible;
    bool enabled;
    bool checkable;
    bool checked;
    const char* shortcut;
    Handler click;
};
struct MenuRow {
    const char* name;
    const char* title;
    bool visible;
    std::vector<MenuItemRow> items;
};
const std::vector<MenuRow>& menus()
{
    static const std::vector<MenuRow> rows = {
        {"System1",
         "&System",
         true,
         {
             {"New1", "&New", false, true, false, false, nullptr, nullptr},
             {"Open1", "&Open...", false, true, false, false, nullptr, &TFormMain::tbtnOpenClick},
             {"Save1", "&Save", false, true, false, false, nullptr, &TFormMain::tbtnSaveClick},
             {"SaveAs1", "Save &As...", false, true, false, false, nullptr, &TFormMain::tbtnSaveAsClick},
             {"SaveAll1", "Sa&ve All", false, true, false, false, nullptr, nullptr},
             {"Print1", "&Print...", false, true, false, false, nullptr, &TFormMain::Print1Click},
             {"PrintSetup1", "P&rint Setup...", false, true, false, false, nullptr, &TFormMain::PrintSetup1Click},
             {"Exit1", "E&xit", true, true, false, false, nullptr, &TFormMain::tbtnExitClick},
         }},
        {"Edit1",
         "&Edit",
         false,
         {
             {"Cut1", "Cu&t", true, true, false, false, "Ctrl+X", nullptr},
             {"Copy1", "&Copy", true, true, false, false, "Ctrl+C", nullptr},
             {"Paste1", "&Paste", true, true, false, false, "Ctrl+V", nullptr},
         }},
        {"View1",
         "&View",
         true,
         {
             {"CommunicateBar", "Communicate ToolBar", true, true, true, true, nullptr,
              &TFormMain::CommunicateBarClick},
             {"OperationBar", "Operation ToolBar", true, true, true, true, nullptr, &TFormMain::OperationBarClick},
             {"GeneralBar", "General ToolBar", true, true, true, true, nullptr, &TFormMain::GeneralBarClick},
             {"UpgradeWindow", "Upgrade Window", true, true, true, false, nullptr, &TFormMain::UpgradeWindowClick},
         }},
        {"Others1",
         "Others",
         true,
         {
             {"mnuUpdateMode", "Update Mode", true, false, true, false, nullptr, &TFormMain::mnuUpdateModeClick},
             {"mnuChangePassword", "Change Password", true, true, false, false, nullptr,
              &TFormMain::mnuChangePasswordClick},
             {nullptr, "-", true, true, false, false, nullptr, nullptr},
             {"mnuReboot", "Reboot", true, false, false, false, nullptr, &TFormMain::mnuRebootClick},
         }},
        {"Help1",
         "&Help",
         true,
         {
             {"Contents1", "&Contents", false, true, false, false, nullptr, nullptr},
             {"Index1", "&Index", false, true, false, false, nullptr, nullptr},
             {"Tutorial1", "&Tutorial", false, true, false, false, nullptr, &TFormMain::Tutorial1Click},
             {"WiringBook", "Wiring Book", true, true, false, false, nullptr, &TFormMain::WiringBookClick},
             {"Manual", "Manual", true, true, false, false, nullptr, &TFormMain::ManualClick},
             {"About1", "&About...", true, true, false, false, nullptr, &TFormMain::About1Click},
         }},
    };
    return rows;
}

// --- status line panels, by index: their widths ---
constexpr int kPanelWidths[] = {516, 150, 100, 175, 21, 21, 21};

}  // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("FormMain");
    FormMain = this;
    appcontext::setMainForm(this);
    // The Archive page's CSV exports ask for their columns in the start-up window "fmCSVConfig".
    logcsv::InstallExports([] { return shellwindows::Get<TfmCSVConfig>("fmCSVConfig"); },
                           [](QDialog& dialog) { return modal::exec(dialog); });
    BuildWindow();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (frmSplash)
        frmSplash->Label1()->setText("Loading Sentrel515 Desktop...");
    MakePageServices();
    CreateFrames();

    localPBarMax_ = 0;
    stepWaitProgress_ = false;
    rxState_ = txState_ = 0;
    SetLinkIcons();

    PageFrameTable* table = PageFrameTable::Instance();
    table->SetPageControl(pageControl_);
    for (int page = 0; page < kTabCount; ++page)
        table->SetFrame(frames_[page], page);
    for (int page = 0; page < pageControl_->count(); ++page)
        table->AttachFrame(page);

    MenuItem("mnuUpdateMode")->setChecked(true);
    MenuItem("mnuUpdateMode")->setEnabled(false);
    MenuItem("mnuChangePassword")->setEnabled(true);
    clockTimer_->start();
    StatusBarTimerTimer();

    QApplication::restoreOverrideCursor();

    security_ = SecurityChk::Instance();
    security_->SetDataDirectory();
    security_->SetStartDirectory();
}

TFormMain::~TFormMain()
{
    FormDestroy();
    UpgradeConfigFiles::Instance() = {};
    if (appcontext::mainForm() == this)
        appcontext::setMainForm(nullptr);
    if (FormMain == this)
        FormMain = nullptr;
}

void TFormMain::BuildWindow()
{
    setWindowTitle(kCaption);
    resize(1020, 735);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* central = new QWidget(this);
    central->setObjectName("PanelMain");
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* separator = new QFrame(central);
    separator->setObjectName("Panel1");
    separator->setFrameShape(QFrame::HLine);
    layout->addWidget(separator);

    auto* labels = new QWidget(central);
    labels->setObjectName("DockPanel");
    auto* row = new QHBoxLayout(labels);
    row->setContentsMargins(6, 2, 6, 2);
    modeDisp_ = new QLabel("OFF LINE", labels);
    modeDisp_->setObjectName("ModeDisp");
    QFont bold = modeDisp_->font();
    bold.setBold(true);
    modeDisp_->setFont(bold);
    streamDisp_ = new QLabel(labels);
    streamDisp_->setObjectName("StreamDisp");
    streamDisp_->setFont(bold);
    row->addWidget(modeDisp_);
    row->addSpacing(24);
    row->addWidget(streamDisp_);
    row->addStretch();
    layout->addWidget(labels);

    BuildToolBars();
    BuildMenus();
    BuildPages();
    layout->addWidget(pageControl_, 1);
    layout->addWidget(pageControl_->TabRows());
    setCentralWidget(central);
    BuildStatusLine();

    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName("StatusBarTimer");
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &TFormMain::StatusBarTimerTimer);
    trafficPaintTimer_ = new QTimer(this);
    trafficPaintTimer_->setSingleShot(true);
    trafficPaintTimer_->setInterval(kTrafficPaintMs);
    connect(trafficPaintTimer_, &QTimer::timeout, this, &TFormMain::PaintTraffic);
    startupTimer_ = new QTimer(this);
    startupTimer_->setObjectName("Timer1");
    startupTimer_->setInterval(100);
    connect(startupTimer_, &QTimer::timeout, this, &TFormMain::Timer1Timer);
}

void TFormMain::BuildToolBars()
{
    QToolBar* bars[3];
    for (int i = 0; i < 3; ++i) {
        bars[i] = new QToolBar(kBars[i].title, this);
        bars[i]->setObjectName(kBars[i].name);
        bars[i]->setFloatable(true);
        bars[i]->setMovable(true);
        bars[i]->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        addToolBar(Qt::TopToolBarArea, bars[i]);
    }
    // A tool bar closed on its own (from the tool bars' context menu) clears its View mark.
    const Handler closers[] = {&TFormMain::AdvToolBarCommClose, &TFormMain::AdvToolBarOpClose,
                               &TFormMain::AdvToolBarGenClose};
    for (int i = 0; i < 3; ++i)
        connect(bars[i], &QToolBar::visibilityChanged, this, [this, bar = bars[i], close = closers[i]](bool visible) {
            if (!visible && bar->isHidden())
                (this->*close)();
        });

    for (const auto& b : kButtons) {
        auto* button = new QToolButton(bars[b.bar]);
        button->setObjectName(b.name);
        button->setText(b.text);
        button->setIcon(style()->standardIcon(b.icon));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        const QString hint = b.hint;
        button->setToolTip(hint.section('|', 0, 0));
        button->setStatusTip(hint.contains('|') ? hint.section('|', 1) : hint);
        button->setCheckable(b.toggle);
        button->setEnabled(b.enabled);
        connect(button, &QToolButton::clicked, this, [this, click = b.click] { (this->*click)(); });
        bars[b.bar]->addWidget(button);
        toolButtons_[b.name] = button;
    }
}

void TFormMain::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    for (const MenuRow& m : menus()) {
        QMenu* menu = bar->addMenu(m.title);
        menu->setObjectName(m.name);
        menu->menuAction()->setVisible(m.visible);
        for (const MenuItemRow& item : m.items) {
            if (!item.name) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(item.text);
            action->setObjectName(item.name);
            action->setParent(this);
            action->setVisible(item.visible);
            action->setEnabled(item.enabled);
            action->setCheckable(item.checkable);
            action->setChecked(item.checked);
            if (item.shortcut)
                action->setShortcut(QKeySequence(item.shortcut));
            if (!item.click)
                continue;
            // The handlers toggle their own check mark, as a direct call would, so the one that
            // Qt sets on a click is taken back first.
            connect(action, &QAction::triggered, this, [this, action, click = item.click] {
                if (action->isCheckable())
                    action->setChecked(!action->isChecked());
                (this->*click)();
            });
        }
    }
}

void TFormMain::BuildPages()
{
    // The tabs at the bottom, in as many rows as they need: all seventeen stay in view.
    pageControl_ = new TAdvPageControl(this);
    pageControl_->setObjectName("PageControlMain");
    pageControl_->setTabPosition(QTabWidget::South);
    for (int tab = 0; tab < kTabCount; ++tab) {
        const PageDecl* page = pageDeclForTab(tab);
        auto* sheet = new QWidget(pageControl_);
        sheet->setObjectName(page->sheetName);
        sheet->setProperty("Tag", page->level);
        pageControl_->addTab(sheet, page->caption);
    }
    pageControl_->setCurrentIndex(TfraWW::kDecl.tab);
    previousPage_ = TfraWW::kDecl.tab;
    connect(pageControl_, &QTabWidget::currentChanged, this, &TFormMain::OnPageChanged);
}

void TFormMain::BuildStatusLine()
{
    QStatusBar* line = statusBar();
    line->setObjectName("StatusLine");
    line->setSizeGripEnabled(false);
    for (int i = 0; i < 7; ++i) {
        QWidget* panel = nullptr;
        if (i == 0 || i == 3) {
            auto* label = new QLabel(line);
            label->setAlignment(i == 3 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Sunken);
            panel = label;
        } else if (i == 4 || i == 5) {
            auto* icon = new QLabel(line);
            (i == 4 ? rxIcon_ : txIcon_) = icon;
            icon->setObjectName(i == 4 ? "imlRx" : "imlTx");
            panel = icon;
        } else {
            panel = new QWidget(line);
            auto* holder = new QHBoxLayout(panel);
            holder->setContentsMargins(2, 1, 2, 1);
        }
        panel->setFixedWidth(kPanelWidths[i]);
        statuspanels::setPanel(panel, i);
        // The clock's longest text must fit in the panel in the font this platform gives it.
        if (i == 3)
            panel->setFixedWidth(std::max(kPanelWidths[3], ClockPanelWidth(panel->fontMetrics())));
        // The message panel takes what the others and the line's own margins leave of the
        // window's width (at most its own), so the whole line stays in the window.
        if (i == 0) {
            panel->setMinimumWidth(200);
            panel->setMaximumWidth(kPanelWidths[0]);
        }
        line->addWidget(panel, i == 0 ? 1 : 0);
        panels_.push_back(panel);
    }
}

int TFormMain::ClockPanelWidth(const QFontMetrics& metrics)
{
    // The widest month, a two-digit day and hour: "September 28, 2026 12:58:58 pm". The frame of
    // the sunken panel and a small margin on either side come on top.
    int widest = 0;
    for (int month = 1; month <= 12; ++month)
        widest = std::max(widest,
                          metrics.horizontalAdvance(ClockText(QDateTime(QDate(2026, month, 28), QTime(12, 58, 58)))));
    return widest + 2 * 2 + 8;
}

void TFormMain::CreateStatusLineControls()
{
    if (specialPanel_)
        return;
    specialPanel_ = new QLabel(panels_[1]);
    specialPanel_->setObjectName("StatusLineSpecialPanel");
    specialPanel_->setFixedSize(146, 18);
    specialPanel_->setAutoFillBackground(true);
    specialPanel_->setBackgroundRole(QPalette::Button);
    panels_[1]->layout()->addWidget(specialPanel_);

    statusBar_ = new QProgressBar(panels_[2]);
    statusBar_->setObjectName("StatusProgressBar");
    statusBar_->setFixedSize(96, 18);
    statusBar_->setRange(0, 100);
    statusBar_->setValue(0);
    statusBar_->setTextVisible(true);
    statusBar_->setStyleSheet(
        "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
        "stop:0 #00FFFF, stop:1 #FFFBF0); }");
    panels_[2]->layout()->addWidget(statusBar_);
    statusMaximum_ = 100;
    statusPosition_ = 0;
}

void TFormMain::MakePageServices()
{
    // The pages are made with the window, before the start-up stages that take these same objects
    // (CreateSingletons, RegisterCommands, the analog-output choices built in FormCreate); the
    // window lets them go after its pages (FormDestroy).
    pageServices_.emplace(PageServices{*DataBase::Instance(), *this, *LogDBMgr::Instance(),
                                       *AnalogOutputCollection::Instance(), *MyActiveObjectEngine::Instance()});
}

void TFormMain::CreateFrames()
{
    for (const PageMaker& page : pageCatalog()) {
        if (page.decl.bareStepFirst)
            SplashStep({});
        if (page.decl.splash)
            SplashStep(page.decl.splash);
        frames_[page.decl.tab] = page.create(*pageServices_, this);
    }
}

void TFormMain::SplashStep(const QString& text)
{
    if (!frmSplash)
        return;
    frmSplash->Step(text);
    if (QStringList* trace = startup::SplashTrace())
        trace->push_back(text);
}

QToolButton* TFormMain::Button(const char* name) const
{
    const auto made = toolButtons_.find(std::string_view(name));
    if (made != toolButtons_.end() && made->second && made->second->objectName() == QLatin1String(name))
        return made->second;
    return findChild<QToolButton*>(name);
}

QAction* TFormMain::MenuItem(const char* name) const
{
    return findChild<QAction*>(name);
}

QWidget* TFormMain::Frame(int pageIndex) const
{
    return pageIndex >= 0 && pageIndex < kTabCount ? frames_[pageIndex] : nullptr;
}

QString TFormMain::StatusPanelText(int panel) const
{
    if (panel == 1)
        return specialPanel_ ? specialPanel_->text() : QString();
    if (auto* label = qobject_cast<QLabel*>(panels_.value(panel)))
        return label->text();
    return {};
}

void TFormMain::SetEnabled(const char* name, bool enabled)
{
    if (QObject* target = findChild<QObject*>(name))
        target->setProperty("enabled", enabled);
}

bool TFormMain::LoggedOn() const
{
    const QToolButton* logon = Button("tbtnLogon");
    return servicesReady_ && logon && !logon->isEnabled();
}

QString TFormMain::DataDirectory() const
{
    SecurityChk* security = SecurityChk::Instance();
    security->SetDataDirectory();
    return security->GetDataDirectory();
}

std::optional<std::uint32_t> TFormMain::ClockToken(double dateTime) const
{
    if (!DateToTimestampToken)
        return std::nullopt;
    const PanekitTimestampToken token = DateToTimestampToken(dateTime);
    if (token == kPanekitRefusedToken)
        return std::nullopt;
    return token;
}

void TFormMain::ShowWindow(const char* name)
{
    if (QWidget* window = shellwindows::Window(name)) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

bool TFormMain::IsAnalysisActive() const
{
    return pageControl_->currentIndex() == TfraWW::kDecl.tab;
}

void TFormMain::EnableUnitOperations(bool enable)
{
    for (const char* name : {"tbtnLogon", "tbtnComm", "tbtnUpgrade", "tbtnOpen"})
        SetEnabled(name, enable);
    if (!enable)
        for (const char* name : {"mnuUpdateMode", "mnuReboot"})
            SetEnabled(name, false);
}

void TFormMain::OnPageChanged(int index)
{
    // The maintenance page ends direct control when it is left.
    const int maintenance = TfraBoardTester::kDecl.tab;
    if (previousPage_ == maintenance && index != maintenance)
        TabSheetFCHide();
    previousPage_ = index;
    EnterPage(index);
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The page in front at start gets its entry like any page shown later.
    if (firstShow_) {
        firstShow_ = false;
        EnterPage(pageControl_->currentIndex());
    }
}
