#pragma once

#include "command.h"

// The six log configuration records between the database and the unit. Both do nothing while
// the window is logged off.
class ReadLogConfig : public Command {
public:
    // Succeeds when the run read all six records.
    void Execute() override;
};

class WriteLogConfig : public Command {
public:
    // Succeeds when the run sent all six records and the unit took every one.
    void Execute() override;
};
