#include "settingsframes.h"

#include <QLabel>
#include <QVBoxLayout>

void TfraIO::RegisterPoints()
{
    TPageFrame::RegisterPoints();
    CautionBox("Inputs-DRY");
}

void TfrmInput2::RegisterPoints()
{
    TPageFrame::RegisterPoints();
    CautionBox("Inputs-WET");
}

void TfraOutput::RegisterPoints()
{
    TPageFrame::RegisterPoints();
    CautionBox("Outputs");
}

TfraFactory::TfraFactory(QWidget* parent) : TPageFrame("fraFactory", {8, false, true}, parent)
{
    auto* layout = new QVBoxLayout(this);
    notice_ = new QLabel("Only authorized user can access this page", this);
    notice_->setObjectName("lblNotice");
    layout->addWidget(notice_);
    layout->addStretch();
    ShowControls(false);
}

void TfraFactory::ShowControls(bool show)
{
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != notice_)
            child->setVisible(show);
    notice_->setVisible(!show);
    notice_->setEnabled(!show);
}
