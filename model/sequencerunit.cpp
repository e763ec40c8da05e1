#include "commdbpointfacade.h"
#include "sequencer.h"

void Sequencer::ReadFromUnit()
{
    image_ = unitrecord::fromBytes<SequencerConfiguration>(CommDBPointFacade::Instance()->ReadSequencerConfig());
    valid_ = true;
    Notify(0, &image_);
}

bool Sequencer::WriteToUnit()
{
    if (!valid_)
        return false;
    return CommDBPointFacade::Instance()->WriteSequencerConfig(unitrecord::toBytes(image_));
}
