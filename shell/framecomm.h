#pragma once

#include <string>

// The main window as the commands see it: string-keyed states, numbers and texts. A key the
// window does not know changes nothing and reads as the default of its operation.
class FrameComm {
public:
    virtual ~FrameComm() = default;
    virtual void SetState(std::string key, bool value) = 0;
    virtual void SetInt(std::string key, int value) = 0;
    virtual void SetText(std::string key, std::string value) = 0;
    // false for an unknown key.
    virtual bool GetBool(std::string key) = 0;
    // -1 for an unknown key.
    virtual int GetInt(std::string key, void* argument) = 0;
    // 0.0 for an unknown key.
    virtual double GetDouble(std::string key, int argument) = 0;
};
