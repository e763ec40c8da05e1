#pragma once

#include <any>
#include <string>

class FrameComm;
class MyActiveObjectEngine;

// One operation on the unit, registered once under its name and reused for every queuing.
class Command {
public:
    virtual ~Command() = default;
    virtual void Execute() = 0;
    void SetParam(const std::string& param) { param_ = param; }
    const std::string& GetParam() const { return param_; }
    void SetFrameComm(FrameComm* frame) { frame_ = frame; }

    // A command with data beyond its parameter hands a copy of it to the queue entry, and takes
    // it back when that entry runs, so two queued uses of one command keep their own data.
    virtual std::any SaveFields() const { return {}; }
    virtual void LoadFields(const std::any&) {}

protected:
    FrameComm* frame() const { return frame_; }

private:
    FrameComm* frame_ = nullptr;
    std::string param_;
};

class PollingCommand : public Command {
protected:
    MyActiveObjectEngine* engine_ = nullptr;
};
