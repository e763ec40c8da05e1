#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QTimer;

// A plain Hayes modem between a serial client and the unit: AT commands answered with OK (and
// echoed while E1), ATD answered after a delay with CONNECT or the configured failure, frames
// carried both ways while online, "+++" with a guard time around it back to command mode, ATH to
// hang up, and a carrier that the test can drop at any moment ("NO CARRIER"). Lives in the
// emulator's thread; Control is how other threads set it up and watch it.
class HayesModem : public QObject {
public:
    enum class DialAnswer { Connect, Busy, NoCarrier, NoAnswer, NoDialtone };
    enum class State { Command, Dialing, Online, OnlineCommand };

    struct Control {
        std::mutex mutex;
        bool enabled = false;
        std::deque<DialAnswer> answers;  // used up one per dial; none queued: Connect
        int dialDelayMs = 200;
        int connectRate = 9600;
        int guardTimeMs = 1000;
        bool online = false;
        QStringList commands;  // every AT command line received
        QStringList dialled;   // the numbers dialled
        int hangups = 0;       // calls ended by ATH
        int carrierDrops = 0;  // calls ended by a dropped carrier
    };

    // toHost writes to the client's line; toUnit hands data to the unit's side.
    HayesModem(std::shared_ptr<Control> control, std::function<void(const QByteArray&)> toHost,
               std::function<void(const QByteArray&)> toUnit, QObject* parent = nullptr);

    bool enabled() const;
    // Bytes from the client.
    void fromHost(const QByteArray& bytes);
    // The unit's answers reach the client only while the call is up.
    bool carriesData() const { return state_ == State::Online || state_ == State::OnlineCommand; }
    // Ends a call at once, as a line that goes dead does.
    void dropCarrier();

private:
    void commandByte(char c);
    void commandLine(const QByteArray& line);
    void finishDial();
    void escapeGuardPassed();
    void reply(const char* text);
    void setState(State state);

    std::shared_ptr<Control> control_;
    std::function<void(const QByteArray&)> toHost_;
    std::function<void(const QByteArray&)> toUnit_;
    State state_ = State::Command;
    bool echo_ = true;
    QByteArray line_;
    QByteArray pendingPlus_;
    QElapsedTimer sinceData_;
    QTimer* dialTimer_ = nullptr;
    QTimer* escapeTimer_ = nullptr;
    int rate_ = 0;
};
