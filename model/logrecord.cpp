#include "logrecord.h"

#include <algorithm>
#include <memory>

namespace {
std::unique_ptr<UniqueLogID>& instanceSlot()
{
    static std::unique_ptr<UniqueLogID> instance;
    return instance;
}

constexpr int kCodeStep = 8;
constexpr int kCodeLimit = 256;
}  // namespace

UniqueLogID* UniqueLogID::Instance()
{
    auto& slot = instanceSlot();
    if (!slot)
        slot.reset(new UniqueLogID);
    return slot.get();
}

void UniqueLogID::ReleaseInstance()
{
    instanceSlot().reset();
}

void UniqueLogID::Clear()
{
    codes_.clear();
}

void UniqueLogID::Add(int code)
{
    if (!Contains(code))
        codes_.push_back(code);
}

bool UniqueLogID::Contains(int code) const
{
    return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}

int UniqueLogID::NextFreeId(int code) const
{
    int next = code + kCodeStep;
    while (next < kCodeLimit && Contains(next))
        next += kCodeStep;
    return next < kCodeLimit ? next : LowestFreeId();
}

int UniqueLogID::LowestFreeId() const
{
    int next = 1 + kCodeStep;
    while (Contains(next))
        next += kCodeStep;
    return next;
}
