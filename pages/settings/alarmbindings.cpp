#include "alarmbindings.h"

#include "pointids.h"

#include <string>

namespace alarmpage {

const std::array<Light, 13> kUnitLights = {{
    {"SensorTemp", "High Temperature", pid::AlarmStateHighTemperature},
    {"SensorTempLow", "Low Temperature", pid::AlarmStateLowTemperature},
    {"SensorCurrent", "Sensor LED Current", pid::AlarmStateSensorCurrent},
    {"SensorCommAlarm", "Sensor Comm. ", pid::AlarmStateSensorCommunication},
    {"battery", "RTC Battery", pid::AlarmStateRealTimeClockBattery},
    {"MaxTapeAlarm", "Max Tape Adv. Alarm", pid::AlarmStateMaxTapeAdvance},
    {"LowTape", "Low Tape Alarm", pid::AlarmStateLowTape},
    {"TapeLength", "Tape Length Alarm", pid::AlarmStateTapeLength},
    {"TapeBreak", "Tape Movement Alarm", pid::AlarmStateTapeMovement},
    {"SensorCal", "Sensor Calibration Alarm", pid::AlarmStateSensorCalibration},
    {"imgBypass", "Bypass Alarm", pid::AlarmStateBypass},
    {"ACPowerAlarm", "AC Power Alarm", pid::AlarmStateACPower},
    {"DCPowerAlarm", "DC Power Alarm", pid::AlarmStateDCPower},
}};

const std::array<StreamGroup, analyzer::kRunTypes> kStreamGroups = {{
    {"N", "H2S", 4},
    {"T", "Total Sulphur", 4},
    {"C", "Calibration", 2},
    {"R", "Reference 1", 2},
    {"R2", "Reference 2", 2},
    {"Z", "Zero", 2},
}};

const std::array<const char*, 4> kLightCaptions = {"Deviation", "High Alarm", "High High Alarm", "Lock"};

// Rows: H2S, Total Sulphur, Calibration, Reference 1, Reference 2, Zero; columns: Deviation,
// High Alarm, High High Alarm, Lock.
const std::array<StreamPoints, analyzer::kStreams> kStreamPoints = {{
    {{{pid::Stream1H2SDeviation, pid::Stream1H2SHighAlarm, pid::Stream1H2SHighHighAlarm, pid::Stream1H2SLockAlarm},
      {pid::Stream1TotalSulphurDeviation, pid::Stream1TotalSulphurHighAlarm, pid::Stream1TotalSulphurHighHighAlarm,
       pid::Stream1TotalSulphurLockAlarm},
      {pid::Stream1CalibrationDeviation, pid::Stream1CalibrationHighAlarm, 0, 0},
      {pid::Stream1Reference1Deviation, pid::Stream1Reference1HighAlarm, 0, 0},
      {pid::Stream1Reference2Deviation, pid::Stream1Reference2HighAlarm, 0, 0},
      {pid::Stream1ZeroDeviation, pid::Stream1ZeroHighAlarm, 0, 0}}},
    {{{pid::Stream2H2SDeviation, pid::Stream2H2SHighAlarm, pid::Stream2H2SHighHighAlarm, pid::Stream2H2SLockAlarm},
      {pid::Stream2TotalSulphurDeviation, pid::Stream2TotalSulphurHighAlarm, pid::Stream2TotalSulphurHighHighAlarm,
       pid::Stream2TotalSulphurLockAlarm},
      {pid::Stream2CalibrationDeviation, pid::Stream2CalibrationHighAlarm, 0, 0},
      {pid::Stream2Reference1Deviation, pid::Stream2Reference1HighAlarm, 0, 0},
      {pid::Stream2Reference2Deviation, pid::Stream2Reference2HighAlarm, 0, 0},
      {pid::Stream2ZeroDeviation, pid::Stream2ZeroHighAlarm, 0, 0}}},
    {{{pid::Stream3H2SDeviation, pid::Stream3H2SHighAlarm, pid::Stream3H2SHighHighAlarm, pid::Stream3H2SLockAlarm},
      {pid::Stream3TotalSulphurDeviation, pid::Stream3TotalSulphurHighAlarm, pid::Stream3TotalSulphurHighHighAlarm,
       pid::Stream3TotalSulphurLockAlarm},
      {pid::Stream3CalibrationDeviation, pid::Stream3CalibrationHighAlarm, 0, 0},
      {pid::Stream3Reference1Deviation, pid::Stream3Reference1HighAlarm, 0, 0},
      {pid::Stream3Reference2Deviation, pid::Stream3Reference2HighAlarm, 0, 0},
      {pid::Stream3ZeroDeviation, pid::Stream3ZeroHighAlarm, 0, 0}}},
    {{{pid::Stream4H2SDeviation, pid::Stream4H2SHighAlarm, pid::Stream4H2SHighHighAlarm, pid::Stream4H2SLockAlarm},
      {pid::Stream4TotalSulphurDeviation, pid::Stream4TotalSulphurHighAlarm, pid::Stream4TotalSulphurHighHighAlarm,
       pid::Stream4TotalSulphurLockAlarm},
      {pid::Stream4CalibrationDeviation, pid::Stream4CalibrationHighAlarm, 0, 0},
      {pid::Stream4Reference1Deviation, pid::Stream4Reference1HighAlarm, 0, 0},
      {pid::Stream4Reference2Deviation, pid::Stream4Reference2HighAlarm, 0, 0},
      {pid::Stream4ZeroDeviation, pid::Stream4ZeroHighAlarm, 0, 0}}},
}};

const std::array<Light, 8> kAnalogInputLights = {{
    {"imDIOHL1", "AI #1 Greater Than Limit", pid::AlarmStateAnalogInputNo1GreaterThan},
    {"imDIOHL2", "AI #2 Greater Than Limit", pid::AlarmStateAnalogInputNo2GreaterThan},
    {"imDIOHL3", "AI #3 Greater Than Limit", pid::AlarmStateAnalogInputNo3GreaterThan},
    {"imDIOHL4", "AI #4 Greater Than Limit", pid::AlarmStateAnalogInputNo4GreaterThan},
    {"imDIOLL1", "AI #1 Less Than Limit", pid::AlarmStateAnalogInputNo1LessThan},
    {"imDIOLL2", "AI #2 Less Than Limit", pid::AlarmStateAnalogInputNo2LessThan},
    {"imDIOLL3", "AI #3 Less Than Limit", pid::AlarmStateAnalogInputNo3LessThan},
    {"imDIOLL4", "AI #4 Less Than Limit", pid::AlarmStateAnalogInputNo4LessThan},
}};

const char* lightName(int stream, int group, int light)
{
    // Names are made once and kept, so callers may hold the pointers.
    static const auto names = [] {
        std::array<std::array<std::array<std::string, 4>, analyzer::kRunTypes>, analyzer::kStreams> all;
        static const char* const kLightLetters[] = {"D", "A", "P"};
        for (int s = 0; s < analyzer::kStreams; ++s)
            for (int g = 0; g < analyzer::kRunTypes; ++g)
                for (int l = 0; l < kStreamGroups[g].lights; ++l) {
                    const std::string number = std::to_string(s + 1);
                    all[s][g][l] = l == 3 ? (g == 0 ? "imgLock" : "imgLockT") + number
                                          : "imS" + number + kStreamGroups[g].letters + kLightLetters[l];
                }
        return all;
    }();
    if (stream < 0 || stream >= analyzer::kStreams || group < 0 || group >= analyzer::kRunTypes || light < 0 ||
        light >= kStreamGroups[group].lights)
        return "";
    return names[stream][group][light].c_str();
}

std::vector<int> scanList()
{
    using namespace analyzer;
    // A stream's groups stand in the streams page's order.
    const auto g = [](RunType run) { return static_cast<std::size_t>(streamsPageIndex(run)); };
    enum { D, A, HH, Lock };
    std::vector<int> ids{pid::Streams, pid::AlarmStateSystem};
    // The unit alarms but the two power alarms, which come after the streams.
    for (std::size_t i = 0; i + 2 < kUnitLights.size(); ++i)
        ids.push_back(kUnitLights[i].point);
    for (const StreamPoints& s : kStreamPoints) {
        for (int id : {s[g(H2S)][D], s[g(H2S)][A], s[g(H2S)][HH], s[g(TotalSulphur)][D], s[g(TotalSulphur)][A],
                       s[g(TotalSulphur)][HH], s[g(Calibration)][D], s[g(Calibration)][A], s[g(Reference1)][D],
                       s[g(Reference2)][D], s[g(Reference1)][A], s[g(Reference2)][A], s[g(Zero)][D], s[g(Zero)][A]})
            ids.push_back(id);
    }
    ids.push_back(pid::AlarmStateDCPower);
    ids.push_back(pid::AlarmStateACPower);
    for (const Light& light : kAnalogInputLights)
        ids.push_back(light.point);
    for (const StreamPoints& s : kStreamPoints) {
        ids.push_back(s[g(H2S)][Lock]);
        ids.push_back(s[g(TotalSulphur)][Lock]);
    }
    return ids;
}

}  // namespace alarmpage
