#pragma once

#include "analyzer.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The Streams page's bindings as data: which point every box of the four stream frames and their
// 24 run-type frames shows, the run-request points, and the rules the page applies without a
// widget (its entry list, the request texts, the gain calculator).
namespace streamspage {

// The page numbers a stream's run types by their tab: the place of each in
// analyzer::kStreamsPageOrder (H2S, Total Sulphur, Calibration, Reference 1, Reference 2, Zero).
constexpr int tabOf(analyzer::RunType run)
{
    return analyzer::streamsPageIndex(run);
}
// The run type of a binding that belongs to the stream as a whole.
constexpr int kStreamWide = -1;

// Every bound box of a set frame (a mask stands for all its relay and solenoid boxes), the
// stream's own boxes, and the run request, which has a point but no box.
enum class Box {
    ledName,
    ledConsecRuns,
    ledRunsToAvg,
    ledCalGasConc,
    chkTime,
    edDays,
    edHours,
    edMinute,
    ledSampleDelay,
    ledSampleInterval,
    ledKFactor,
    Switching,
    ckAOMgr1Enable,
    cbAOMgr1Function,
    cbAOMgr1Channel,
    ckAOMgr2Enable,
    cbAOMgr2Function,
    cbAOMgr2Channel,
    ckAlarm1Enable,
    edAlarm1Limit,
    HighAlarmActions,
    ckAlarmDevEnable,
    edAlarmDevLimit,
    DeviationActions,
    strmCalUsed,
    ckPAAEnable,
    ledPAALimit,
    HighHighActions,
    duration,
    lockAlarmEnable,
    lockAlarmLimit,
    LockActions,
    // The stream's own boxes (run type kStreamWide).
    ledGainFactor,
    ledZeroOffset,
    glAnalysisUnit,
    chkCalCorrEnable,
    chkZeroCorrEnable,
    TimedAnalysisEnable,
    // The run request of a set frame's button.
    RunRequest,
    Count
};
constexpr int kBoxCount = static_cast<int>(Box::Count);

struct Binding {
    int stream;   // 1 to 4
    int runType;  // the run type's tab (tabOf), or kStreamWide
    Box box;
    std::uint16_t point;
};
// One row per bound point. A box missing here for a run type is hidden on that tab and unbound.
extern const std::array<Binding, 680> kBindings;

// The point of a box, or nothing when the box has none on that stream and run type.
std::optional<std::uint16_t> pointOf(int stream, int runType, Box box);

// The five masks: their boxes watch one bit each (analyzer::actionBit).
constexpr std::array<Box, 5> kMasks = {Box::Switching, Box::HighAlarmActions, Box::DeviationActions,
                                       Box::HighHighActions, Box::LockActions};
// The name of a mask's box: "ckSwitchingR1", "ckAlarm1S8", "ckAlarmDevR3", "ckAlarmPAAS2",
// "lockAlarmActionsR6". Solenoid boxes take solenoid = true.
QString maskBoxName(Box mask, bool solenoid, int number);

// The run types' names by tab: "H2S", "Total Sulphur", "Calibration", "Reference 1",
// "Reference 2", "Zero".
extern const std::array<const char*, analyzer::kRunTypes> kRunNames;

// The run-request button's caption ("Stream 3 Reference 2") and hint ("Stream 3 Reference 2
// Request"), and the question asked before the request is sent.
QString requestCaption(int stream, int runType);
QString requestHint(int stream, int runType);
QString requestQuestion(int runType);

// The express-scan list of a page entry, in the unit's order: per stream the gain, zero and units,
// then each run type's boxes and the six requests; then the stream switches, "Streams" and the
// four timed-analysis switches. A box without a point adds nothing.
std::vector<int> scanList();

// The gain calculator: calibration gas times current gain over reading, as "0.00". An empty input
// or a reading of 0 gives "0"; an input that is not (yet) a number gives nothing, and the result
// stays as it was.
std::optional<QString> newGainFactor(const QString& calGas, const QString& reading, const QString& currentGain);

}  // namespace streamspage
