#include "servicebindings.h"

#include "pointids.h"

#include <algorithm>

namespace servicepage {

const std::array<int, kOutputCount> kOutputPoints = {
    334,  335,  336,  337,  338,  339,              // "Relay 1: Control" to "Relay 6: Control"
    1051, 1052, 1053, 1054, 1055, 1056, 1057, 1058  // "Solenoid 1: Control" to "Solenoid 8: Control"
};

const std::array<AOFrame, 6> kAOFrames = {{
    {{280, 281, 278, 279, 275, 544}, {342, 446, 282, 409, 447, 343}},
    {{288, 289, 286, 287, 283, 545}, {344, 448, 290, 445, 449, 345}},
    {{998, 999, 996, 997, 995, 1002}, {1059, 1060, 1000, 1001, 1061, 1062}},
    {{1006, 1007, 1004, 1005, 1003, 1010}, {1063, 1064, 1008, 1009, 1065, 1066}},
    {{1014, 1015, 1012, 1013, 1011, 1018}, {1067, 1068, 1016, 1017, 1069, 1070}},
    {{1022, 1023, 1020, 1021, 1019, 1026}, {1071, 1072, 1024, 1025, 1073, 1074}},
}};

std::vector<int> scanList()
{
    std::vector<int> ids;
    auto add = [&ids](int id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    };
    add(kOutputPoints[0]);
    add(pid::DirectBoardControlEnable);
    for (int id : kOutputPoints)
        add(id);
    for (const AOFrame& frame : kAOFrames) {
        const AOBoundIds& b = frame.bound;
        for (int id : {b.rawZero, b.rawSpan, b.scaledZero, b.scaledSpan, b.failSafePos, b.failSafeCurrent})
            add(id);
        const AOSwitchIds& s = frame.ids;
        for (int id : {s.rawBypass, s.analogOutput, s.scalingFactor, s.zeroOffset, s.factoryBypass, s.scaledOutput})
            add(id);
    }
    add(pid::TotalPulseCount);
    for (const AOFrame& frame : kAOFrames)
        add(frame.ids.rawBypass);
    for (const AOFrame& frame : kAOFrames)
        add(frame.ids.scalingFactor);
    for (const AOFrame& frame : kAOFrames)
        add(frame.ids.scaledOutput);
    // The unit's names also name the copies of the upgrade's merge.
    for (int id : {pid::UnitID, pid::UnitSite, pid::UnitLocation})
        add(id);
    for (int id : kOutputPoints)
        add(id);
    add(pid::Streams);
    return ids;
}

}  // namespace servicepage
