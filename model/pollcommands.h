#pragma once

#include "command.h"

#include <QTimer>

// Stops every poll: set at exit and after a logon whose read failed, cleared at each logon.
extern bool StopPolling;

// Switches the poll timer on when polling is enabled; each tick queues the poll read.
class PeriodicPollCommand : public PollingCommand {
public:
    static constexpr int kIntervalMs = 2000;

    explicit PeriodicPollCommand(MyActiveObjectEngine* engine);
    void Execute() override;
    void OnTimer();
    QTimer& Timer() { return timer_; }

private:
    QTimer timer_;
};

class StopPollCommand : public Command {
public:
    explicit StopPollCommand(MyActiveObjectEngine* engine) : engine_(engine) {}
    void Execute() override;
    void SetEnable(bool enable) { stop_ = enable ? 0 : 1; }
    std::any SaveFields() const override { return stop_; }
    void LoadFields(const std::any& fields) override { stop_ = std::any_cast<std::uint8_t>(fields); }

private:
    std::uint8_t stop_ = 0;
    MyActiveObjectEngine* engine_;
};
