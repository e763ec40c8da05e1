#include "settingsframes.h"

#include "pagehost.h"

#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

const PageDecl TfraBoardTester::kDecl = {
    "fraBoardTester", "TabSheetFC", "Maintenance ", 15, 2,
    {9, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::MaintenanceCaution},
    "Loading Sentrel515 Desktop...Service", false,
};

const PageDecl TfrAnalogInputs::kDecl = {
    "frAnalogInputs", "TabSheetAI", "Analog Input ", 13, 0,
    {14, true, false},
    {true, false, true, "ExpressRead", true, EntryClose::FileButtonsOff},
    "Loading Sentrel515 Desktop...Analog Inputs", false,
};

const PageDecl TfraFactory::kDecl = {
    "fraFactory", "TabSheetBT", "Factory ", 16, 3,
    {8, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Factory", false,
};

const PageDecl TfraModbus::kDecl = {
    "fraModbus", "TabSheetMB", "Modbus ", 12, 1,
    {7, true, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Modbus", false,
};

const PageDecl TfraCommPorts::kDecl = {
    "fraCommPorts", "TabPorts", "Ports", 11, 1,
    {6, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Communication Ports", false,
};

const PageDecl TfraOutput::kDecl = {
    "fraOutput", "TabSheetOutput", "Outputs ", 9, 1,
    {5, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Outputs", false,
};

const PageDecl TfrmInput2::kDecl = {
    "frmInput2", "TabSheetIO2", "Inputs-WET ", 8, 0,
    {13, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel Desktop...Inputs-WET", false,
};

const PageDecl TfraIO::kDecl = {
    "fraIO", "TabSheetIO", "Inputs-DRY ", 7, 1,
    {4, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Inputs-DRY", false,
};

const PageDecl TfraAnalyzerGlobal::kDecl = {
    "fraAnalyzerGlobal", "TabGlobal", "Global ", 5, 1,
    {2, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Global", false,
};

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
