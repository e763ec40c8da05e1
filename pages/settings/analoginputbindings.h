#pragma once

#include "aicalmath.h"

#include <QString>
#include <array>
#include <vector>

// The Analog Input page as data: its eight alarm rows and its four calibration frames with their
// points. The page builds its rows and frames from these tables.
namespace aipage {

constexpr int kScanPage = 14;
constexpr int kInputs = 4;

struct AlarmRow {
    const char* caption;
    bool greater;  // "> Limit"; else "< Limit"
    int input;     // 1 to 4
    int enablePoint;
    int limitPoint;
    int actionsPoint;
};
// The four greater-than rows, then the four less-than rows.
extern const std::array<AlarmRow, 8> kAlarmRows;

// "ckAlarmAIHLEanble1", "edAlarmAILLimit4".
QString enableName(const AlarmRow& row);
QString limitName(const AlarmRow& row);
// "ckAlarmAIHLimitR11" is relay 1 of input 1's greater-than row; "ckAlarmAILLimitS84" solenoid 8
// of input 4's less-than row. Each box watches its bit of the row's actions point
// (analyzer::actionBit).
QString actionBoxName(const AlarmRow& row, bool relay, int number);

struct Frame {
    AIFramePoints points;
    int scalingFactor;
    int zeroOffset;
};
extern const std::array<Frame, kInputs> kFrames;

}  // namespace aipage
