#pragma once

// A main window stand-in for the commands: records every call as "key=value" (states and
// numbers) or "key:text" (texts), keeps the Wait window, busy state and upgrade progress as the
// window would show them, and answers the questions commands ask of the window.
#include "framecomm.h"

#include <algorithm>
#include <string>
#include <vector>

class RecordingFrame : public FrameComm {
public:
    std::vector<std::string> calls;
    // What "LoggingOn" answers: true while the window offers to log on, that is, is logged off.
    bool loggingOn = false;
    // What the window would show now: the Wait window, the busy state.
    bool waitShown = false;
    bool busy = false;
    // The upgrade window's progress bar.
    int upgradeMaximum = 0;
    int upgradeValue = 0;

    // The Wait window and the busy state are kept as state, not calls: what a test asks of them is
    // how the command left them.
    void SetState(std::string key, bool value) override
    {
        if (key == framecomm::kWaitWindow)
            waitShown = value;
        else if (key == framecomm::kBusy)
            busy = value;
        else
            calls.push_back(key + "=" + (value ? "1" : "0"));
    }
    void SetInt(std::string key, int value) override
    {
        if (key == framecomm::kUpgradeProgressMax) {
            upgradeMaximum = value;
            upgradeValue = 0;
        } else if (key == framecomm::kUpgradeProgressStep) {
            upgradeValue = std::min(upgradeValue + 1, upgradeMaximum);
        } else {
            calls.push_back(key + "=" + std::to_string(value));
        }
    }
    void SetText(std::string key, std::string value) override { calls.push_back(key + ":" + value); }
    bool GetBool(std::string key) override { return key == "LoggingOn" && loggingOn; }
    int GetInt(std::string, void*) override { return -1; }
    double GetDouble(std::string, int) override { return 0.0; }

    bool has(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
};
