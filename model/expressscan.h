#pragma once

#include <array>
#include <cstdint>
#include <unordered_set>
#include <vector>

// The points the page on screen shows: its one-shot read, the poll and the edit paths read it.
class ExpressScan {
public:
    static constexpr int kPageCount = 17;

    ExpressScan();

    void Clear();
    void AddPoint(int pointId);
    void AddSecondary(int pointId);
    void SetPage(int page, bool useAlternate, bool showWait);
    int GetPage() const { return page_; }
    bool ShowsWaitOnRead() const;
    bool Contains(int pointId, bool alternateWanted) const;

    // The list the poll reads: the alternate one where the current page asks for it.
    const std::vector<int>& PolledList() const;
    const std::vector<int>& MainList() const { return main_; }
    const std::vector<int>& AlternateList() const { return alternate_; }

private:
    bool UsesAlternate() const;

    std::vector<int> main_;
    std::vector<int> alternate_;
    // Lookups stay constant-time however long the page's lists grow.
    std::unordered_set<int> mainIds_;
    std::unordered_set<int> alternateIds_;
    std::array<std::uint8_t, kPageCount> useAlternate_{};
    std::array<std::uint8_t, kPageCount> showWait_{};
    int page_ = 0;
};
