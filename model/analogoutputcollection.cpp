#include "analogoutputcollection.h"

#include "ridovaz.h"

namespace {
AnalogOutputCollection* gCollection = nullptr;
}

AnalogOutputCollection* AnalogOutputCollection::Instance()
{
    if (!gCollection)
        gCollection = new AnalogOutputCollection;
    return gCollection;
}

void AnalogOutputCollection::ReleaseInstance()
{
    delete gCollection;
    gCollection = nullptr;
}

void AnalogOutputCollection::Build()
{
    items_.clear();
    const RidovazInterface* map = RidovazManager::Instance()->GetMap();
    for (int i = 0; i < map->GetCount(); ++i) {
        const auto index = static_cast<std::uint16_t>(i);
        if (map->GetUsageFlags(index) & ridovaz::kUseAnalogOutChoice)
            items_.push_back(std::make_unique<ANALOGOUTPUT_INFO>(
                ANALOGOUTPUT_INFO{GetCount(), map->GetPointId(index), map->GetName(index)}));
    }
}

const ANALOGOUTPUT_INFO* AnalogOutputCollection::GetItem(int ordinal) const
{
    if (ordinal < 0 || ordinal >= GetCount())
        return nullptr;
    return items_[static_cast<std::size_t>(ordinal)].get();
}

int AnalogOutputCollection::GetOrdinalById(int pointId) const
{
    for (const auto& item : items_)
        if (item->pointId == pointId)
            return item->ordinal;
    return -1;
}

int AnalogOutputCollection::GetIdByOrdinal(int ordinal) const
{
    for (const auto& item : items_)
        if (item->ordinal == ordinal)
            return item->pointId;
    return -1;
}
