#include "commport.h"

#include "numbertext.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkProxy>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>
#include <QTimerEvent>
#include <QtEndian>

#include <netdb.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
constexpr quint8 kSocks4Version = 0x04;
constexpr quint8 kSocks4Connect = 0x01;
constexpr quint8 kSocks4Granted = 0x5A;
constexpr int kSocks4ReplySize = 8;

QSerialPort::Parity toQtParity(int parity)
{
    switch (parity) {
    case 1:
        return QSerialPort::OddParity;
    case 2:
        return QSerialPort::EvenParity;
    case 3:
        return QSerialPort::MarkParity;
    case 4:
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}
}  // namespace

CommPort::CommPort(QObject* parent) : QObject(parent)
{
    clock_.start();
    drainTimer_ = new QTimer(this);
    drainTimer_->setSingleShot(true);
    drainTimer_->setTimerType(Qt::PreciseTimer);
    connect(drainTimer_, &QTimer::timeout, this, &CommPort::checkDrained);
}

CommPort::~CommPort()
{
    if (lookupId_ >= 0)
        QHostInfo::abortHostLookup(lookupId_);
}

void CommPort::setLayer(Layer layer)
{
    if (layer != layer_)
        close();
    layer_ = layer;
}

QString CommPort::serialDeviceName() const
{
    if (!portName_.trimmed().isEmpty())
        return portName_.trimmed();
    return QStringLiteral("/dev/ttyS%1").arg(comNumber_ - 1);
}

void CommPort::setBaud(int baud)
{
    baud_ = baud;
    applySerialSettings();
}

void CommPort::setDataBits(int bits)
{
    dataBits_ = bits;
    applySerialSettings();
}

void CommPort::setParity(int parity)
{
    parity_ = parity;
    applySerialSettings();
}

void CommPort::setStopBits(int bits)
{
    stopBits_ = bits;
    applySerialSettings();
}

void CommPort::applySerialSettings()
{
    if (!serial_ || !serial_->isOpen())
        return;
    serial_->setBaudRate(baud_);
    serial_->setDataBits(static_cast<QSerialPort::DataBits>(qBound(5, dataBits_, 8)));
    serial_->setParity(toQtParity(parity_));
    serial_->setStopBits(stopBits_ == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    serial_->setFlowControl(QSerialPort::NoFlowControl);
}

double CommPort::byteTimeSeconds() const
{
    const int bits = 1 + qBound(5, dataBits_, 8) + (parity_ ? 1 : 0) + (stopBits_ == 2 ? 2 : 1);
    return baud_ > 0 ? double(bits) / baud_ : 0.0;
}

quint16 CommPort::resolveServicePort(const QString& text)
{
    const QString name = text.trimmed();
    if (const std::optional<std::int64_t> number = numtext::tryStrToInt64(name))
        return *number >= 0 && *number <= 0xFFFF ? static_cast<quint16>(*number) : 0;
    if (name.isEmpty())
        return 0;
    if (const servent* entry = getservbyname(name.toLatin1().constData(), "tcp"))
        return qFromBigEndian(static_cast<quint16>(entry->s_port));
    // Hosts without a services database still know the one name the settings use by default.
    if (name.compare(QLatin1String("telnet"), Qt::CaseInsensitive) == 0)
        return 23;
    return 0;
}

bool CommPort::open()
{
    lastError_.clear();
    if (isOpen() || isConnecting())
        return true;
    in_.clear();
    return layer_ == Layer::Serial ? openSerial() : openWinsock();
}

bool CommPort::openSerial()
{
    if (!serial_) {
        serial_ = new QSerialPort(this);
        connect(serial_, &QSerialPort::readyRead, this, [this] { takeReceived(serial_->readAll()); });
        connect(serial_, &QSerialPort::bytesWritten, this, &CommPort::serialBytesWritten);
    }
    serial_->setPortName(serialDeviceName());
    if (!serial_->open(QIODevice::ReadWrite)) {
        lastError_ = QStringLiteral("Unable to open %1: %2").arg(serialDeviceName(), serial_->errorString());
        return false;
    }
    applySerialSettings();
    serial_->clear();
    lineFreeAtNs_ = 0;
    return true;
}

bool CommPort::openWinsock()
{
    wsPortNumber_ = resolveServicePort(wsPort_);
    if (wsPortNumber_ == 0) {
        failConnect(QAbstractSocket::UnknownSocketError, QStringLiteral("Unknown port or service \"%1\"").arg(wsPort_));
        return false;
    }
    if (wsAddress_.trimmed().isEmpty()) {
        failConnect(QAbstractSocket::HostNotFoundError, QStringLiteral("No address given"));
        return false;
    }
    if (!socket_) {
        socket_ = new QTcpSocket(this);
        connect(socket_, &QTcpSocket::connected, this, &CommPort::socketConnected);
        connect(socket_, &QTcpSocket::readyRead, this, &CommPort::socketReadyRead);
        connect(socket_, &QTcpSocket::bytesWritten, this, &CommPort::socketBytesWritten);
        connect(socket_, &QTcpSocket::errorOccurred, this, &CommPort::socketError);
        connect(socket_, &QTcpSocket::disconnected, this, &CommPort::socketDisconnected);
    }
    handshake_.clear();
    const bool proxied = socks_.version != SocksInfo::None && !socks_.address.trimmed().isEmpty();
    socksVersionInUse_ = proxied ? socks_.version : SocksInfo::None;
    wsState_ = WsState::Connecting;
    if (socksVersionInUse_ == SocksInfo::Socks5) {
        socket_->setProxy(QNetworkProxy(QNetworkProxy::Socks5Proxy, socks_.address.trimmed(), socks_.port,
                                        socks_.userCode, socks_.password));
        socket_->connectToHost(wsAddress_.trimmed(), wsPortNumber_);
    } else if (socksVersionInUse_ == SocksInfo::Socks4 || socksVersionInUse_ == SocksInfo::Socks4a) {
        socket_->setProxy(QNetworkProxy::NoProxy);
        socket_->connectToHost(socks_.address.trimmed(), socks_.port);
    } else {
        socket_->setProxy(QNetworkProxy::NoProxy);
        socket_->connectToHost(wsAddress_.trimmed(), wsPortNumber_);
    }
    return true;
}

void CommPort::close()
{
    drainTimer_->stop();
    if (lookupId_ >= 0) {
        QHostInfo::abortHostLookup(lookupId_);
        lookupId_ = -1;
    }
    if (serial_ && serial_->isOpen())
        serial_->close();
    if (socket_ && socket_->state() != QAbstractSocket::UnconnectedState) {
        wsState_ = WsState::Closed;
        socket_->abort();
    }
    wsState_ = WsState::Closed;
    in_.clear();
}

bool CommPort::isOpen() const
{
    if (layer_ == Layer::Serial)
        return serial_ && serial_->isOpen();
    return wsState_ == WsState::Open;
}

bool CommPort::isConnecting() const
{
    return layer_ == Layer::Winsock && (wsState_ == WsState::Connecting || wsState_ == WsState::Handshake);
}

bool CommPort::putBlock(const std::uint8_t* data, int length)
{
    if (!isOpen() || length <= 0)
        return false;
    const QByteArray bytes(reinterpret_cast<const char*>(data), length);
    log_.addSent(bytes);
    if (layer_ == Layer::Serial) {
        // The line cannot carry the bytes faster than its baud rate, whatever the driver accepts.
        const qint64 now = clock_.nsecsElapsed();
        const qint64 lineTime = static_cast<qint64>(byteTimeSeconds() * 1e9 * length);
        lineFreeAtNs_ = std::max(now, lineFreeAtNs_) + lineTime;
        const bool queued = serial_->write(bytes) == length;
        // Hand the bytes to the system now rather than on the next pass of the event loop.
        serial_->flush();
        return queued;
    }
    // Straight to the system while nothing of an earlier frame waits in the socket's own buffer:
    // QTcpSocket switches its write notifier on and off around every buffered write, and each
    // switch wakes the event dispatcher once more (two wake-ups and an idle pass per frame).
    const int taken = sendDirect(data, length);
    if (taken == length) {
        fireOutSent();
        return true;
    }
    // What the system did not take, or a failure, goes to the socket: it sends the rest once the
    // connection can take it (then the frame counts as sent) and reports a failure as an error.
    const qint64 rest = length - taken;
    const bool queued = socket_->write(bytes.constData() + taken, rest) == rest;
    socket_->flush();
    return queued;
}

int CommPort::sendDirect(const std::uint8_t* data, int length)
{
    // Through Qt's SOCKS5 proxy the socket's descriptor is not the plain stream to the unit.
    if (socksVersionInUse_ == SocksInfo::Socks5 || socket_->bytesToWrite() > 0)
        return 0;
    const int fd = static_cast<int>(socket_->socketDescriptor());
    if (fd < 0)
        return 0;
    int taken = 0;
    while (taken < length) {
        const ssize_t n =
            ::send(fd, data + taken, static_cast<std::size_t>(length - taken), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0)
            taken += static_cast<int>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    return taken;
}

int CommPort::getBlock(std::uint8_t* data, int length)
{
    const int n = std::min(length, static_cast<int>(in_.size()));
    if (n <= 0)
        return 0;
    std::memcpy(data, in_.constData(), static_cast<std::size_t>(n));
    in_.remove(0, n);
    return n;
}

void CommPort::flushIn()
{
    if (layer_ == Layer::Serial && serial_ && serial_->isOpen()) {
        serial_->clear(QSerialPort::Input);
        serial_->readAll();
    } else if (socket_ && wsState_ == WsState::Open) {
        // Bytes the system holds but Qt has not read yet are fetched here and dropped too.
        discarding_ = true;
        int pending = 0;
        while (socket_->state() == QAbstractSocket::ConnectedState &&
               ::ioctl(int(socket_->socketDescriptor()), FIONREAD, &pending) == 0 && pending > 0 &&
               socket_->waitForReadyRead(0))
            ;
        socket_->readAll();
        discarding_ = false;
    }
    in_.clear();
}

void CommPort::flushOut()
{
    if (layer_ == Layer::Serial && serial_ && serial_->isOpen())
        serial_->clear(QSerialPort::Output);
    // A TCP stream cannot take back what it was given; the next frame follows it.
}

void CommPort::takeReceived(const QByteArray& bytes)
{
    if (bytes.isEmpty() || discarding_)
        return;
    log_.addReceived(bytes);
    if (receiveFilter_) {
        QByteArray rest = bytes;
        receiveFilter_(rest);
        if (rest.isEmpty())
            return;
        in_.append(rest);
    } else {
        in_.append(bytes);
    }
    emit triggerAvail(static_cast<int>(in_.size()));
}

bool CommPort::setDtr(bool on)
{
    if (layer_ != Layer::Serial || !serial_ || !serial_->isOpen())
        return false;
    // Straight to the driver: a line without modem lines refuses it, and the port stays usable.
    int bits = TIOCM_DTR;
    return ::ioctl(serial_->handle(), on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

int CommPort::carrierDetect() const
{
    if (layer_ != Layer::Serial || !serial_ || !serial_->isOpen())
        return -1;
    int bits = 0;
    if (::ioctl(serial_->handle(), TIOCMGET, &bits) != 0)
        return -1;
    return (bits & TIOCM_CAR) ? 1 : 0;
}

int CommPort::addTimerTrigger()
{
    int handle = nextHandle_;
    while (handle == 0 || timers_.count(handle) || handle == outSentHandle_)
        handle = (handle % 0xFFFF) + 1;
    nextHandle_ = (handle % 0xFFFF) + 1;
    timers_[handle] = TickTimer{};
    return handle;
}

bool CommPort::setTimerTrigger(int handle, int ticks, bool activate)
{
    const auto it = timers_.find(handle);
    if (it == timers_.end())
        return false;
    TickTimer& timer = it->second;
    timer.armed = activate;
    if (activate) {
        timer.dueNs = clock_.nsecsElapsed() + qint64(std::clamp(ticks, 0, kMaxTimerTicks)) * kTickMs * 1000000;
        timer.armedOrder = ++armCount_;
        scheduleBeat();
    }
    return true;
}

void CommPort::removeTrigger(int handle)
{
    if (handle == outSentHandle_ && handle != 0) {
        outSentHandle_ = 0;
        outSentArmed_ = false;
        return;
    }
    timers_.erase(handle);
}

void CommPort::scheduleBeat()
{
    qint64 earliest = std::numeric_limits<qint64>::max();
    for (const auto& [handle, timer] : timers_)
        if (timer.armed)
            earliest = std::min(earliest, timer.dueNs);
    if (earliest == std::numeric_limits<qint64>::max())
        return;  // a beat still set finds nothing due and stops
    if (beat_.isActive() && beatDueNs_ <= earliest)
        return;
    const qint64 now = clock_.nsecsElapsed();
    const qint64 waitMs = std::clamp<qint64>((earliest - now + 999999) / 1000000, 0, std::numeric_limits<int>::max());
    beat_.start(static_cast<int>(waitMs), Qt::PreciseTimer, this);
    beatDueNs_ = now + waitMs * 1000000;
}

void CommPort::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != beat_.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    beat_.stop();
    const qint64 now = clock_.nsecsElapsed();
    const quint64 armedBefore = armCount_;
    // One at a time, as a handler may arm, re-arm or remove any timer; one armed by a handler
    // waits for a later beat, even when it is due at once.
    for (;;) {
        auto due = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            const TickTimer& timer = it->second;
            if (timer.armed && timer.dueNs <= now && timer.armedOrder <= armedBefore &&
                (due == timers_.end() ||
                 std::pair(timer.dueNs, timer.armedOrder) < std::pair(due->second.dueNs, due->second.armedOrder)))
                due = it;
        }
        if (due == timers_.end())
            break;
        due->second.armed = false;
        emit triggerTimer(due->first);
    }
    scheduleBeat();
}

int CommPort::addStatusTrigger()
{
    if (outSentHandle_ == 0) {
        int handle = nextHandle_;
        while (handle == 0 || timers_.count(handle))
            handle = (handle % 0xFFFF) + 1;
        nextHandle_ = (handle % 0xFFFF) + 1;
        outSentHandle_ = handle;
    }
    return outSentHandle_;
}

void CommPort::setStatusTrigger(int handle, bool activate)
{
    if (handle != outSentHandle_ || handle == 0)
        return;
    outSentArmed_ = activate;
}

void CommPort::fireOutSent()
{
    if (!outSentArmed_)
        return;
    outSentArmed_ = false;
    emit triggerOutSent();
}

void CommPort::serialBytesWritten()
{
    if (serial_->bytesToWrite() == 0)
        checkDrained();
}

void CommPort::checkDrained()
{
    if (!serial_ || !serial_->isOpen() || serial_->bytesToWrite() > 0)
        return;
    const qint64 left = lineFreeAtNs_ - clock_.nsecsElapsed();
    if (left > 0) {
        drainTimer_->start(static_cast<int>((left + 999999) / 1000000));
        return;
    }
    int queued = 0;
    if (::ioctl(serial_->handle(), TIOCOUTQ, &queued) == 0 && queued > 0) {
        drainTimer_->start(1);
        return;
    }
    fireOutSent();
}

void CommPort::socketBytesWritten()
{
    if (socket_->bytesToWrite() == 0 && wsState_ == WsState::Open)
        fireOutSent();
}

QString CommPort::describeTarget() const
{
    return QStringLiteral("%1:%2").arg(wsAddress_.trimmed()).arg(wsPortNumber_);
}

void CommPort::socketConnected()
{
    if (wsState_ != WsState::Connecting)
        return;
    if (socksVersionInUse_ != SocksInfo::Socks4 && socksVersionInUse_ != SocksInfo::Socks4a) {
        wsState_ = WsState::Open;
        emit wsConnect();
        return;
    }
    wsState_ = WsState::Handshake;
    const QString host = wsAddress_.trimmed();
    QHostAddress literal;
    if (literal.setAddress(host) && literal.protocol() == QAbstractSocket::IPv4Protocol) {
        sendSocks4Request(literal.toIPv4Address(), {});
    } else if (socksVersionInUse_ == SocksInfo::Socks4a) {
        // The server resolves the name: 0.0.0.x with x non-zero marks a name that follows.
        sendSocks4Request(1, host.toLatin1());
    } else {
        lookupId_ = QHostInfo::lookupHost(host, this, &CommPort::socks4HostFound);
    }
}

void CommPort::socks4HostFound(const QHostInfo& info)
{
    lookupId_ = -1;
    if (wsState_ != WsState::Handshake)
        return;
    for (const QHostAddress& address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) {
            sendSocks4Request(address.toIPv4Address(), {});
            return;
        }
    }
    failConnect(QAbstractSocket::HostNotFoundError, QStringLiteral("Host %1 not found").arg(wsAddress_.trimmed()));
}

void CommPort::sendSocks4Request(quint32 ipv4, const QByteArray& hostName)
{
    QByteArray request;
    request.append(static_cast<char>(kSocks4Version));
    request.append(static_cast<char>(kSocks4Connect));
    request.append(static_cast<char>(wsPortNumber_ >> 8));
    request.append(static_cast<char>(wsPortNumber_ & 0xFF));
    for (int shift = 24; shift >= 0; shift -= 8)
        request.append(static_cast<char>((ipv4 >> shift) & 0xFF));
    request.append(socks_.userCode.toLatin1());
    request.append('\0');
    if (!hostName.isEmpty()) {
        request.append(hostName);
        request.append('\0');
    }
    socket_->write(request);
}

void CommPort::socketReadyRead()
{
    if (wsState_ == WsState::Open) {
        takeReceived(socket_->readAll());
        return;
    }
    if (wsState_ != WsState::Handshake)
        return;
    handshake_.append(socket_->readAll());
    if (handshake_.size() < kSocks4ReplySize)
        return;
    const auto code = static_cast<quint8>(handshake_[1]);
    if (static_cast<quint8>(handshake_[0]) != 0 || code != kSocks4Granted) {
        failConnect(
            code,
            QStringLiteral("SOCKS server refused the connection to %1 (reply %2)").arg(describeTarget()).arg(code));
        return;
    }
    const QByteArray rest = handshake_.mid(kSocks4ReplySize);
    handshake_.clear();
    wsState_ = WsState::Open;
    emit wsConnect();
    takeReceived(rest);
}

void CommPort::failConnect(int code, const QString& text)
{
    lastError_ = text;
    if (socket_ && socket_->state() != QAbstractSocket::UnconnectedState) {
        wsState_ = WsState::Closed;
        socket_->abort();
    }
    wsState_ = WsState::Closed;
    emit wsError(code, text);
}

void CommPort::socketError()
{
    const auto error = socket_->error();
    if (wsState_ == WsState::Connecting || wsState_ == WsState::Handshake) {
        failConnect(static_cast<int>(error), socket_->errorString());
        return;
    }
    // A connection that ends is reported as a disconnect, not as an error.
    if (wsState_ == WsState::Open && error != QAbstractSocket::RemoteHostClosedError) {
        lastError_ = socket_->errorString();
        emit wsError(static_cast<int>(error), lastError_);
    }
}

void CommPort::socketDisconnected()
{
    if (wsState_ != WsState::Open)
        return;
    wsState_ = WsState::Closed;
    // Whatever arrived before the end still counts.
    if (socket_->bytesAvailable() > 0)
        takeReceived(socket_->readAll());
    emit wsDisconnect();
}
