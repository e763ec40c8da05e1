#pragma once

#include <string>
#include <vector>

// The main window as the commands see it: states, numbers and texts keyed by name. The model
// reports busy and idle, the Wait window, progress and everything else it shows through this
// interface only; it never looks for a window.
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

// The keys, by operation. Code names a key only through these constants.
namespace framecomm {

enum class Operation { SetState, SetInt, SetText, GetBool, GetInt, GetDouble };

// SetState
constexpr char kTbtnLogon[] = "tbtnLogon";
constexpr char kTbtnLogoff[] = "tbtnLogoff";
constexpr char kTbtnExit[] = "tbtnExit";
constexpr char kSetLogOn[] = "SetLogOn";
constexpr char kSetLogOff[] = "SetLogOff";
constexpr char kEnablePages[] = "EnablePages";
constexpr char kDisablePages[] = "DisablePages";
constexpr char kSetDatabaseConfigFileTypeID[] = "SetDatabaseConfigFileTypeID";
constexpr char kUpdateLogView[] = "UpdateLogView";
// The value says whether the archive download was whole: a partial one is saved only when the
// user says so, in words of its own.
constexpr char kSaveLogFile[] = "SaveLogFile";
constexpr char kReadALog2[] = "ReadALog2";
constexpr char kAuditFinish[] = "AuditFinish";
// true: the program is busy (the state manager's busy buttons); false: idle again.
constexpr char kBusy[] = "Busy";
// true: the Wait window with its animation; false: hidden.
constexpr char kWaitWindow[] = "WaitWindow";
// SetInt
constexpr char kLocalPBarMax[] = "localPBarMax";
// The upgrade window's progress bar: a new maximum (the bar back to 0), and one step.
constexpr char kUpgradeProgressMax[] = "UpgradeProgressMax";
constexpr char kUpgradeProgressStep[] = "UpgradeProgressStep";
// SetText
constexpr char kStatusLineSpecialPanel[] = "StatusLineSpecialPanel";
// GetBool; "LoggingOn" is true while the user is NOT logged on.
constexpr char kLoggingOn[] = "LoggingOn";
constexpr char kTbtnPollDown[] = "tbtnPollDown";
constexpr char kTbtnBypass[] = "tbtnBypass";
// GetInt
constexpr char kSendToDatabase[] = "SendToDatabase";
constexpr char kDateToTimestampToken[] = "DateToTimestampToken";
// GetDouble
constexpr char kTimestampTokenToDate[] = "TimestampTokenToDate";

struct Key {
    Operation operation;
    const char* name;
};
// Every key with its operation: the main window handles each of them.
inline const std::vector<Key>& allKeys()
{
    static const std::vector<Key> keys = {
        {Operation::SetState, kTbtnLogon},
        {Operation::SetState, kTbtnLogoff},
        {Operation::SetState, kTbtnExit},
        {Operation::SetState, kSetLogOn},
        {Operation::SetState, kSetLogOff},
        {Operation::SetState, kEnablePages},
        {Operation::SetState, kDisablePages},
        {Operation::SetState, kSetDatabaseConfigFileTypeID},
        {Operation::SetState, kUpdateLogView},
        {Operation::SetState, kSaveLogFile},
        {Operation::SetState, kReadALog2},
        {Operation::SetState, kAuditFinish},
        {Operation::SetState, kBusy},
        {Operation::SetState, kWaitWindow},
        {Operation::SetInt, kLocalPBarMax},
        {Operation::SetInt, kUpgradeProgressMax},
        {Operation::SetInt, kUpgradeProgressStep},
        {Operation::SetText, kStatusLineSpecialPanel},
        {Operation::GetBool, kLoggingOn},
        {Operation::GetBool, kTbtnPollDown},
        {Operation::GetBool, kTbtnBypass},
        {Operation::GetInt, kSendToDatabase},
        {Operation::GetInt, kDateToTimestampToken},
        {Operation::GetDouble, kTimestampTokenToDate},
    };
    return keys;
}

}  // namespace framecomm
