#pragma once

#include "hayesmodem.h"
#include "messagehandler.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QThread;
class EmulatorWorker;

// The emulated unit on the wire: listens on a loopback TCP port and on a pseudo-terminal, takes
// the frames addressed to its station (or to all stations), hands their messages to a
// MessageHandler and frames the answers. It runs in its own thread with its own event loop, so
// a caller may block its own thread (or pump it) while the unit answers.
//
// Faults are queued and each one is used up by the next well-formed frame for the station.
// Every frame received (well-formed or not, for the station or not) is recorded with its time.
class UnitEmulator {
public:
    using Clock = std::chrono::steady_clock;

    struct Fault {
        enum class Kind {
            Silence,    // no answer
            BadCrc,     // the answer with its CRC spoilt
            Reject,     // the rejection answer: message [0x02][0xFF]
            ExtraByte,  // the answer followed by one more byte, in the same write
            Chunks,     // the answer in pieces of chunkSize bytes, gapMs apart
            Late,       // the answer delayMs later than usual
            Drop,       // the TCP connection closed instead of an answer (silence on the pty)
        };
        Kind kind = Kind::Silence;
        int chunkSize = 1;
        int gapMs = 0;
        int delayMs = 0;
    };

    enum class LinkKind { Tcp, Pty };

    // A TCP gateway in front of the unit, speaking plain text: "CCICommand,CRC" asks for its
    // connections (answer "CCIC" and each connection's name ended by a comma); "CCIS" and a
    // connection's name selects it (answer "CCIA" and its address in decimal). Until a
    // connection of it has been selected, a TCP link's frames reach no unit.
    struct Gateway {
        struct Connection {
            QByteArray name;
            int address = 1;
        };
        std::vector<Connection> connections;
        int chunkSize = 0;  // answers in pieces of this many bytes (0: whole) ...
        int gapMs = 0;      // ... this far apart
    };

    struct ReceivedFrame {
        LinkKind link = LinkKind::Tcp;
        QByteArray bytes;
        Clock::time_point receivedAt;  // when its last byte arrived (after the line time when paced)
        bool crcOk = false;
        bool forUs = false;  // addressed to the station or to all stations
        bool answered = false;
        Clock::time_point answeredAt;  // when the last byte of the answer was handed to the link
    };

    explicit UnitEmulator(std::unique_ptr<MessageHandler> handler, std::uint8_t station = 1);
    ~UnitEmulator();
    UnitEmulator(const UnitEmulator&) = delete;
    UnitEmulator& operator=(const UnitEmulator&) = delete;

    // Opens the TCP listener (port 0: any free port) and the pseudo-terminal; false when either fails.
    bool start(quint16 tcpPort = 0);
    void stop();

    quint16 tcpPort() const { return tcpPort_; }
    // The pseudo-terminal's slave device, the path a serial client opens.
    QString ptyPath() const { return ptyPath_; }

    void setStation(std::uint8_t station);
    std::uint8_t station() const;
    // Paces both directions at this rate, 10 bits a byte; 0 (the default) sends at once.
    void setBaudRate(int baud);
    // The unit's own time between a request's last byte and its answer.
    void setTurnaroundMs(int ms);

    void injectFault(const Fault& fault, int times = 1);
    void silence(int times) { injectFault({Fault::Kind::Silence}, times); }
    void clearFaults();
    int pendingFaults() const;

    std::vector<ReceivedFrame> frames() const;
    int frameCount() const;
    void clearFrames();
    // Waits until at least count frames have been recorded.
    bool waitForFrames(int count, int timeoutMs) const;
    // TCP connections accepted so far.
    int connectionsAccepted() const;

    // Puts the gateway in front of the unit on TCP links (nothing: no gateway).
    void setGateway(std::optional<Gateway> gateway);
    // Every gateway text received, in order: whole commands, and any other text beginning
    // "CCI" as it arrived.
    std::vector<QByteArray> gatewayTexts() const;
    // Modem mode: the pseudo-terminal is a Hayes modem in front of the unit (frames pass only
    // while a call is up). Dials are answered after the dial delay with the queued answers, one
    // per dial, and CONNECT when none is queued. The guard time is the silence around "+++".
    using DialAnswer = HayesModem::DialAnswer;
    void setModemMode(bool on);
    void queueDialAnswer(DialAnswer answer, int times = 1);
    void setDialDelayMs(int ms);
    void setConnectRate(int rate);
    void setModemGuardTimeMs(int ms);
    // Ends the call now, as a dead line does: the client gets "NO CARRIER".
    void dropCarrier();
    bool modemOnline() const;
    QStringList modemCommands() const;
    QStringList modemDialled() const;
    int modemHangups() const;
    int modemCarrierDrops() const;

private:
    friend class EmulatorWorker;

    struct Shared {
        mutable std::mutex mutex;
        mutable std::condition_variable changed;
        std::uint8_t station = 1;
        int baud = 0;
        int turnaroundMs = 0;
        std::deque<Fault> faults;
        std::vector<ReceivedFrame> frames;
        std::vector<std::uint64_t> frameIds;  // parallel to frames
        int connections = 0;
        std::optional<Gateway> gateway;
        std::vector<QByteArray> gatewayTexts;
    };

    std::shared_ptr<Shared> shared_;
    std::shared_ptr<HayesModem::Control> modem_;
    std::unique_ptr<MessageHandler> handler_;
    QThread* thread_ = nullptr;
    EmulatorWorker* worker_ = nullptr;
    quint16 tcpPort_ = 0;
    QString ptyPath_;
};
