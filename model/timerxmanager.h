#pragma once

#include "sequencerpublisher.h"
#include "timerxconfiguration.h"

// The twelve timers inside the point database. Dirty while the image differs from what was last
// exchanged with the unit.
class TimerXManager : public SPublisher {
public:
    ~TimerXManager() override;

    // Takes the unit's block: clean, valid, observers told. A failed exchange changes nothing.
    void ReadFromUnit();
    // Sends the image while it is valid; true when the unit took it. The block stays dirty when
    // the unit answered with another message, so that the next write sends it again.
    bool WriteToUnit();
    // Dirty when any byte differs (a dirty block stays dirty); no notification.
    void SetImage(const TimerXConfiguration& image);
    // Limits the analysis masks of the timers that start sequences to the streams in use, marks
    // the block dirty and tells the observers. Values outside 0-3 change nothing.
    void TrimToStreams(int highestStream);
    void Publish();

    TimerXConfiguration GetImage() const { return image_; }
    bool IsDirty() const { return dirty_; }
    bool IsValid() const { return valid_; }

private:
    bool dirty_ = false;
    TimerXConfiguration image_{};
    bool valid_ = false;
};
