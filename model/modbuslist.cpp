#include "modbuslist.h"

#include "databasepoint.h"

#include <cstring>

ModbusList::ModbusList() : collection_(std::make_unique<EnronMBGroupCollection>())
{
    ModmapAdapter::Instance();
}

ModbusList::~ModbusList()
{
    collection_.reset();
    ModmapAdapter::ReleaseInstance();
}

void ModbusList::SelectMode(int mode)
{
    switch (mode) {
    case modmap::kEnron:
        collection_ = std::make_unique<EnronMBGroupCollection>();
        break;
    case modmap::kModicon16:
        collection_ = std::make_unique<Modicon16MBGroupCollection>();
        break;
    case modmap::kModicon32:
        collection_ = std::make_unique<Modicon32MBGroupCollection>();
        break;
    default:
        collection_ = std::make_unique<MBGroupCollection>(static_cast<std::uint8_t>(mode));
        break;
    }
}

void ModbusList::LoadFromImage(const ModmapImage& image)
{
    ModmapImage laidOut = image;
    std::memcpy(laidOut.Header.Blocks, header_.Blocks, sizeof laidOut.Header.Blocks);
    adapter().SetImage(laidOut);
    SelectMode(header_.mode);
    collection_->LoadFromImage(header_, adapter());
    RebuildImage();
    Notify(0, 1, "loadFromUnit", 0);
}

void ModbusList::RebuildImage()
{
    adapter().ClearImage();
    collection_->WriteToImage(adapter());
}

int ModbusList::LoadFromFile(const QString& fileName)
{
    const int result = adapter().LoadFile(fileName);
    if (result == 0) {
        SelectMode(adapter().GetMode());
        RebuildGroupsFromImage();
    }
    return result;
}

int ModbusList::SaveToFile(const QString& fileName)
{
    RebuildImage();
    return adapter().SaveFile(fileName);
}

void ModbusList::RebuildGroupsFromImage()
{
    for (int i = 0; i < adapter().GetEntryCount(); ++i) {
        DatabasePoint* point = adapter().GetEntryPoint(i);
        MBGroup* group = collection_->FindByCode(adapter().GetEntryProfile(i));
        if (!point || !group)
            continue;
        const int offset = group->AddPoint(point);
        const int position = group->FindPosition(offset);
        if (position >= 0)
            group->SetRegisterWritable(position, adapter().IsEntryWritable(i));
    }
}

int ModbusList::AddPoint(DatabasePoint* point, TMBGProfile code)
{
    MBGroup* group = collection_->FindByCode(code);
    // The image has room for 100 entries; a register past them could be neither shown nor sent.
    if (!group || collection_->GetTotalCount() >= modmap::kEntries)
        return -1;
    return group->AddPoint(point);
}

void ModbusList::RemovePoint(TMBGProfile code, int offset)
{
    if (MBGroup* group = collection_->FindByCode(code))
        group->RemoveAt(group->FindPosition(offset));
}

int ModbusList::MovePoint(TMBGProfile fromCode, int from, TMBGProfile toCode, int to)
{
    MBGroup* source = collection_->FindByCode(fromCode);
    MBGroup* target = collection_->FindByCode(toCode);
    if (!source || !target)
        return -1;
    if (source == target) {
        const int position = source->Move(from, to);
        return position < 0 ? -1 : source->GetRegisters()[position].offset;
    }
    const int position = source->FindPosition(from);
    if (position < 0)
        return -1;
    DatabasePoint* point = source->GetRegisters()[position].point;
    source->RemoveAt(position);
    return target->InsertPoint(to, point);
}

void ModbusList::Reset()
{
    collection_->ClearGroups();
    adapter().ClearImage();
}

void ModbusList::Attach(IMBObserver* observer)
{
    MBPublisher::Attach(observer);
    for (int i = 0; i < collection_->GetGroupCount(); ++i)
        collection_->GetGroup(i)->Attach(observer);
}
