// The main window as the commands see it (FrameComm), and what the link tells it: link state,
// progress, the clock and the power notice.
#include "formmain.h"

#include "archiveviewer.h"
#include "auditpage.h"
#include "database.h"
#include "shareddialogs.h"
#include "shellwindows.h"
#include "statemgr.h"
#include "waitwindow.h"
#include "winmsg.h"

#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QMetaMethod>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <map>

namespace {

constexpr char kConfigFileTypeId[] = "Sentrel515 DataBase Config v1.00a";

// The traffic icons: disconnected, idle, active, no response, paused.
QPixmap linkIcon(int state)
{
    static const QColor colours[] = {Qt::gray, QColor(0, 110, 0), QColor(0, 230, 0), Qt::red, QColor(230, 200, 0)};
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(colours[state]);
    painter.drawEllipse(1, 1, 12, 12);
    return pixmap;
}

}  // namespace

bool TFormMain::CallSlot(QObject* target, const char* name, bool* answer)
{
    if (!target)
        return false;
    const QByteArray signature = QByteArray(name) + "()";
    const int index = target->metaObject()->indexOfMethod(signature.constData());
    if (index < 0)
        return false;
    const QMetaMethod method = target->metaObject()->method(index);
    if (answer && method.returnType() == QMetaType::Bool)
        return method.invoke(target, Qt::DirectConnection, Q_RETURN_ARG(bool, *answer));
    return method.invoke(target, Qt::DirectConnection);
}

// --- FrameComm -------------------------------------------------------------------------------

namespace {

template <typename Handler>
using KeyTable = std::map<std::string, Handler>;

template <typename Handler>
Handler lookup(const KeyTable<Handler>& table, const std::string& key, const char* operation)
{
    const auto it = table.find(key);
    if (it != table.end())
        return it->second;
    // Every key the model uses is in framecomm.h and handled here (a test holds both to that);
    // one that is not is a programming slip worth seeing, though it changes nothing.
    qWarning("FrameComm: %s has no key \"%s\"", operation, key.c_str());
    return nullptr;
}

QProgressBar* upgradeProgress()
{
    QWidget* window = shellwindows::Existing("fmUpgrade");
    return window ? window->findChild<QProgressBar*>("Progress") : nullptr;
}

}  // namespace

// One table per operation: the keys the window handles are data, which a test checks against the
// keys the model names. The handlers reach the window's private members, so they are its own.
struct TFormMain::CommHandlers {
    static const KeyTable<void (*)(TFormMain&, bool)>& stateTable();
    static const KeyTable<void (*)(TFormMain&, int)>& intTable();
    static const KeyTable<void (*)(TFormMain&, const std::string&)>& textTable();
    static const KeyTable<bool (*)(TFormMain&)>& boolTable();
    static const KeyTable<int (*)(TFormMain&, void*)>& getIntTable();
    static const KeyTable<double (*)(TFormMain&, int)>& doubleTable();
    static void SetStatusLineText(TFormMain& f, const std::string& value);
};

using H = TFormMain::CommHandlers;

void TFormMain::SetState(std::string key, bool value)
{
    if (auto handler = lookup(H::stateTable(), key, "SetState"))
        handler(*this, value);
}

void TFormMain::SetInt(std::string key, int value)
{
    if (auto handler = lookup(H::intTable(), key, "SetInt"))
        handler(*this, value);
}

void TFormMain::SetText(std::string key, std::string value)
{
    if (auto handler = lookup(H::textTable(), key, "SetText"))
        handler(*this, value);
}

bool TFormMain::GetBool(std::string key)
{
    auto handler = lookup(H::boolTable(), key, "GetBool");
    return handler ? handler(*this) : false;
}

int TFormMain::GetInt(std::string key, void* argument)
{
    auto handler = lookup(H::getIntTable(), key, "GetInt");
    return handler ? handler(*this, argument) : -1;
}

double TFormMain::GetDouble(std::string key, int argument)
{
    auto handler = lookup(H::doubleTable(), key, "GetDouble");
    return handler ? handler(*this, argument) : 0.0;
}

bool TFormMain::HandlesKey(framecomm::Operation operation, const std::string& key)
{
    using framecomm::Operation;
    switch (operation) {
    case Operation::SetState:
        return H::stateTable().count(key) > 0;
    case Operation::SetInt:
        return H::intTable().count(key) > 0;
    case Operation::SetText:
        return H::textTable().count(key) > 0;
    case Operation::GetBool:
        return H::boolTable().count(key) > 0;
    case Operation::GetInt:
        return H::getIntTable().count(key) > 0;
    case Operation::GetDouble:
        return H::doubleTable().count(key) > 0;
    }
    return false;
}

void TFormMain::CommHandlers::SetStatusLineText(TFormMain& f, const std::string& value)
{
    if (!f.specialPanel_)
        return;
    if (value.empty()) {
        f.statusPosition_ = 0;
        f.statusBar_->setValue(0);
        f.specialPanel_->setBackgroundRole(QPalette::Button);
    } else {
        f.specialPanel_->setBackgroundRole(QPalette::Base);
    }
    f.specialPanel_->setText(QString::fromStdString(value));
}

using namespace framecomm;

const KeyTable<void (*)(TFormMain&, bool)>& TFormMain::CommHandlers::stateTable()
{
    static const KeyTable<void (*)(TFormMain&, bool)> table = {
        {kTbtnLogoff, [](TFormMain& f, bool v) { f.SetEnabled("tbtnLogoff", v); }},
        {kSetLogOff, [](TFormMain&, bool) { StateMgr::Instance()->SetLogOff(); }},
        {kSetLogOn, [](TFormMain&, bool) { StateMgr::Instance()->SetLogOn(); }},
        {kTbtnLogon,
         [](TFormMain& f, bool v) {
             f.SetEnabled("tbtnLogon", v);
             if (!v)
                 return;
             TWait::Instance()->hide();
             f.ShowOffLine();
         }},
        {kSetDatabaseConfigFileTypeID,
         [](TFormMain& f, bool) {
             if (f.driver_)
                 f.driver_->SetDatabaseConfigFileTypeID(kConfigFileTypeId);
         }},
        {kTbtnExit,
         [](TFormMain& f, bool v) {
             f.SetEnabled("tbtnExit", v);
             f.SetEnabled("Exit1", v);
         }},
        {kAuditFinish, [](TFormMain& f, bool) { TFormMain::CallSlot(f.PageFrame<TfrmAudit>(), "ShowEvents"); }},
        {kUpdateLogView,
         [](TFormMain& f, bool) { TFormMain::CallSlot(f.PageFrame<TfraArchiveViewer>(), "UpdateLogView"); }},
        {kReadALog2,
         [](TFormMain& f, bool) {
             bool loaded = false;
             if (TFormMain::CallSlot(f.PageFrame<TfraArchiveViewer>(), "LoadXmlArchive", &loaded) && loaded)
                 TFormMain::CallSlot(f.PageFrame<TfraArchiveViewer>(), "UpdateLogView");
         }},
        {kSaveLogFile,
         [](TFormMain& f, bool whole) {
             TFormMain::CallSlot(f.PageFrame<TfraArchiveViewer>(), whole ? "SaveLogFile" : "SaveIncompleteLogFile");
         }},
        {kEnablePages, [](TFormMain& f, bool) { f.PageControlMain()->setEnabled(true); }},
        {kDisablePages, [](TFormMain& f, bool) { f.PageControlMain()->setEnabled(false); }},
        {kBusy,
         [](TFormMain&, bool busy) {
             if (busy)
                 StateMgr::Instance()->SetBusy();
             else
                 StateMgr::Instance()->SetIdle();
         }},
        {kWaitWindow,
         [](TFormMain&, bool shown) {
             if (shown)
                 TWait::Instance()->ShowAnimated();
             else
                 TWait::Instance()->hide();
         }},
    };
    return table;
}

const KeyTable<void (*)(TFormMain&, int)>& TFormMain::CommHandlers::intTable()
{
    static const KeyTable<void (*)(TFormMain&, int)> table = {
        {kLocalPBarMax,
         [](TFormMain& f, int v) {
             f.localPBarMax_ = v;
             f.statusPosition_ = 0;
             if (f.statusBar_)
                 f.statusBar_->setValue(0);
         }},
        {kUpgradeProgressMax,
         [](TFormMain&, int maximum) {
             if (QProgressBar* bar = upgradeProgress()) {
                 bar->setMaximum(maximum);
                 bar->setValue(0);
             }
         }},
        {kUpgradeProgressStep,
         [](TFormMain&, int) {
             if (QProgressBar* bar = upgradeProgress())
                 bar->setValue(std::min(bar->value() + 1, bar->maximum()));
         }},
    };
    return table;
}

const KeyTable<void (*)(TFormMain&, const std::string&)>& TFormMain::CommHandlers::textTable()
{
    static const KeyTable<void (*)(TFormMain&, const std::string&)> table = {
        {kStatusLineSpecialPanel, &H::SetStatusLineText},
    };
    return table;
}

const KeyTable<bool (*)(TFormMain&)>& TFormMain::CommHandlers::boolTable()
{
    static const KeyTable<bool (*)(TFormMain&)> table = {
        {kLoggingOn, [](TFormMain& f) { return f.Button("tbtnLogon")->isEnabled(); }},
        {kTbtnPollDown, [](TFormMain& f) { return f.Button("tbtnPoll")->isDown(); }},
        {kTbtnBypass, [](TFormMain& f) { return f.Button("tbtnBypass")->isChecked(); }},
    };
    return table;
}

const KeyTable<int (*)(TFormMain&, void*)>& TFormMain::CommHandlers::getIntTable()
{
    static const KeyTable<int (*)(TFormMain&, void*)> table = {
        {kSendToDatabase, [](TFormMain& f, void*) { return f.SendToDatabase(); }},
        {kDateToTimestampToken,
         [](TFormMain& f, void* argument) {
             if (!f.DateToTimestampToken || !argument)
                 return -1;
             return static_cast<int>(f.DateToTimestampToken(*static_cast<const double*>(argument)));
         }},
    };
    return table;
}

const KeyTable<double (*)(TFormMain&, int)>& TFormMain::CommHandlers::doubleTable()
{
    static const KeyTable<double (*)(TFormMain&, int)> table = {
        {kTimestampTokenToDate,
         [](TFormMain& f, int argument) {
             return f.TimestampTokenToDate ? f.TimestampTokenToDate(static_cast<PanekitTimestampToken>(argument)) : 0.0;
         }},
    };
    return table;
}

// --- window messages -------------------------------------------------------------------------

bool TFormMain::event(QEvent* event)
{
    switch (static_cast<int>(event->type())) {
    case winmsg::WM_COMMSTATE:
        OnCommState(static_cast<int>(static_cast<WinMessageEvent*>(event)->wParam));
        return true;
    case winmsg::WM_COMMPROGRESS: {
        auto* message = static_cast<WinMessageEvent*>(event);
        OnCommProgress(static_cast<int>(message->wParam), static_cast<int>(message->lParam));
        return true;
    }
    // The window's own broadcasts reach it too; it has nothing to store.
    case winmsg::WM_BEFORE_SEND_TO_DATABASE:
    case winmsg::WM_SEND_TO_DATABASE:
    case winmsg::WM_AFTER_SEND_TO_DATABASE:
        return true;
    case QEvent::StatusTip:
        // Hints go to panel 0, beside the other panels, not over the whole line.
        if (auto* panel = qobject_cast<QLabel*>(panels_.value(0)))
            panel->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    default:
        return QMainWindow::event(event);
    }
}

void TFormMain::OnCommState(int wParam)
{
    struct Row {
        int rx, tx;
        const char* text;  // null: panel 0 unchanged
    };
    static const Row rows[] = {
        {0, 0, ""},      {1, 1, ""},      {1, 2, nullptr},
        {2, 1, nullptr}, {3, 3, nullptr}, {4, 4, "Temporarily paused for discontinuous communication..."},
    };
    if (wParam >= 0 && wParam <= 5) {
        const Row& row = rows[wParam];
        if (rxState_ == row.rx && txState_ == row.tx)
            return;
        rxState_ = row.rx;
        txState_ = row.tx;
        if (row.text)
            if (auto* panel = qobject_cast<QLabel*>(panels_.value(0)))
                panel->setText(row.text);
    } else {
        rxState_ = txState_ = 0;
    }
    if (trafficPaintTimer_ && !trafficPaintTimer_->isActive())
        trafficPaintTimer_->start();
}

void TFormMain::SetLinkIcons()
{
    if (linkIcons_[0].isNull())
        for (int state = 0; state < static_cast<int>(linkIcons_.size()); ++state)
            linkIcons_[static_cast<std::size_t>(state)] = linkIcon(state);
    for (auto [icon, state] : {std::pair{rxIcon_, rxState_}, std::pair{txIcon_, txState_}}) {
        if (state >= 0 && state <= 4) {
            const QPixmap& pixmap = linkIcons_[static_cast<std::size_t>(state)];
            if (icon->pixmap().cacheKey() != pixmap.cacheKey())
                icon->setPixmap(pixmap);
        } else {
            icon->clear();
        }
    }
}

void TFormMain::PaintTraffic()
{
    SetLinkIcons();
    if (statusBar_) {
        // A maximum of 0 would turn the widget into a busy indicator; the window keeps the real one.
        statusBar_->setRange(0, std::max(statusMaximum_, 1));
        statusBar_->setValue(std::clamp(statusPosition_, 0, std::max(statusMaximum_, 1)));
    }
    if (waitRepaintDue_) {
        waitRepaintDue_ = false;
        TWait::Instance()->repaint();
    }
}

void TFormMain::OnCommProgress(int wParam, int /*lParam*/)
{
    if (statusBar_) {
        if (statusMaximum_ != localPBarMax_)
            statusMaximum_ = localPBarMax_;
        if (wParam == 1 && localPBarMax_ > 0) {
            if (++statusPosition_ > statusMaximum_)
                statusPosition_ = 0;
        } else if (wParam == 0) {
            statusPosition_ = 0;
        }
    }
    if (stepWaitProgress_)
        StepWaitBar();
    if (trafficPaintTimer_ && !trafficPaintTimer_->isActive())
        trafficPaintTimer_->start();
}

void TFormMain::StepWaitBar()
{
    TWait* wait = TWait::Instance();
    QProgressBar* bar = wait->Progress();
    int position = std::max(bar->value(), bar->minimum()) + 1;
    if (position > bar->maximum())
        position = 0;
    bar->setValue(position);
    waitRepaintDue_ = true;
}

// --- clock and power -------------------------------------------------------------------------

void TFormMain::StatusBarTimerTimer()
{
    if (auto* panel = qobject_cast<QLabel*>(panels_.value(3)))
        panel->setText(ClockText(QDateTime::currentDateTime()));
}

QString TFormMain::ClockText(const QDateTime& now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString text = QStringLiteral("%1 %2, %3 %4:%5:%6 %7")
                             .arg(QLocale::system().monthName(date.month(), QLocale::LongFormat))
                             .arg(date.day())
                             .arg(date.year())
                             .arg(hour12)
                             .arg(time.minute(), 2, 10, QLatin1Char('0'))
                             .arg(time.second(), 2, 10, QLatin1Char('0'))
                             .arg(time.hour() < 12 ? "am" : "pm");
    return text;
}

void TFormMain::OnPowerBroadcast(int wParam)
{
    constexpr int kSuspend = 4;
    if (LoggedOn() && wParam == kSuspend)
        ShowSuspendWarning();
}
