#pragma once

#include <array>

class QTabWidget;
class QWidget;

// The page frames by page index (the index of their tab sheet in the main page control).
class PageFrameTable {
public:
    static constexpr int kSize = 20;

    static PageFrameTable* Instance();
    static void ReleaseInstance();

    void SetPageControl(QTabWidget* pageControl) { pageControl_ = pageControl; }
    QTabWidget* PageControl() const { return pageControl_; }
    // Indexes outside the table are ignored.
    void SetFrame(QWidget* frame, int pageIndex);
    QWidget* Frame(int pageIndex) const;
    // Makes the tab sheet at the index the frame's parent, filling it.
    void AttachFrame(int pageIndex);
    // -1 without a page control.
    int ActivePageIndex() const;

private:
    PageFrameTable() = default;

    std::array<QWidget*, kSize> frames_{};
    QTabWidget* pageControl_ = nullptr;
};

// What the help system would need: a flag that nothing sets (there is no help viewer) and the
// application's help file name, kept as data.
class HelpInfo {
public:
    static HelpInfo* Instance();
    static void ReleaseInstance();

    bool Enabled() const { return enabled_; }
    void SetHelpFile(const char* fileName) { helpFile_ = fileName; }
    const char* HelpFile() const { return helpFile_; }

private:
    HelpInfo() = default;

    bool enabled_ = false;
    const char* helpFile_ = nullptr;
};
