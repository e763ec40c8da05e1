#include "commdbpointfacade.h"
#include "timerxmanager.h"

void TimerXManager::ReadFromUnit()
{
    image_ = unitrecord::fromBytes<TimerXConfiguration>(CommDBPointFacade::Instance()->ReadTimerConfig());
    dirty_ = false;
    valid_ = true;
    Notify(0, &image_);
}

bool TimerXManager::WriteToUnit()
{
    if (!valid_)
        return false;
    const bool taken = CommDBPointFacade::Instance()->WriteTimerConfig(unitrecord::toBytes(image_));
    if (taken)
        dirty_ = false;
    return taken;
}
