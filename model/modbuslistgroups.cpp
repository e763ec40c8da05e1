#include "modbuslistgroups.h"

#include "database.h"
#include "databasepoint.h"
#include "modmapadapter.h"

#include <algorithm>

MBPublisher::~MBPublisher() = default;

void MBPublisher::Attach(IMBObserver* observer)
{
    observers_.push_back(observer);
}

void MBPublisher::Detach(IMBObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void MBPublisher::Notify(TMBGProfile profile, int index, const std::string& propertyId, int value)
{
    const auto observers = observers_;
    for (IMBObserver* observer : observers)
        observer->Respond(profile, index, propertyId, value);
}

MBGroup::~MBGroup() = default;

bool MBGroup::IsWritable(int position) const
{
    if (traits_.input || position < 0 || position >= GetCount())
        return false;
    return registers_[position].point && registers_[position].point->IsWritable();
}

int MBGroup::AddPoint(DatabasePoint* point)
{
    return InsertPoint(GetCount(), point);
}

MBGroup* MBGroup::FindByCode(TMBGProfile code)
{
    return code == traits_.code ? this : nullptr;
}

void MBGroup::WriteToImage(ModmapAdapter& adapter) const
{
    for (const MBRegister& reg : registers_)
        adapter.AppendEntry(traits_.code, reg.point, reg.writable != 0);
}

int MBGroup::InsertPoint(int position, DatabasePoint* point)
{
    if (!point)
        return -1;
    position = std::clamp(position, 0, static_cast<int>(registers_.size()));
    registers_.insert(registers_.begin() + position,
                      MBRegister{point, static_cast<std::uint8_t>(point->IsWritable() ? 1 : 0), 0, traits_.format});
    Renumber(position);
    return registers_[position].offset;
}

bool MBGroup::RemoveAt(int position)
{
    if (position < 0 || position >= static_cast<int>(registers_.size()))
        return false;
    registers_.erase(registers_.begin() + position);
    Renumber(position);
    return true;
}

int MBGroup::FindPosition(int offset) const
{
    for (std::size_t i = 0; i < registers_.size(); ++i) {
        if (registers_[i].offset == offset)
            return static_cast<int>(i);
    }
    return -1;
}

int MBGroup::Move(int from, int to)
{
    if (from < 0 || from >= static_cast<int>(registers_.size()))
        return -1;
    const MBRegister moved = registers_[from];
    registers_.erase(registers_.begin() + from);
    to = std::clamp(to, 0, static_cast<int>(registers_.size()));
    registers_.insert(registers_.begin() + to, moved);
    Renumber(std::min(from, to));
    return to;
}

void MBGroup::SetRegisterWritable(int position, bool writable)
{
    if (position >= 0 && position < static_cast<int>(registers_.size()))
        registers_[position].writable = writable ? 1 : 0;
}

int MBGroup::GetRegisterNumber(int position) const
{
    return traits_.baseRegister + LeadingRegisters() + position * traits_.step;
}

void MBGroup::Renumber(int from)
{
    for (std::size_t i = static_cast<std::size_t>(from); i < registers_.size(); ++i)
        registers_[i].offset = static_cast<int>(i) * traits_.step;
}

ExtendedModicon32MBGroup::ExtendedModicon32MBGroup(const MBGroupTraits& traits,
                                                   std::unique_ptr<Modicon32MBSubgroup> shorts,
                                                   std::unique_ptr<Modicon32MBSubgroup> longs,
                                                   std::unique_ptr<Modicon32MBSubgroup> floats)
        : Modicon32MBGroup(traits), subgroups_{std::move(shorts), std::move(longs), std::move(floats)}
{
    for (auto& subgroup : subgroups_)
        subgroup->extended_ = this;
}

ExtendedModicon32MBGroup::~ExtendedModicon32MBGroup() = default;

MBGroup* ExtendedModicon32MBGroup::FindByCode(TMBGProfile code)
{
    for (auto& subgroup : subgroups_) {
        if (MBGroup* found = subgroup->FindByCode(code))
            return found;
    }
    return nullptr;
}

void ExtendedModicon32MBGroup::WriteToImage(ModmapAdapter& adapter) const
{
    for (const auto& subgroup : subgroups_)
        subgroup->WriteToImage(adapter);
}

int ExtendedModicon32MBGroup::GetCount() const
{
    int count = 0;
    for (const auto& subgroup : subgroups_)
        count += subgroup->GetCount();
    return count;
}

void ExtendedModicon32MBGroup::PlaceLoadedEntry(DatabasePoint* point, const ModmapEntry& entry)
{
    int index = -1;
    if (entry.FORMAT == 2 && entry.LSMS == 0)
        index = 0;
    else if (entry.FORMAT == 1 && entry.LSMS == 1)
        index = 1;
    else if (entry.FORMAT == 0 && entry.LSMS == 1)
        index = 2;
    if (index >= 0)
        subgroups_[index]->AddPoint(point);
}

void ExtendedModicon32MBGroup::Clear()
{
    for (auto& subgroup : subgroups_)
        subgroup->Clear();
}

int ExtendedModicon32MBGroup::RegistersBefore(const Modicon32MBSubgroup* subgroup) const
{
    int registers = 0;
    for (const auto& before : subgroups_) {
        if (before.get() == subgroup)
            break;
        registers += before->GetCount() * before->GetStep();
    }
    return registers;
}

InputRegisterExtModicon32MBGroup::InputRegisterExtModicon32MBGroup()
        : ExtendedModicon32MBGroup({0xFF, 30001, 1, -1, true},
                                   std::make_unique<ShortInputRegisterModicon32MBSubgroup>(),
                                   std::make_unique<LongInputRegisterModicon32MBSubgroup>(),
                                   std::make_unique<FloatInputRegisterModicon32MBSubgroup>())
{}

OutputHoldingRegisterExtModicon32MBGroup::OutputHoldingRegisterExtModicon32MBGroup()
        : ExtendedModicon32MBGroup({0xFF, 40001, 1, -1, false},
                                   std::make_unique<ShortOutputHoldingRegisterModicon32MBSubgroup>(),
                                   std::make_unique<LongOutputHoldingRegisterModicon32MBSubgroup>(),
                                   std::make_unique<FloatOutputHoldingRegisterModicon32MBSubgroup>())
{}

MBGroupCollection::~MBGroupCollection() = default;

void MBGroupCollection::WriteToImage(ModmapAdapter& adapter) const
{
    adapter.SetMode(mode_);
    for (const Slot& slot : groups_)
        slot.group->WriteToImage(adapter);
}

void MBGroupCollection::ClearGroups()
{
    for (Slot& slot : groups_)
        slot.group->Clear();
}

MBGroup* MBGroupCollection::FindByCode(TMBGProfile code) const
{
    for (const Slot& slot : groups_) {
        if (MBGroup* found = slot.group->FindByCode(code))
            return found;
    }
    return nullptr;
}

int MBGroupCollection::GetTotalCount() const
{
    int count = 0;
    for (const Slot& slot : groups_)
        count += slot.group->GetCount();
    return count;
}

ModmapHeader MBGroupCollection::CappedHeader(const ModmapHeader& header) const
{
    ModmapHeader capped = header;
    int taken = 0;
    auto cap = [&](int block) {
        ModmapBlock& b = capped.Blocks[block];
        const int room = std::min(modmap::kEntries - static_cast<int>(b.Address), modmap::kEntries - taken);
        b.BlockSize = static_cast<std::uint16_t>(std::clamp(static_cast<int>(b.BlockSize), 0, std::max(room, 0)));
        taken += b.BlockSize;
    };
    bool done[modmap::kBlocks] = {};
    for (const Slot& slot : groups_) {
        if (slot.headerBlock >= 0 && !done[slot.headerBlock]) {
            cap(slot.headerBlock);
            done[slot.headerBlock] = true;
        }
    }
    for (int block = 0; block < modmap::kBlocks; ++block) {
        if (!done[block])
            cap(block);
    }
    return capped;
}

void MBGroupCollection::AddGroup(std::unique_ptr<MBGroup> group, int headerBlock)
{
    groups_.push_back({std::move(group), headerBlock});
}

void MBGroupCollection::LoadBlocks(const ModmapHeader& header, const std::function<ModmapEntry(int)>& entryAt)
{
    const ModmapHeader capped = CappedHeader(header);
    DataBase* database = DataBase::Instance();
    for (const Slot& slot : groups_) {
        if (slot.headerBlock < 0)
            continue;
        const ModmapBlock& block = capped.Blocks[slot.headerBlock];
        for (int e = block.Address; e < block.Address + block.BlockSize; ++e) {
            const ModmapEntry entry = entryAt(e);
            if (DatabasePoint* point = database->GetPointById(entry.UNIQUEID))
                slot.group->PlaceLoadedEntry(point, entry);
        }
    }
}

EnronMBGroupCollection::EnronMBGroupCollection() : MBGroupCollection(modmap::kEnron)
{
    AddGroup(std::make_unique<CoilEnronMBGroup>(), 0);
    AddGroup(std::make_unique<ShortEnronMBGroup>(), 1);
    AddGroup(std::make_unique<LongEnronMBGroup>(), 2);
    AddGroup(std::make_unique<FloatEnronMBGroup>(), 3);
    AddGroup(std::make_unique<ArchiveEnronMBGroup>(), -1);
}

Modicon16MBGroupCollection::Modicon16MBGroupCollection() : MBGroupCollection(modmap::kModicon16)
{
    AddGroup(std::make_unique<OutputStatusModicon16MBGroup>(), 1);
    AddGroup(std::make_unique<InputStatusModicon16MBGroup>(), 0);
    AddGroup(std::make_unique<InputRegisterModicon16MBGroup>(), 2);
    AddGroup(std::make_unique<OutputHoldingRegisterModicon16MBGroup>(), 3);
}

Modicon32MBGroupCollection::Modicon32MBGroupCollection() : MBGroupCollection(modmap::kModicon32)
{
    AddGroup(std::make_unique<OutputStatusModicon32MBGroup>(), 1);
    AddGroup(std::make_unique<InputStatusModicon32MBGroup>(), 0);
    AddGroup(std::make_unique<InputRegisterExtModicon32MBGroup>(), 2);
    AddGroup(std::make_unique<OutputHoldingRegisterExtModicon32MBGroup>(), 3);
}

void EnronMBGroupCollection::LoadFromImage(const ModmapHeader& header, const ModmapAdapter& adapter)
{
    LoadBlocks(header, [&](int e) { return adapter.GetEntry(e); });
}

void Modicon16MBGroupCollection::LoadFromImage(const ModmapHeader& header, const ModmapAdapter& adapter)
{
    LoadBlocks(header, [&](int e) { return adapter.GetEntry(e); });
}

void Modicon32MBGroupCollection::LoadFromImage(const ModmapHeader& header, const ModmapAdapter& adapter)
{
    LoadBlocks(header, [&](int e) { return adapter.GetEntry(e); });
}
