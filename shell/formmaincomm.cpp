// The main window as the commands see it (FrameComm), and what the link tells it: link state,
// progress, the clock and the power notice.
#include "formmain.h"

#include "database.h"
#include "shareddialogs.h"
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
#include <QToolButton>

namespace {

constexpr char kConfigFileTypeId[] = "Sentrel515 DataBase Config v1.00a";
constexpr char kFlashWriteFinished[] = "Write Flash Finished.";
constexpr char kWriteSuccessful[] = "Write Successful";

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

void TFormMain::SetState(std::string key, bool value)
{
    if (key == "tbtnLogoff") {
        SetEnabled("tbtnLogoff", value);
    } else if (key == "SetLogOff") {
        StateMgr::Instance()->SetLogOff();
    } else if (key == "SetLogOn") {
        StateMgr::Instance()->SetLogOn();
    } else if (key == "tbtnLogon") {
        SetEnabled("tbtnLogon", value);
        if (!value)
            return;
        TWait::Instance()->hide();
        ShowOffLine();
    } else if (key == "SetDatabaseConfigFileTypeID") {
        if (driver_)
            driver_->SetDatabaseConfigFileTypeID(kConfigFileTypeId);
    } else if (key == "tbtnExit") {
        SetEnabled("tbtnExit", value);
        SetEnabled("Exit1", value);
    } else if (key == "AuditFinish") {
        CallSlot(frames_[PageEvents], "ShowEvents");
    } else if (key == "UpdateLogView") {
        CallSlot(frames_[PageArchive], "UpdateLogView");
    } else if (key == "ReadALog2") {
        bool loaded = false;
        if (CallSlot(frames_[PageArchive], "LoadXmlArchive", &loaded) && loaded)
            CallSlot(frames_[PageArchive], "UpdateLogView");
    } else if (key == "SaveLogFile") {
        CallSlot(frames_[PageArchive], "SaveLogFile");
    } else if (key == "EnablePages") {
        pageControl_->setEnabled(true);
    } else if (key == "DisablePages") {
        pageControl_->setEnabled(false);
    }
}

void TFormMain::SetInt(std::string key, int value)
{
    if (key != "localPBarMax")
        return;
    localPBarMax_ = value;
    statusPosition_ = 0;
    if (statusBar_)
        statusBar_->setValue(0);
}

void TFormMain::SetText(std::string key, std::string value)
{
    if (key != "StatusLineSpecialPanel" || !specialPanel_)
        return;
    if (value.empty()) {
        statusPosition_ = 0;
        statusBar_->setValue(0);
        specialPanel_->setBackgroundRole(QPalette::Button);
    } else {
        specialPanel_->setBackgroundRole(QPalette::Base);
    }
    if (value == kFlashWriteFinished)
        flashWriteFinished_ = true;
    if (value == kWriteSuccessful)
        writeSuccessful_ = true;
    specialPanel_->setText(QString::fromStdString(value));
}

bool TFormMain::GetBool(std::string key)
{
    if (key == "LoggingOn")
        return Button("tbtnLogon")->isEnabled();
    if (key == "tbtnPollDown")
        return Button("tbtnPoll")->isDown();
    if (key == "tbtnBypass")
        return Button("tbtnBypass")->isChecked();
    return false;
}

int TFormMain::GetInt(std::string key, void* argument)
{
    if (key == "SendToDatabase")
        return SendToDatabase();
    if (key == "DateToTimestampToken") {
        if (!DateToTimestampToken || !argument)
            return -1;
        return static_cast<int>(DateToTimestampToken(*static_cast<const double*>(argument)));
    }
    return -1;
}

double TFormMain::GetDouble(std::string key, int argument)
{
    if (key == "TimestampTokenToDate" && TimestampTokenToDate)
        return TimestampTokenToDate(static_cast<PanekitTimestampToken>(argument));
    return 0.0;
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
        {0, 0, ""}, {1, 1, ""}, {1, 2, nullptr}, {2, 1, nullptr}, {3, 3, nullptr},
        {4, 4, "Temporarily paused for discontinuous communication..."},
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
    SetLinkIcons();
}

void TFormMain::SetLinkIcons()
{
    for (auto [icon, state] : {std::pair{rxIcon_, rxState_}, std::pair{txIcon_, txState_}}) {
        if (state >= 0 && state <= 4)
            icon->setPixmap(linkIcon(state));
        else
            icon->clear();
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
        // A maximum of 0 would turn the widget into a busy indicator; the window keeps the real one.
        statusBar_->setRange(0, std::max(statusMaximum_, 1));
        statusBar_->setValue(std::clamp(statusPosition_, 0, std::max(statusMaximum_, 1)));
    }
    if (stepWaitProgress_)
        StepWaitBar();
}

void TFormMain::StepWaitBar()
{
    TWait* wait = TWait::Instance();
    QProgressBar* bar = wait->Progress();
    int position = std::max(bar->value(), bar->minimum()) + 1;
    if (position > bar->maximum())
        position = 0;
    bar->setValue(position);
    wait->repaint();
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
