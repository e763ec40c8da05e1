#include "resultframes.h"

#include <QPushButton>
#include <QVBoxLayout>

const PageDecl TfrmIOStatus::kDecl = {
    "frmIOStatus",
    "TabSheetIOStatus",
    "Status ",
    1,
    0,
    {15, true, false},
    {true, false, true, "ExpressRead", true, EntryClose::Busy},
    "Loading Sentrel515 Desktop...Status",
    false,
};

const PageDecl TfraWW::kDecl = {
    "fraWW",
    "TabSheetWW",
    "Analysis",
    0,
    0,
    {0, false, false},
    {false, false, true, nullptr, true, EntryClose::Busy},
    "Loading Sentrel515 Desktop...Analysis",
    false,
};
