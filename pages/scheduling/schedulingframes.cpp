#include "schedulingframes.h"

const PageDecl TfrmTimer1::kDecl = {
    "frmTimer1",
    "TabTimer1",
    "Timers ",
    14,
    0,
    {16, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    nullptr,
    false,
};

const PageDecl TfrSequencer::kDecl = {
    "frSequencer",
    "TabSequencer",
    "Sequencer ",
    10,
    0,
    {12, false, true},
    {true, true, true, "ExpressRead", false, EntryClose::None},
    "Loading Sentrel515 Desktop...Sequencer",
    false,
};
