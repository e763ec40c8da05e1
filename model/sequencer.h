#pragma once

#include "sequencerconfiguration.h"
#include "sequencerpublisher.h"

// The sequencer block inside the point database: the image last read from the unit, loaded from
// a configuration file or stored by the sequencer page.
class Sequencer : public SPublisher {
public:
    ~Sequencer() override;

    // Takes the unit's block, marks it valid and tells the observers. A failed exchange leaves
    // image and flag as they were.
    void ReadFromUnit();
    // Marks the image valid (a configuration file has set it) and tells the observers.
    void Publish();
    // Sends the image; false without sending while it has never been valid, and false when the
    // unit answered with another message.
    bool WriteToUnit();
    // Drops the steps of streams above the highest stream in use (0 for one stream).
    void TrimToStreams(int highestStream);

    SequencerConfiguration GetImage() const { return image_; }
    // No flag change and no notification.
    void SetImage(const SequencerConfiguration& image) { image_ = image; }
    bool IsValid() const { return valid_; }

    // The image with only the steps of streams 0 .. highestStream, kept in order and packed to
    // the front; depths above the block's room count as the room.
    static SequencerConfiguration Trimmed(const SequencerConfiguration& image, int highestStream);

private:
    SequencerConfiguration image_{};
    bool valid_ = false;
};
