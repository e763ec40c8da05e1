#include "resultframes.h"

#include <QPushButton>
#include <QVBoxLayout>

TfraArchiveViewer::TfraArchiveViewer(QWidget* parent) : TPageFrame("fraArchiveViewer", {1, false, true}, parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* logSetup = new QPushButton("Log Setup", this);
    logSetup->setObjectName("btnLogSetup");
    layout->addWidget(logSetup);
    layout->addStretch();
    SetReadOnly(true);
}

void TfraArchiveViewer::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (auto* logSetup = findChild<QPushButton*>("btnLogSetup"))
        logSetup->setEnabled(!readOnly);
}
