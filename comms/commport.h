#pragma once

#include "commlog.h"

#include <QBasicTimer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>

class QSerialPort;
class QTcpSocket;
class QTimer;
class QHostInfo;

// SOCKS server in front of a TCP link. Version 0 means no proxy.
struct SocksInfo {
    enum Version { None = 0, Socks4 = 1, Socks4a = 2, Socks5 = 3 };
    QString address;
    quint16 port = 0;
    QString userCode;
    QString password;
    int version = None;
};

// The one port of the engine: a serial line (QSerialPort) or a TCP connection (QTcpSocket,
// directly or through a SOCKS server). Received bytes are kept here until the engine takes them;
// tick timers and the "all sent" trigger are the port's, as the engine's timing is built on them.
class CommPort : public QObject {
    Q_OBJECT
public:
    enum class Layer { Serial, Winsock };
    static constexpr int kTickMs = 55;
    // The longest a tick timer can run (about 24.8 days): more would overflow its milliseconds.
    static constexpr int kMaxTimerTicks = std::numeric_limits<int>::max() / kTickMs;
    // How long a TCP connection (with its proxy handshake) may take.
    static constexpr int kConnectTimeoutMs = 10000;

    explicit CommPort(QObject* parent = nullptr);
    ~CommPort() override;

    void setLayer(Layer layer);
    Layer layer() const { return layer_; }

    // Serial line. A port name wins over the number: number n is /dev/ttyS<n-1>.
    void setComNumber(int number) { comNumber_ = number; }
    int comNumber() const { return comNumber_; }
    void setPortName(const QString& name) { portName_ = name; }
    QString portName() const { return portName_; }
    QString serialDeviceName() const;
    void setBaud(int baud);
    int baud() const { return baud_; }
    void setDataBits(int bits);
    int dataBits() const { return dataBits_; }
    // 0 none, 1 odd, 2 even, 3 mark, 4 space.
    void setParity(int parity);
    int parity() const { return parity_; }
    void setStopBits(int bits);
    int stopBits() const { return stopBits_; }

    // TCP: an address and a port number or service name ("telnet").
    void setWsAddress(const QString& address) { wsAddress_ = address; }
    QString wsAddress() const { return wsAddress_; }
    void setWsPort(const QString& port) { wsPort_ = port; }
    QString wsPort() const { return wsPort_; }
    SocksInfo& socks() { return socks_; }
    const SocksInfo& socks() const { return socks_; }

    // Serial: opens at once. TCP: starts connecting and returns true; the outcome arrives as
    // wsConnect or wsError. False (with lastError()) when the port cannot be opened at all.
    bool open();
    void close();
    bool isOpen() const;
    bool isConnecting() const;
    QString lastError() const { return lastError_; }

    // Queues bytes for sending; false when the port is not open.
    bool putBlock(const std::uint8_t* data, int length);
    // Takes up to length received bytes; returns how many.
    int getBlock(std::uint8_t* data, int length);
    int inCount() const { return static_cast<int>(in_.size()); }
    void flushIn();
    void flushOut();

    // Tick timers: one-shot, fire triggerTimer(handle). Handles are non-zero 16-bit numbers.
    int addTimerTrigger();
    bool setTimerTrigger(int handle, int ticks, bool activate);
    void removeTrigger(int handle);
    // The out-sent trigger: once armed, fires triggerOutSent when every queued byte has left
    // the port (for a serial line: the line time of the bytes has passed and the driver's
    // output queue is empty).
    int addStatusTrigger();
    void setStatusTrigger(int handle, bool activate);

    CommLog& log() { return log_; }

    // A layer over the serial line (a modem in its command phase) sees received bytes before
    // the engine does; it removes from the array what it took for itself.
    using ReceiveFilter = std::function<void(QByteArray&)>;
    void setReceiveFilter(ReceiveFilter filter) { receiveFilter_ = std::move(filter); }
    // The modem control lines of an open serial line. setDtr is false when the line has no such
    // lines (a pseudo-terminal); carrierDetect is 1 on, 0 off, -1 unknown.
    bool setDtr(bool on);
    int carrierDetect() const;

    // Seconds a byte takes on the line at the current settings (start, data, parity, stop bits).
    double byteTimeSeconds() const;

    // A port number or a service name as a TCP port; 0 when unknown.
    static quint16 resolveServicePort(const QString& text);

protected:
    void timerEvent(QTimerEvent* event) override;

signals:
    void triggerOutSent();
    void triggerAvail(int count);
    void triggerTimer(int handle);
    void wsConnect();
    void wsDisconnect();
    void wsError(int code, const QString& text);

private:
    enum class WsState { Closed, Connecting, Handshake, Open };

    bool openSerial();
    bool openWinsock();
    void applySerialSettings();
    void serialBytesWritten();
    void checkDrained();
    void socketBytesWritten();
    void socketConnected();
    void socketReadyRead();
    void socketError();
    void socketDisconnected();
    void sendSocks4Request(quint32 ipv4, const QByteArray& hostName);
    void socks4HostFound(const QHostInfo& info);
    void failConnect(int code, const QString& text);
    void scheduleBeat();
    void takeReceived(const QByteArray& bytes);
    // Sends what the system takes at once of a frame on an open TCP link; how many bytes it took.
    int sendDirect(const std::uint8_t* data, int length);
    void fireOutSent();
    QString describeTarget() const;

    Layer layer_ = Layer::Serial;
    int comNumber_ = 1;
    QString portName_;
    int baud_ = 57600;
    int dataBits_ = 8;
    int parity_ = 0;
    int stopBits_ = 1;
    QString wsAddress_;
    QString wsPort_ = QStringLiteral("telnet");
    quint16 wsPortNumber_ = 0;
    SocksInfo socks_;

    QSerialPort* serial_ = nullptr;
    QTcpSocket* socket_ = nullptr;
    WsState wsState_ = WsState::Closed;
    int socksVersionInUse_ = SocksInfo::None;
    QByteArray handshake_;
    int lookupId_ = -1;
    QString lastError_;

    QByteArray in_;
    bool discarding_ = false;
    QElapsedTimer clock_;
    qint64 lineFreeAtNs_ = 0;
    QTimer* drainTimer_ = nullptr;

    // A tick timer: when it is due on the port's clock, and the order it was armed in (timers
    // due together fire in that order).
    struct TickTimer {
        bool armed = false;
        qint64 dueNs = 0;
        quint64 armedOrder = 0;
    };
    // Each exchange arms, re-arms and removes several tick timers, once or twice per block of a
    // download. They are kept here and served by one system timer (the beat), set for the
    // earliest of them only when that one comes sooner than the beat: re-arming a timer for a
    // later time costs nothing, where restarting a system timer each time took a fair part of a
    // block's work.
    std::map<int, TickTimer> timers_;
    QBasicTimer beat_;
    qint64 beatDueNs_ = 0;
    quint64 armCount_ = 0;
    int nextHandle_ = 1;
    int outSentHandle_ = 0;
    bool outSentArmed_ = false;

    CommLog log_;
    ReceiveFilter receiveFilter_;
};
