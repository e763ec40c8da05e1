#include "sequencer.h"

#include <algorithm>

SPublisher::~SPublisher() = default;

void SPublisher::Attach(ISObserver* observer)
{
    observers_.push_back(observer);
}

void SPublisher::Detach(ISObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void SPublisher::Notify(int type, const void* st)
{
    // A copy, so that an observer that breaks the rule and detaches cannot pull the list away
    // from under the walk.
    const auto observers = observers_;
    for (ISObserver* observer : observers)
        observer->Respond(type, st);
}

Sequencer::~Sequencer() = default;

void Sequencer::Publish()
{
    valid_ = true;
    Notify(0, &image_);
}

void Sequencer::TrimToStreams(int highestStream)
{
    image_ = Trimmed(image_, highestStream);
}

namespace {
// Copies the steps of streams up to highestStream among the first depth steps to the front of
// to; returns their number. A depth beyond the room counts as the room.
std::uint8_t keepSteps(const SequencerEntry* from, int depth, int room, int highestStream, SequencerEntry* to)
{
    const int steps = std::min(depth, room);
    int kept = 0;
    for (int i = 0; i < steps; ++i) {
        if (from[i].Stream <= highestStream)
            to[kept++] = from[i];
    }
    return static_cast<std::uint8_t>(kept);
}
}  // namespace

SequencerConfiguration Sequencer::Trimmed(const SequencerConfiguration& image, int highestStream)
{
    SequencerConfiguration trimmed{};
    trimmed.Enable = image.Enable;
    trimmed.ManualEnable = image.ManualEnable;
    trimmed.ManualDigitalInput = image.ManualDigitalInput;
    trimmed.Depth =
        keepSteps(image.Automatic, image.Depth, sequencer::kAutomaticSteps, highestStream, trimmed.Automatic);
    for (int m = 0; m < sequencer::kManualSequences; ++m) {
        const ManualSequence& from = image.Manual[m];
        ManualSequence& to = trimmed.Manual[m];
        to.Enable = from.Enable;
        to.LoopEnable = from.LoopEnable;
        to.DigitalInput = from.DigitalInput;
        to.Depth = keepSteps(from.Sequence, from.Depth, sequencer::kManualSteps, highestStream, to.Sequence);
    }
    return trimmed;
}
