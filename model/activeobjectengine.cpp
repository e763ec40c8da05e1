#include "activeobjectengine.h"

#include "communications.h"
#include "dialogservice.h"

#include <QCoreApplication>

namespace {
MyActiveObjectEngine* gEngine = nullptr;

std::string failureText(const std::exception& e)
{
    if (const auto* status = dynamic_cast<const CommStatusError*>(&e))
        return Communications::Instance()->GetErrorText(status->status).toStdString();
    return e.what();
}
}  // namespace

void ActiveObjectEngine::AddCommand(Command* command, const std::string& param)
{
    if (stopRequested_ || !command)
        return;
    {
        std::lock_guard<std::mutex> guard(lock_);
        command->SetParam(param);
        command->ClearOutcome();
        queue_.push_back({command, param, command->SaveFields()});
    }
    if (running_)
        return;
    Run();
}

void ActiveObjectEngine::Run()
{
    QCoreApplication::processEvents();
    running_ = true;
    while (!stopRequested_ && !queue_.empty()) {
        Entry entry = std::move(queue_.front());
        queue_.pop_front();
        entry.command->SetParam(entry.param);
        entry.command->LoadFields(entry.fields);
        // A failure ends only its own command: the ones queued behind it (the poll among them)
        // still run, and the user is told what went wrong.
        std::string failure;
        try {
            entry.command->Execute();
        } catch (const std::exception& e) {
            failure = failureText(e);
        } catch (...) {
            failure = "Unknown error";
        }
        if (!failure.empty()) {
            if (reportFailure_)
                reportFailure_(failure);
            else
                DialogService::showMessage(QString::fromStdString(failure));
        }
    }
    running_ = false;
}

void ActiveObjectEngine::Shutdown()
{
    stopRequested_ = true;
    std::lock_guard<std::mutex> guard(lock_);
    queue_.clear();
}

MyActiveObjectEngine* MyActiveObjectEngine::Instance()
{
    if (!gEngine)
        gEngine = new MyActiveObjectEngine;
    return gEngine;
}

void MyActiveObjectEngine::Teardown()
{
    if (!gEngine)
        return;
    gEngine->SetStopRequested(true);
    // The window is torn down after its message loop has ended, so nothing is running here.
    gEngine->registry_.clear();
    gEngine->Shutdown();
    delete gEngine;
    gEngine = nullptr;
}

Command* MyActiveObjectEngine::FindCommand(const std::string& name) const
{
    const auto it = registry_.find(name);
    return it == registry_.end() ? nullptr : it->second.get();
}

void MyActiveObjectEngine::ExecuteCommand(const std::string& name, const std::string& param)
{
    if (Command* command = FindCommand(name))
        AddCommand(command, param);
}

void MyActiveObjectEngine::RegisterCommand(const std::string& name, std::unique_ptr<Command> command)
{
    registry_[name] = std::move(command);
}

void MyActiveObjectEngine::SetFrameCommForAll(FrameComm* frame)
{
    for (auto& [name, command] : registry_)
        command->SetFrameComm(frame);
}
