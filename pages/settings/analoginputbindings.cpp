#include "analoginputbindings.h"

#include "pointids.h"

namespace aipage {

const std::array<AlarmRow, 8> kAlarmRows = {{
    {"Analog Input 1 > Limit", true, 1, pid::AlarmAnalogIn1GreaterThanEnable, pid::AlarmAnalogIn1GreaterThanLimit,
     pid::AlarmAnalogIn1GreaterThanActions},
    {"Analog Input 2 > Limit", true, 2, pid::AlarmAnalogIn2GreaterThanEnable, pid::AlarmAnalogIn2GreaterThanLimit,
     pid::AlarmAnalogIn2GreaterThanActions},
    {"Analog Input 3 > Limit", true, 3, pid::AlarmAnalogIn3GreaterThanEnable, pid::AlarmAnalogIn3GreaterThanLimit,
     pid::AlarmAnalogIn3GreaterThanActions},
    {"Analog Input 4 > Limit", true, 4, pid::AlarmAnalogIn4GreaterThanEnable, pid::AlarmAnalogIn4GreaterThanLimit,
     pid::AlarmAnalogIn4GreaterThanActions},
    {"Analog Input 1 < Limit", false, 1, pid::AlarmAnalogIn1LessThanEnable, pid::AlarmAnalogIn1LessThanLimit,
     pid::AlarmAnalogIn1LessThanActions},
    {"Analog Input 2 < Limit", false, 2, pid::AlarmAnalogIn2LessThanEnable, pid::AlarmAnalogIn2LessThanLimit,
     pid::AlarmAnalogIn2LessThanActions},
    {"Analog Input 3 < Limit", false, 3, pid::AlarmAnalogIn3LessThanEnable, pid::AlarmAnalogIn3LessThanLimit,
     pid::AlarmAnalogIn3LessThanActions},
    {"Analog Input 4 < Limit", false, 4, pid::AlarmAnalogIn4LessThanEnable, pid::AlarmAnalogIn4LessThanLimit,
     pid::AlarmAnalogIn4LessThanActions},
}};

QString enableName(const AlarmRow& row)
{
    return QStringLiteral("ckAlarmAI%1LEanble%2").arg(row.greater ? 'H' : 'L').arg(row.input);
}

QString limitName(const AlarmRow& row)
{
    return QStringLiteral("edAlarmAI%1Limit%2").arg(row.greater ? 'H' : 'L').arg(row.input);
}

QString actionBoxName(const AlarmRow& row, bool relay, int number)
{
    return QStringLiteral("ckAlarmAI%1Limit%2%3%4")
        .arg(row.greater ? 'H' : 'L')
        .arg(relay ? 'R' : 'S')
        .arg(number)
        .arg(row.input);
}

// The fields in the order of AIFramePoints: description, minimum, maximum, value, units, raw zero,
// raw span, scaled zero, scaled span, raw, current, ratio; then the line's gain and offset.
const std::array<Frame, kInputs> kFrames = {{
    {{pid::AnalogInput1Description, pid::AnalogInput1Minimum, pid::AnalogInput1Maximum, pid::AnalogInput1Value,
      pid::AnalogInput1Units, pid::AnalogInput1ZeroValueRaw, pid::AnalogInput1SpanValueRaw,
      pid::AnalogInput1ZeroValueScaled, pid::AnalogInput1SpanValueScaled, pid::AnalogInput1Raw, pid::AnalogInput1MA,
      pid::AnalogInput1Ratio},
     pid::AnalogInput1ScalingFactor,
     pid::AnalogInput1ZeroOffset},
    {{pid::AnalogInput2Description, pid::AnalogInput2Minimum, pid::AnalogInput2Maximum, pid::AnalogInput2Value,
      pid::AnalogInput2Units, pid::AnalogInput2ZeroValueRaw, pid::AnalogInput2SpanValueRaw,
      pid::AnalogInput2ZeroValueScaled, pid::AnalogInput2SpanValueScaled, pid::AnalogInput2Raw, pid::AnalogInput2MA,
      pid::AnalogInput2Ratio},
     pid::AnalogInput2ScalingFactor,
     pid::AnalogInput2ZeroOffset},
    {{pid::AnalogInput3Description, pid::AnalogInput3Minimum, pid::AnalogInput3Maximum, pid::AnalogInput3Value,
      pid::AnalogInput3Units, pid::AnalogInput3ZeroValueRaw, pid::AnalogInput3SpanValueRaw,
      pid::AnalogInput3ZeroValueScaled, pid::AnalogInput3SpanValueScaled, pid::AnalogInput3Raw, pid::AnalogInput3MA,
      pid::AnalogInput3Ratio},
     pid::AnalogInput3ScalingFactor,
     pid::AnalogInput3ZeroOffset},
    {{pid::AnalogInput4Description, pid::AnalogInput4Minimum, pid::AnalogInput4Maximum, pid::AnalogInput4Value,
      pid::AnalogInput4Units, pid::AnalogInput4ZeroValueRaw, pid::AnalogInput4SpanValueRaw,
      pid::AnalogInput4ZeroValueScaled, pid::AnalogInput4SpanValueScaled, pid::AnalogInput4Raw, pid::AnalogInput4MA,
      pid::AnalogInput4Ratio},
     pid::AnalogInput4ScalingFactor,
     pid::AnalogInput4ZeroOffset},
}};

}  // namespace aipage
