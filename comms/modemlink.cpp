#include "modemlink.h"

#include "commport.h"
#include "commsettings.h"
#include "numbertext.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

// The answers that end a dial without a connection.
const QStringList kDialFailures = {
    QStringLiteral("BUSY"),        QStringLiteral("NO CARRIER"),   QStringLiteral("NO ANSWER"),
    QStringLiteral("NO DIALTONE"), QStringLiteral("NO DIAL TONE"), QStringLiteral("ERROR"),
    QStringLiteral("DELAYED"),     QStringLiteral("BLACKLISTED"),
};

const QByteArray kNoCarrier("NO CARRIER");

constexpr int kCarrierPollMs = 2 * CommPort::kTickMs;

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(CommSettings::storeName()));
}

void pumpFor(int ms, const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
}

}  // namespace

ModemDevice::ModemDevice(CommPort* port, QObject* parent) : QObject(parent), port_(port)
{
    setObjectName(QStringLiteral("TapiDevice"));
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &ModemDevice::commandTimedOut);
    carrierPoll_ = new QTimer(this);
    connect(carrierPoll_, &QTimer::timeout, this, &ModemDevice::pollCarrier);
    initCommand_ =
        store().value(QStringLiteral("Tapi/InitString"), QString::fromLatin1(kDefaultInitCommand)).toString();
}

ModemDevice::~ModemDevice()
{
    timer_->stop();
    carrierPoll_->stop();
    if (ownsPort_ && port_)
        port_->setReceiveFilter({});
}

QString ModemDevice::defaultLogPath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString dir = QDir(base).filePath(QStringLiteral("KVT515"));
    QDir().mkpath(dir);
    return QDir(dir).filePath(QString::fromLatin1(kLogFileName));
}

QString ModemDevice::selectedDevice() const
{
    return port_->serialDeviceName();
}

void ModemDevice::setSelectedDevice(const QString& device)
{
    port_->setPortName(device.trimmed());
}

void ModemDevice::setMaxAttempts(int attempts)
{
    maxAttempts_ = std::clamp(attempts, 1, 100);
}

void ModemDevice::setRetryWaitSeconds(int seconds)
{
    retryWaitSeconds_ = std::clamp(seconds, 1, 1000);
}

void ModemDevice::setInitCommand(const QString& command)
{
    initCommand_ = command.trimmed();
    QSettings s = store();
    s.setValue(QStringLiteral("Tapi/InitString"), initCommand_);
    s.sync();
}

qint64 ModemDevice::worstCaseMs() const
{
    const qint64 perAttempt = 2LL * commandTimeoutMs_ + answerTimeoutMs_;
    return maxAttempts_ * perAttempt + (maxAttempts_ - 1) * 1000LL * retryWaitSeconds_ + 4LL * guardTimeMs_ +
           2LL * commandTimeoutMs_;
}

void ModemDevice::progress(const QString& text)
{
    port_->log().addString(QStringLiteral("Tapi: ") + text);
    if (!logFile_.isEmpty()) {
        QFile file(logFile_);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            file.write(
                (QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char(' ') + text + QLatin1Char('\n'))
                    .toUtf8());
    }
    emit tapiStatus(text);
}

int ModemDevice::Dial(const QString& number)
{
    if (state_ != Idle) {
        lastError_ = QStringLiteral("A call is already under way.");
        return DialBusy;
    }
    number_ = number.trimmed();
    if (number_.isEmpty()) {
        lastError_ = QStringLiteral("No number to dial.");
        progress(lastError_);
        return DialNoNumber;
    }
    stopped_ = false;
    lastResult_.clear();
    port_->setLayer(CommPort::Layer::Serial);
    port_->close();
    if (!port_->open()) {
        lastError_ = port_->lastError();
        progress(lastError_);
        return DialPortFailed;
    }
    ownsPort_ = true;
    port_->setReceiveFilter([this](QByteArray& bytes) { filterReceived(bytes); });
    port_->setDtr(true);
    attempt_ = 1;
    startAttempt();
    return 0;
}

void ModemDevice::startAttempt()
{
    state_ = Initializing;
    lineBuffer_.clear();
    pendingCommands_.clear();
    if (!initCommand_.isEmpty())
        pendingCommands_ << initCommand_;
    QString dial = number_;
    if (!dial.startsWith(QLatin1Char('T'), Qt::CaseInsensitive) &&
        !dial.startsWith(QLatin1Char('P'), Qt::CaseInsensitive))
        dial.prepend(QLatin1Char('T'));
    pendingCommands_ << QStringLiteral("ATD") + dial;
    progress(QStringLiteral("Dialing %1 (attempt %2 of %3)").arg(number_).arg(attempt_).arg(maxAttempts_));
    sendCommand(QStringLiteral("AT"), commandTimeoutMs_);
}

void ModemDevice::sendCommand(const QString& command, int timeoutMs)
{
    lastCommand_ = command;
    const QByteArray bytes = command.toLatin1() + '\r';
    port_->putBlock(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
    timer_->start(timeoutMs);
}

void ModemDevice::filterReceived(QByteArray& bytes)
{
    if (state_ == Connected) {
        if (dropLeadingLf_ && !bytes.isEmpty()) {
            dropLeadingLf_ = false;
            if (bytes.startsWith('\n'))
                bytes.remove(0, 1);
        }
        // The modem reports the end of the call in the data stream; a frame that happens to hold
        // these letters would also need the line breaks around them.
        const QByteArray seen = dataTail_ + bytes;
        const int at = static_cast<int>(seen.indexOf(kNoCarrier));
        if (at >= 2 && seen.mid(at - 2, 2) == "\r\n") {
            bytes.clear();
            dataTail_.clear();
            QTimer::singleShot(0, this, &ModemDevice::carrierLost);
            return;
        }
        dataTail_ = seen.right(kNoCarrier.size() + 1);
        return;
    }
    takeLines(bytes);
}

void ModemDevice::takeLines(QByteArray& bytes)
{
    // Lines of the command phase; what follows CONNECT's line belongs to the engine.
    while (!bytes.isEmpty() && state_ != Connected) {
        const char c = bytes.front();
        bytes.remove(0, 1);
        if (c == '\r' || c == '\n') {
            if (!lineBuffer_.trimmed().isEmpty()) {
                const QString line = QString::fromLatin1(lineBuffer_.trimmed());
                lineBuffer_.clear();
                handleLine(line);
                if (state_ == Connected && c == '\r')
                    dropLeadingLf_ = true;
            }
            lineBuffer_.clear();
        } else if (lineBuffer_.size() < 256) {
            lineBuffer_.append(c);
        }
    }
    if (state_ == Connected && dropLeadingLf_ && bytes.startsWith('\n')) {
        bytes.remove(0, 1);
        dropLeadingLf_ = false;
    }
}

void ModemDevice::handleLine(const QString& line)
{
    // The modem's echo of a command is not an answer.
    if (line.startsWith(QLatin1String("AT"), Qt::CaseInsensitive))
        return;
    port_->log().addString(QStringLiteral("Modem: ") + line);
    if (state_ == HangingUp) {
        if (line == QLatin1String("OK") || line == QLatin1String("ERROR") || line == QLatin1String("NO CARRIER")) {
            gotReply_ = true;
            replyLine_ = line;
        }
        return;
    }
    if (state_ == Initializing) {
        if (line == QLatin1String("OK")) {
            const QString next = pendingCommands_.takeFirst();
            if (next.startsWith(QLatin1String("ATD"), Qt::CaseInsensitive)) {
                state_ = Dialing;
                sendCommand(next, answerTimeoutMs_);
            } else {
                sendCommand(next, commandTimeoutMs_);
            }
        } else if (line == QLatin1String("ERROR")) {
            giveUp(QStringLiteral("The modem refused \"%1\".").arg(lastCommand_));
        }
        return;
    }
    if (state_ == Dialing) {
        if (line.startsWith(QLatin1String("CONNECT"))) {
            connected(line);
            return;
        }
        for (const QString& failure : kDialFailures) {
            if (line == failure) {
                lastResult_ = line;
                attemptFailed(line);
                return;
            }
        }
    }
}

void ModemDevice::commandTimedOut()
{
    switch (state_) {
    case Initializing:
        giveUp(QStringLiteral("The modem does not answer."));
        break;
    case Dialing: {
        // Any character ends the modem's dial; then put it on hook.
        const QByteArray abort("\rATH\r");
        port_->putBlock(reinterpret_cast<const std::uint8_t*>(abort.constData()), static_cast<int>(abort.size()));
        lastResult_ = QStringLiteral("NO ANSWER");
        attemptFailed(QStringLiteral("No connection in time"));
        break;
    }
    case WaitingToRedial:
        startAttempt();
        break;
    default:
        break;
    }
}

void ModemDevice::attemptFailed(const QString& reason)
{
    progress(reason);
    if (attempt_ >= maxAttempts_) {
        giveUp(QStringLiteral("Dialing failed: %1").arg(reason));
        return;
    }
    ++attempt_;
    state_ = WaitingToRedial;
    timer_->start(retryWaitSeconds_ * 1000);
}

void ModemDevice::giveUp(const QString& reason)
{
    timer_->stop();
    state_ = Idle;
    stopped_ = true;
    progress(reason);
    // Not from inside the port's own receive handler.
    QTimer::singleShot(0, this, [this] {
        if (state_ == Idle && !portOpen_)
            closePort();
    });
    emit tapiFail();
}

void ModemDevice::connected(const QString& line)
{
    timer_->stop();
    // "CONNECT 9600/ARQ": the rate is the number before any protocol word.
    const int rate =
        numtext::tryStrToInt(line.mid(7).trimmed().section(QLatin1Char('/'), 0, 0).section(QLatin1Char(' '), 0, 0))
            .value_or(0);
    rate_ = rate > 0 ? rate : port_->baud();
    state_ = Connected;
    dataTail_.clear();
    portOpen_ = true;
    progress(QStringLiteral("Connected at %1 baud").arg(rate_));
    if (port_->carrierDetect() == 1)
        carrierPoll_->start(kCarrierPollMs);
    emit tapiPortOpen();
    emit tapiConnect();
}

void ModemDevice::pollCarrier()
{
    if (state_ == Connected && port_->carrierDetect() == 0)
        carrierLost();
}

void ModemDevice::carrierLost()
{
    if (state_ != Connected)
        return;
    carrierPoll_->stop();
    state_ = Idle;
    lastResult_ = QStringLiteral("NO CARRIER");
    progress(QStringLiteral("Carrier lost"));
    closePort();
}

void ModemDevice::closePort()
{
    carrierPoll_->stop();
    if (ownsPort_) {
        port_->setReceiveFilter({});
        port_->close();
        ownsPort_ = false;
    }
    lineBuffer_.clear();
    if (portOpen_) {
        portOpen_ = false;
        emit tapiPortClose();
    }
}

bool ModemDevice::waitForReply(int timeoutMs)
{
    pumpFor(timeoutMs, [this] { return gotReply_ || !port_->isOpen(); });
    return gotReply_;
}

void ModemDevice::hangUp()
{
    const bool wasConnected = state_ == Connected;
    state_ = HangingUp;
    carrierPoll_->stop();
    lineBuffer_.clear();
    bool onHook = false;
    if (wasConnected && port_->setDtr(false)) {
        // A modem set to follow DTR hangs up now; the carrier line tells when it has.
        pumpFor(guardTimeMs_, [this] { return port_->carrierDetect() != 1; });
        onHook = port_->carrierDetect() == 0;
    }
    if (!onHook && port_->isOpen()) {
        if (wasConnected) {
            // The escape to command mode needs silence on both sides of it.
            // A little longer than the modem's own guard time, so that its clock agrees.
            const int guard = guardTimeMs_ + guardTimeMs_ / 4;
            pumpFor(guard, [] { return false; });
            const QByteArray escape("+++");
            port_->putBlock(reinterpret_cast<const std::uint8_t*>(escape.constData()), 3);
            gotReply_ = false;
            waitForReply(guard + commandTimeoutMs_);
        } else {
            // A dial still running ends at the first character.
            const QByteArray abort("\r");
            port_->putBlock(reinterpret_cast<const std::uint8_t*>(abort.constData()), 1);
            pumpFor(100, [] { return false; });
        }
        gotReply_ = false;
        sendCommand(QStringLiteral("ATH"), commandTimeoutMs_);
        timer_->stop();
        waitForReply(commandTimeoutMs_);
    }
    state_ = Idle;
    progress(QStringLiteral("Call ended"));
}

void ModemDevice::CancelCall()
{
    timer_->stop();
    switch (state_) {
    case Initializing:
    case Dialing:
    case Connected:
        hangUp();
        break;
    case WaitingToRedial:
        state_ = Idle;
        break;
    default:
        break;
    }
    // A wait for this call ends here too.
    stopped_ = true;
    closePort();
}
