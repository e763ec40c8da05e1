#pragma once

#include "command.h"

#include <any>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// Runs queued commands one after another, in queue order, on the user-interface thread. A
// command queued while another runs (from a message handled during its wait) runs after it.
class ActiveObjectEngine {
public:
    virtual ~ActiveObjectEngine() = default;

    void AddCommand(Command* command, const std::string& param);
    int GetQueueCount() const { return static_cast<int>(queue_.size()); }
    void SetStopRequested(bool stop) { stopRequested_ = stop; }
    bool IsStopRequested() const { return stopRequested_; }
    bool IsRunning() const { return running_; }
    void Shutdown();

    // How a failure that leaves a command is shown (a message box with its text by default).
    void SetFailureReporter(std::function<void(const std::string&)> reporter) { reportFailure_ = std::move(reporter); }

private:
    struct Entry {
        Command* command;
        std::string param;
        std::any fields;
    };

    void Run();

    std::deque<Entry> queue_;
    std::mutex lock_;
    bool stopRequested_ = false;
    bool running_ = false;
    std::function<void(const std::string&)> reportFailure_;
};

class MyActiveObjectEngine : public ActiveObjectEngine {
public:
    static MyActiveObjectEngine* Instance();
    // Stops the engine, deletes every command and the engine itself.
    static void Teardown();

    Command* FindCommand(const std::string& name) const;
    template <typename T>
    T* Find(const std::string& name) const
    {
        return dynamic_cast<T*>(FindCommand(name));
    }
    // Queues the named command; an unknown name does nothing.
    void ExecuteCommand(const std::string& name, const std::string& param);
    void RegisterCommand(const std::string& name, std::unique_ptr<Command> command);
    void SetFrameCommForAll(FrameComm* frame);
    void SetPollingEnabled(bool enabled) { pollingEnabled_ = enabled; }
    bool IsPollingEnabled() const { return pollingEnabled_; }
    const std::map<std::string, std::unique_ptr<Command>>& Registry() const { return registry_; }

private:
    bool pollingEnabled_ = false;
    std::map<std::string, std::unique_ptr<Command>> registry_;
};
