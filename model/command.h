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

    // Whether the last run did the command's work, for a caller that goes on only after it (the
    // status line's texts are for the user and decide nothing). Cleared when the command is
    // queued, so a caller that finds it not yet run never takes an earlier run's success.
    bool Succeeded() const { return succeeded_; }
    void ClearOutcome() { succeeded_ = false; }

protected:
    FrameComm* frame() const { return frame_; }
    void SetSucceeded(bool succeeded) { succeeded_ = succeeded; }

private:
    FrameComm* frame_ = nullptr;
    std::string param_;
    bool succeeded_ = false;
};

class PollingCommand : public Command {
protected:
    MyActiveObjectEngine* engine_ = nullptr;
};
