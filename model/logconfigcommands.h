#pragma once

#include "command.h"

// The six log configuration records between the database and the unit. Both do nothing while
// the window is logged off.
class ReadLogConfig : public Command {
public:
    void Execute() override;
    // True when the last run read all six records.
    bool Succeeded() const { return succeeded_; }

private:
    bool succeeded_ = false;
};

class WriteLogConfig : public Command {
public:
    void Execute() override;
    // True when the last run sent all six records and the unit took every one.
    bool Succeeded() const { return succeeded_; }

private:
    bool succeeded_ = false;
};
