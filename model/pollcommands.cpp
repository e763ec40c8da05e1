#include "pollcommands.h"

#include "activeobjectengine.h"

bool StopPolling = false;

PeriodicPollCommand::PeriodicPollCommand(MyActiveObjectEngine* engine)
{
    engine_ = engine;
    engine_->SetPollingEnabled(false);
    timer_.setInterval(kIntervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { OnTimer(); });
}

void PeriodicPollCommand::Execute()
{
    if (!StopPolling && engine_->IsPollingEnabled())
        timer_.start();
    else
        timer_.stop();
}

void PeriodicPollCommand::OnTimer()
{
    if (StopPolling || !engine_->IsPollingEnabled()) {
        timer_.stop();
        return;
    }
    // Never more than one poll read waits in the queue.
    if (engine_->GetQueueCount() >= 1)
        return;
    engine_->ExecuteCommand("ExpressRead2", "");
}

void StopPollCommand::Execute()
{
    engine_->SetPollingEnabled(stop_ == 0);
}
