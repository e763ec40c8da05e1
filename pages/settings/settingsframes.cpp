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
