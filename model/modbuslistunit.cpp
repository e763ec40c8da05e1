#include "commdbpointfacade.h"
#include "modbuslist.h"

void ModbusList::LoadFromUnit()
{
    adapter().ClearImage();
    header_ = unitrecord::fromBytes<ModmapHeader>(CommDBPointFacade::Instance()->ReadModmapHeader());
    SelectMode(header_.mode);
    header_ = collection_->CappedHeader(header_);
    collection_->ReadFromUnit(header_);
    RebuildImage();
    Notify(0, 1, "loadFromUnit", 0);
}

void ModbusList::UploadToUnit()
{
    collection_->UploadToUnit(adapter());
}

namespace {
ModmapEntry readEntry(int index)
{
    const ModmapEntryAnswer answer = CommDBPointFacade::Instance()->ReadModmapEntry(static_cast<std::uint16_t>(index));
    return unitrecord::fromBytes<ModmapEntry>(answer.entry);
}
}  // namespace

void MBGroupCollection::Upload(const ModmapAdapter& adapter, bool zeroHeaderFirst) const
{
    CommDBPointFacade* facade = CommDBPointFacade::Instance();
    const ModmapHeaderBytes zeroHeader{};
    if (zeroHeaderFirst)
        facade->WriteModmapHeader(zeroHeader);
    ModmapHeader header{};
    header.mode = mode_;
    int running = 0;
    for (const Slot& slot : groups_) {
        const int count = slot.group->GetCount();
        if (slot.headerBlock >= 0)
            header.Blocks[slot.headerBlock] = {static_cast<std::uint16_t>(running), static_cast<std::uint16_t>(count)};
        for (int j = 0; j < count; ++j) {
            const int index = running + j;
            facade->WriteModmapEntry(static_cast<std::uint16_t>(index), unitrecord::toBytes(adapter.GetEntry(index)));
        }
        running += count;
    }
    if (!zeroHeaderFirst)
        facade->WriteModmapHeader(zeroHeader);
    facade->WriteModmapHeader(unitrecord::toBytes(header));
}

void EnronMBGroupCollection::ReadFromUnit(const ModmapHeader& header)
{
    LoadBlocks(header, readEntry);
}
void Modicon16MBGroupCollection::ReadFromUnit(const ModmapHeader& header)
{
    LoadBlocks(header, readEntry);
}
void Modicon32MBGroupCollection::ReadFromUnit(const ModmapHeader& header)
{
    LoadBlocks(header, readEntry);
}

// ENRON and MODICON16 clear the unit's header before the entries, MODICON32 after them.
void EnronMBGroupCollection::UploadToUnit(const ModmapAdapter& adapter)
{
    Upload(adapter, true);
}
void Modicon16MBGroupCollection::UploadToUnit(const ModmapAdapter& adapter)
{
    Upload(adapter, true);
}
void Modicon32MBGroupCollection::UploadToUnit(const ModmapAdapter& adapter)
{
    Upload(adapter, false);
}
