#pragma once

#include "auditevent.h"

#include <functional>

// Reports the event parser's progress to the main window the way every long operation does: the
// status-line progress bar's maximum through the given setter (the "localPBarMax" number), each
// step as WM_COMMPROGRESS (1, 1) sent to the main form. Before the byte loop it lets pending
// window messages run, so the window repaints the status text first.
class MainFormAuditProgress : public IAuditProgress {
public:
    explicit MainFormAuditProgress(std::function<void(int)> setMaximum) : setMaximum_(std::move(setMaximum)) {}
    void Begin(int maximum) override;
    void Step() override;

private:
    std::function<void(int)> setMaximum_;
};
