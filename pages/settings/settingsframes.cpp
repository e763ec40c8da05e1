#include "settingsframes.h"

#include "pagehost.h"

#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

const PageDecl TfrAnalogInputs::kDecl = {
    "frAnalogInputs",
    "TabSheetAI",
    "Analog Input ",
    13,
    0,
    {14, true, false},
    {true, false, true, "ExpressRead", true, EntryClose::FileButtonsOff},
    "Loading Sentrel515 Desktop...Analog Inputs",
    false,
};

const PageDecl TfraFactory::kDecl = {
    "fraFactory",
    "TabSheetBT",
    "Factory ",
    16,
    3,
    {8, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Factory",
    false,
};

const PageDecl TfraModbus::kDecl = {
    "fraModbus",
    "TabSheetMB",
    "Modbus ",
    12,
    1,
    {7, true, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Modbus",
    false,
};

const PageDecl TfraCommPorts::kDecl = {
    "fraCommPorts",
    "TabPorts",
    "Ports",
    11,
    1,
    {6, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Communication Ports",
    false,
};

TfraFactory::TfraFactory(QWidget* parent) : TPageFrame(kDecl, parent)
{
    auto* layout = new QVBoxLayout(this);
    notice_ = new QLabel("Only authorized user can access this page", this);
    notice_->setObjectName("lblNotice");
    layout->addWidget(notice_);
    auto* qcDoc = new QToolButton(this);
    qcDoc->setObjectName("btnQCDoc");
    qcDoc->setText("Analyzer Configuration and Q.C.Documentation");
    qcDoc->setToolTip("For the manufacturer only");
    connect(qcDoc, &QToolButton::clicked, this, &TfraFactory::btnQCDocClick);
    layout->addWidget(qcDoc, 0, Qt::AlignLeft);
    layout->addStretch();
    ShowControls(false);
}

void TfraFactory::btnQCDocClick()
{
    PageHost::Instance()->ShowWindow("QCForm");
}

void TfraFactory::ShowControls(bool show)
{
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != notice_)
            child->setVisible(show);
    notice_->setVisible(!show);
    notice_->setEnabled(!show);
}
