#include "expressscan.h"

ExpressScan::ExpressScan()
{
    showWait_.fill(1);
}

void ExpressScan::Clear()
{
    main_.clear();
    alternate_.clear();
    mainIds_.clear();
    alternateIds_.clear();
    page_ = 0;
}

void ExpressScan::AddPoint(int pointId)
{
    if (mainIds_.insert(pointId).second)
        main_.push_back(pointId);
}

void ExpressScan::AddSecondary(int pointId)
{
    alternate_.push_back(pointId);
    alternateIds_.insert(pointId);
}

void ExpressScan::SetPage(int page, bool useAlternate, bool showWait)
{
    // Pages outside the table keep no flags but still become current.
    if (page >= 0 && page < kPageCount) {
        useAlternate_[static_cast<std::size_t>(page)] = useAlternate ? 1 : 0;
        showWait_[static_cast<std::size_t>(page)] = showWait ? 1 : 0;
    }
    page_ = page;
}

bool ExpressScan::UsesAlternate() const
{
    return page_ >= 0 && page_ < kPageCount && useAlternate_[static_cast<std::size_t>(page_)] != 0;
}

bool ExpressScan::ShowsWaitOnRead() const
{
    return page_ >= 0 && page_ < kPageCount && showWait_[static_cast<std::size_t>(page_)] != 0;
}

bool ExpressScan::Contains(int pointId, bool alternateWanted) const
{
    if (!alternateWanted || !UsesAlternate())
        return mainIds_.count(pointId) != 0;
    return alternateIds_.count(pointId) != 0;
}

const std::vector<int>& ExpressScan::PolledList() const
{
    return UsesAlternate() ? alternate_ : main_;
}
