#include "pageframetable.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace {
PageFrameTable* gTable = nullptr;
HelpInfo* gHelpInfo = nullptr;
}  // namespace

PageFrameTable* PageFrameTable::Instance()
{
    if (!gTable)
        gTable = new PageFrameTable;
    return gTable;
}

void PageFrameTable::ReleaseInstance()
{
    delete gTable;
    gTable = nullptr;
}

void PageFrameTable::SetFrame(QWidget* frame, int pageIndex)
{
    if (pageIndex >= 0 && pageIndex < kSize)
        frames_[pageIndex] = frame;
}

QWidget* PageFrameTable::Frame(int pageIndex) const
{
    return pageIndex >= 0 && pageIndex < kSize ? frames_[pageIndex] : nullptr;
}

void PageFrameTable::AttachFrame(int pageIndex)
{
    QWidget* frame = Frame(pageIndex);
    QWidget* sheet = pageControl_ ? pageControl_->widget(pageIndex) : nullptr;
    if (!frame || !sheet)
        return;
    auto* layout = qobject_cast<QVBoxLayout*>(sheet->layout());
    if (!layout) {
        layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(frame);
}

int PageFrameTable::ActivePageIndex() const
{
    return pageControl_ ? pageControl_->currentIndex() : -1;
}

HelpInfo* HelpInfo::Instance()
{
    if (!gHelpInfo)
        gHelpInfo = new HelpInfo;
    return gHelpInfo;
}

void HelpInfo::ReleaseInstance()
{
    delete gHelpInfo;
    gHelpInfo = nullptr;
}
