#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "commport.h"
class QTimer;

// The telephony device of a modem link: a Hayes AT-command layer over the engine's serial port.
// It opens the port itself, initialises the modem, dials with the configured attempts and pause
// between them, recognises CONNECT and the failure answers, hands the line to the frame engine
// once connected, notices the loss of the carrier and hangs up. Every wait it makes is bounded.
//
// While the modem is in its command phase its answers are taken off the port before the engine
// sees them; once connected only a "NO CARRIER" report (or a falling carrier-detect line, where
// the port has one) is taken as the end of the call.
class ModemDevice : public QObject {
    Q_OBJECT
public:
    // The call's state; Connected is the telephony package's "connected" (8).
    enum TapiState { Idle = 0, Initializing = 1, Dialing = 2, WaitingToRedial = 3, Connected = 8, HangingUp = 9 };
    // Results of Dial other than 0.
    enum DialError { DialBusy = 1, DialNoNumber = 2, DialPortFailed = 3 };

    static constexpr const char* kDefaultInitCommand = "ATE0V1&C1&D2";
    static constexpr const char* kLogFileName = "APROTAPI.HIS";

    explicit ModemDevice(CommPort* port, QObject* parent = nullptr);
    ~ModemDevice() override;

    // Starts a call to number: 0 when dialling has begun (the outcome arrives as tapiConnect or
    // tapiFail), else a DialError with lastError() telling why.
    int Dial(const QString& number);
    // Ends the call, whatever its phase: a call being set up is abandoned, a connected one is
    // hung up (DTR dropped; where the line cannot carry that, the escape sequence and ATH).
    // Waits at most a few seconds.
    void CancelCall();
    int GetTapiState() const { return state_; }
    // The last call ended without a connection (the device has given up).
    bool stopped() const { return stopped_; }
    bool portOpen() const { return portOpen_; }
    int connectionRate() const { return rate_; }
    QString lastError() const { return lastError_; }
    // The text of the modem's last final answer to a dial ("BUSY", "NO CARRIER", ...).
    QString lastResult() const { return lastResult_; }

    // The device is the serial line the modem hangs on.
    QString selectedDevice() const;
    void setSelectedDevice(const QString& device);

    void setMaxAttempts(int attempts);
    int maxAttempts() const { return maxAttempts_; }
    void setRetryWaitSeconds(int seconds);
    int retryWaitSeconds() const { return retryWaitSeconds_; }
    // The command sent after "AT" before each dial; empty sends none. Kept in the settings store.
    void setInitCommand(const QString& command);
    QString initCommand() const { return initCommand_; }
    // The call history file; empty writes none.
    void setLogFile(const QString& path) { logFile_ = path; }
    QString logFile() const { return logFile_; }
    // Where the history goes when the log is switched on: the data directory.
    static QString defaultLogPath();

    // Times of the modem dialogue, in milliseconds: the answer to a command, the answer to a
    // dial (the modem's own wait for a carrier is shorter), the silence around the escape.
    void setCommandTimeoutMs(int ms) { commandTimeoutMs_ = ms; }
    void setAnswerTimeoutMs(int ms) { answerTimeoutMs_ = ms; }
    void setGuardTimeMs(int ms) { guardTimeMs_ = ms; }
    int guardTimeMs() const { return guardTimeMs_; }
    // The longest a call can take to succeed or give up.
    qint64 worstCaseMs() const;

signals:
    void tapiPortOpen();
    void tapiPortClose();
    void tapiConnect();
    void tapiFail();
    // Call progress, for the status line.
    void tapiStatus(const QString& text);

private:
    void filterReceived(QByteArray& bytes);
    void takeLines(QByteArray& bytes);
    void handleLine(const QString& line);
    void startAttempt();
    void sendCommand(const QString& command, int timeoutMs);
    void commandTimedOut();
    void attemptFailed(const QString& reason);
    void giveUp(const QString& reason);
    void connected(const QString& line);
    void carrierLost();
    void pollCarrier();
    void hangUp();
    bool waitForReply(int timeoutMs);
    void closePort();
    void progress(const QString& text);

    QPointer<CommPort> port_;
    QTimer* timer_ = nullptr;
    QTimer* carrierPoll_ = nullptr;
    int state_ = Idle;
    bool stopped_ = false;
    bool portOpen_ = false;
    bool ownsPort_ = false;
    int rate_ = 0;
    int attempt_ = 0;
    int maxAttempts_ = 2;
    int retryWaitSeconds_ = 30;
    int commandTimeoutMs_ = 3000;
    int answerTimeoutMs_ = 90000;
    int guardTimeMs_ = 1000;
    QString number_;
    QString initCommand_;
    QString logFile_;
    QString lastError_;
    QString lastResult_;
    QString lastCommand_;
    QStringList pendingCommands_;
    QByteArray lineBuffer_;
    QByteArray dataTail_;
    bool dropLeadingLf_ = false;
    bool gotReply_ = false;
    QString replyLine_;
};
