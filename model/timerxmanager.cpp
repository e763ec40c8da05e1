#include "timerxmanager.h"

#include <cstring>

TimerXManager::~TimerXManager() = default;

void TimerXManager::SetImage(const TimerXConfiguration& image)
{
    if (std::memcmp(&image, &image_, sizeof image) != 0)
        dirty_ = true;
    image_ = image;
}

void TimerXManager::TrimToStreams(int highestStream)
{
    // Six runs per stream: the bits of streams 1 .. highestStream + 1.
    static constexpr std::uint32_t kMasks[] = {0x3F, 0xFFF, 0x3FFFF, 0xFFFFFF};
    if (highestStream >= 0 && highestStream <= 3) {
        for (TimerXEntry& timer : image_.Timers) {
            if (timer.SequencerEnable != 0) {
                timer.Analysis &= kMasks[highestStream];
                dirty_ = true;
            }
        }
    }
    Notify(0, &image_);
}

void TimerXManager::Publish()
{
    valid_ = true;
    Notify(0, &image_);
}
