#pragma once

#include "command.h"

#include <cstdint>

// The reads of point values: the page in front once ("ExpressRead"), the poll ("ExpressRead2"),
// everything ("ReadFull") and one point ("ReadSinglePoint").
class ExpressReadCommand : public Command {
public:
    void Execute() override;
};

class ExpressRead2Command : public Command {
public:
    void Execute() override;
};

class ReadFullCommand : public Command {
public:
    void Execute() override;
};

class ReadSinglePointCommand : public Command {
public:
    void Execute() override;
    void SetPointId(std::uint16_t pointId) { pointId_ = pointId; }
    std::any SaveFields() const override { return pointId_; }
    void LoadFields(const std::any& fields) override { pointId_ = std::any_cast<std::uint16_t>(fields); }

private:
    std::uint16_t pointId_ = 0;
};

// The reads share what a failed read does: tell the user, forget what was read, refuse further
// exchanges, close the link and show the window logged off.
void HandleReadFailure(FrameComm* frame, int status);
