#include "settingsframes.h"

const PageDecl TfraBoardTester::kDecl = {
    "fraBoardTester",
    "TabSheetFC",
    "Maintenance ",
    15,
    2,
    {9, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::MaintenanceCaution},
    "Loading Sentrel515 Desktop...Service",
    false,
};

