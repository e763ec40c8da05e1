#include "streambindings.h"

#include "numbertext.h"
#include "pointids.h"
#include "resultnumbers.h"

#include "dbcontrol.h"

#include <cmath>

namespace streamspage {

namespace {

// The table names each run type as the unit does; its row holds the run type's tab.
using namespace analyzer;

// clang-format off
constexpr std::array<Binding, 656> kBoxBindings = {{
    {1, tabOf(H2S), Box::ledName, pid::Stream1H2SName},
    {1, tabOf(TotalSulphur), Box::ledName, pid::Stream1TotalSulphurName},
    {1, tabOf(Calibration), Box::ledName, pid::Stream1CalibrationName},
    {1, tabOf(Reference1), Box::ledName, pid::Stream1Reference1Name},
    {1, tabOf(Reference2), Box::ledName, pid::Stream1Reference2Name},
    {1, tabOf(Zero), Box::ledName, pid::Stream1ZeroName},
    {2, tabOf(H2S), Box::ledName, pid::Stream2H2SName},
    {2, tabOf(TotalSulphur), Box::ledName, pid::Stream2TotalSulphurName},
    {2, tabOf(Calibration), Box::ledName, pid::Stream2CalibrationName},
    {2, tabOf(Reference1), Box::ledName, pid::Stream2Reference1Name},
    {2, tabOf(Reference2), Box::ledName, pid::Stream2Reference2Name},
    {2, tabOf(Zero), Box::ledName, pid::Stream2ZeroName},
    {3, tabOf(H2S), Box::ledName, pid::Stream3H2SName},
    {3, tabOf(TotalSulphur), Box::ledName, pid::Stream3TotalSulphurName},
    {3, tabOf(Calibration), Box::ledName, pid::Stream3CalibrationName},
    {3, tabOf(Reference1), Box::ledName, pid::Stream3Reference1Name},
    {3, tabOf(Reference2), Box::ledName, pid::Stream3Reference2Name},
    {3, tabOf(Zero), Box::ledName, pid::Stream3ZeroName},
    {4, tabOf(H2S), Box::ledName, pid::Stream4H2SName},
    {4, tabOf(TotalSulphur), Box::ledName, pid::Stream4TotalSulphurName},
    {4, tabOf(Calibration), Box::ledName, pid::Stream4CalibrationName},
    {4, tabOf(Reference1), Box::ledName, pid::Stream4Reference1Name},
    {4, tabOf(Reference2), Box::ledName, pid::Stream4Reference2Name},
    {4, tabOf(Zero), Box::ledName, pid::Stream4ZeroName},
    {1, tabOf(H2S), Box::ledConsecRuns, pid::Stream1H2SConsecutiveRuns},
    {1, tabOf(TotalSulphur), Box::ledConsecRuns, pid::Stream1TotalSulphurConsecutiveRuns},
    {1, tabOf(Calibration), Box::ledConsecRuns, pid::Stream1CalibrationConsecutiveRuns},
    {1, tabOf(Reference1), Box::ledConsecRuns, pid::Stream1Reference1ConsecutiveRuns},
    {1, tabOf(Reference2), Box::ledConsecRuns, pid::Stream1Reference2ConsecutiveRuns},
    {1, tabOf(Zero), Box::ledConsecRuns, pid::Stream1ZeroConsecutiveRuns},
    {2, tabOf(H2S), Box::ledConsecRuns, pid::Stream2H2SConsecutiveRuns},
    {2, tabOf(TotalSulphur), Box::ledConsecRuns, pid::Stream2TotalSulphurConsecutiveRuns},
    {2, tabOf(Calibration), Box::ledConsecRuns, pid::Stream2CalibrationConsecutiveRuns},
    {2, tabOf(Reference1), Box::ledConsecRuns, pid::Stream2Reference1ConsecutiveRuns},
    {2, tabOf(Reference2), Box::ledConsecRuns, pid::Stream2Reference2ConsecutiveRuns},
    {2, tabOf(Zero), Box::ledConsecRuns, pid::Stream2ZeroConsecutiveRuns},
    {3, tabOf(H2S), Box::ledConsecRuns, pid::Stream3H2SConsecutiveRuns},
    {3, tabOf(TotalSulphur), Box::ledConsecRuns, pid::Stream3TotalSulphurConsecutiveRuns},
    {3, tabOf(Calibration), Box::ledConsecRuns, pid::Stream3CalibrationConsecutiveRuns},
    {3, tabOf(Reference1), Box::ledConsecRuns, pid::Stream3Reference1ConsecutiveRuns},
    {3, tabOf(Reference2), Box::ledConsecRuns, pid::Stream3Reference2ConsecutiveRuns},
    {3, tabOf(Zero), Box::ledConsecRuns, pid::Stream3ZeroConsecutiveRuns},
    {4, tabOf(H2S), Box::ledConsecRuns, pid::Stream4H2SConsecutiveRuns},
    {4, tabOf(TotalSulphur), Box::ledConsecRuns, pid::Stream4TotalSulphurConsecutiveRuns},
    {4, tabOf(Calibration), Box::ledConsecRuns, pid::Stream4CalibrationConsecutiveRuns},
    {4, tabOf(Reference1), Box::ledConsecRuns, pid::Stream4Reference1ConsecutiveRuns},
    {4, tabOf(Reference2), Box::ledConsecRuns, pid::Stream4Reference2ConsecutiveRuns},
    {4, tabOf(Zero), Box::ledConsecRuns, pid::Stream4ZeroConsecutiveRuns},
    {1, tabOf(Calibration), Box::ledRunsToAvg, pid::Stream1CalibrationRunsToAverage},
    {1, tabOf(Reference1), Box::ledRunsToAvg, pid::Stream1Reference1RunsToAverage},
    {1, tabOf(Reference2), Box::ledRunsToAvg, pid::Stream1Reference2RunsToAverage},
    {1, tabOf(Zero), Box::ledRunsToAvg, pid::Stream1ZeroRunsToAverage},
    {2, tabOf(Calibration), Box::ledRunsToAvg, pid::Stream2CalibrationRunsToAverage},
    {2, tabOf(Reference1), Box::ledRunsToAvg, pid::Stream2Reference1RunsToAverage},
    {2, tabOf(Reference2), Box::ledRunsToAvg, pid::Stream2Reference2RunsToAverage},
    {2, tabOf(Zero), Box::ledRunsToAvg, pid::Stream2ZeroRunsToAverage},
    {3, tabOf(Calibration), Box::ledRunsToAvg, pid::Stream3CalibrationRunsToAverage},
    {3, tabOf(Reference1), Box::ledRunsToAvg, pid::Stream3Reference1RunsToAverage},
    {3, tabOf(Reference2), Box::ledRunsToAvg, pid::Stream3Reference2RunsToAverage},
    {3, tabOf(Zero), Box::ledRunsToAvg, pid::Stream3ZeroRunsToAverage},
    {4, tabOf(Calibration), Box::ledRunsToAvg, pid::Stream4CalibrationRunsToAverage},
    {4, tabOf(Reference1), Box::ledRunsToAvg, pid::Stream4Reference1RunsToAverage},
    {4, tabOf(Reference2), Box::ledRunsToAvg, pid::Stream4Reference2RunsToAverage},
    {4, tabOf(Zero), Box::ledRunsToAvg, pid::Stream4ZeroRunsToAverage},
    {1, tabOf(Calibration), Box::ledCalGasConc, pid::Stream1CalibrationCalibrationGas},
    {1, tabOf(Reference1), Box::ledCalGasConc, pid::Stream1Reference1ReferenceGas},
    {1, tabOf(Reference2), Box::ledCalGasConc, pid::Stream1Reference2ReferenceGas},
    {1, tabOf(Zero), Box::ledCalGasConc, pid::Stream1ZeroZeroGas},
    {2, tabOf(Calibration), Box::ledCalGasConc, pid::Stream2CalibrationCalibrationGas},
    {2, tabOf(Reference1), Box::ledCalGasConc, pid::Stream2Reference1ReferenceGas},
    {2, tabOf(Reference2), Box::ledCalGasConc, pid::Stream2Reference2ReferenceGas},
    {2, tabOf(Zero), Box::ledCalGasConc, pid::Stream2ZeroZeroGas},
    {3, tabOf(Calibration), Box::ledCalGasConc, pid::Stream3CalibrationCalibrationGas},
    {3, tabOf(Reference1), Box::ledCalGasConc, pid::Stream3Reference1ReferenceGas},
    {3, tabOf(Reference2), Box::ledCalGasConc, pid::Stream3Reference2ReferenceGas},
    {3, tabOf(Zero), Box::ledCalGasConc, pid::Stream3ZeroZeroGas},
    {4, tabOf(Calibration), Box::ledCalGasConc, pid::Stream4CalibrationCalibrationGas},
    {4, tabOf(Reference1), Box::ledCalGasConc, pid::Stream4Reference1ReferenceGas},
    {4, tabOf(Reference2), Box::ledCalGasConc, pid::Stream4Reference2ReferenceGas},
    {4, tabOf(Zero), Box::ledCalGasConc, pid::Stream4ZeroZeroGas},
    {1, tabOf(H2S), Box::chkTime, pid::Stream1H2STimeEnable},
    {1, tabOf(TotalSulphur), Box::chkTime, pid::Stream1TotalSulphurTimeEnable},
    {1, tabOf(Calibration), Box::chkTime, pid::Stream1CalibrationTimeEnable},
    {1, tabOf(Reference1), Box::chkTime, pid::Stream1Reference1TimeEnable},
    {1, tabOf(Reference2), Box::chkTime, pid::Stream1Reference2TimeEnable},
    {1, tabOf(Zero), Box::chkTime, pid::Stream1ZeroTimeEnable},
    {2, tabOf(H2S), Box::chkTime, pid::Stream2H2STimeEnable},
    {2, tabOf(TotalSulphur), Box::chkTime, pid::Stream2TotalSulphurTimeEnable},
    {2, tabOf(Calibration), Box::chkTime, pid::Stream2CalibrationTimeEnable},
    {2, tabOf(Reference1), Box::chkTime, pid::Stream2Reference1TimeEnable},
    {2, tabOf(Reference2), Box::chkTime, pid::Stream2Reference2TimeEnable},
    {2, tabOf(Zero), Box::chkTime, pid::Stream2ZeroTimeEnable},
    {3, tabOf(H2S), Box::chkTime, pid::Stream3H2STimeEnable},
    {3, tabOf(TotalSulphur), Box::chkTime, pid::Stream3TotalSulphurTimeEnable},
    {3, tabOf(Calibration), Box::chkTime, pid::Stream3CalibrationTimeEnable},
    {3, tabOf(Reference1), Box::chkTime, pid::Stream3Reference1TimeEnable},
    {3, tabOf(Reference2), Box::chkTime, pid::Stream3Reference2TimeEnable},
    {3, tabOf(Zero), Box::chkTime, pid::Stream3ZeroTimeEnable},
    {4, tabOf(H2S), Box::chkTime, pid::Stream4H2STimeEnable},
    {4, tabOf(TotalSulphur), Box::chkTime, pid::Stream4TotalSulphurTimeEnable},
    {4, tabOf(Calibration), Box::chkTime, pid::Stream4CalibrationTimeEnable},
    {4, tabOf(Reference1), Box::chkTime, pid::Stream4Reference1TimeEnable},
    {4, tabOf(Reference2), Box::chkTime, pid::Stream4Reference2TimeEnable},
    {4, tabOf(Zero), Box::chkTime, pid::Stream4ZeroTimeEnable},
    {1, tabOf(H2S), Box::edDays, pid::Stream1H2SScheduledDayOfWeek},
    {1, tabOf(TotalSulphur), Box::edDays, pid::Stream1TotalSulphurScheduledDayOfWeek},
    {1, tabOf(Calibration), Box::edDays, pid::Stream1CalibrationScheduledDayOfWeek},
    {1, tabOf(Reference1), Box::edDays, pid::Stream1Reference1ScheduledDayOfWeek},
    {1, tabOf(Reference2), Box::edDays, pid::Stream1Reference2ScheduledDayOfWeek},
    {1, tabOf(Zero), Box::edDays, pid::Stream1ZeroScheduledDayOfWeek},
    {2, tabOf(H2S), Box::edDays, pid::Stream2H2SScheduledDayOfWeek},
    {2, tabOf(TotalSulphur), Box::edDays, pid::Stream2TotalSulphurScheduledDayOfWeek},
    {2, tabOf(Calibration), Box::edDays, pid::Stream2CalibrationScheduledDayOfWeek},
    {2, tabOf(Reference1), Box::edDays, pid::Stream2Reference1ScheduledDayOfWeek},
    {2, tabOf(Reference2), Box::edDays, pid::Stream2Reference2ScheduledDayOfWeek},
    {2, tabOf(Zero), Box::edDays, pid::Stream2ZeroScheduledDayOfWeek},
    {3, tabOf(H2S), Box::edDays, pid::Stream3H2SScheduledDayOfWeek},
    {3, tabOf(TotalSulphur), Box::edDays, pid::Stream3TotalSulphurScheduledDayOfWeek},
    {3, tabOf(Calibration), Box::edDays, pid::Stream3CalibrationScheduledDayOfWeek},
    {3, tabOf(Reference1), Box::edDays, pid::Stream3Reference1ScheduledDayOfWeek},
    {3, tabOf(Reference2), Box::edDays, pid::Stream3Reference2ScheduledDayOfWeek},
    {3, tabOf(Zero), Box::edDays, pid::Stream3ZeroScheduledDayOfWeek},
    {4, tabOf(H2S), Box::edDays, pid::Stream4H2SScheduledDayOfWeek},
    {4, tabOf(TotalSulphur), Box::edDays, pid::Stream4TotalSulphurScheduledDayOfWeek},
    {4, tabOf(Calibration), Box::edDays, pid::Stream4CalibrationScheduledDayOfWeek},
    {4, tabOf(Reference1), Box::edDays, pid::Stream4Reference1ScheduledDayOfWeek},
    {4, tabOf(Reference2), Box::edDays, pid::Stream4Reference2ScheduledDayOfWeek},
    {4, tabOf(Zero), Box::edDays, pid::Stream4ZeroScheduledDayOfWeek},
    {1, tabOf(H2S), Box::edHours, pid::Stream1H2SScheduledHour},
    {1, tabOf(TotalSulphur), Box::edHours, pid::Stream1TotalSulphurScheduledHour},
    {1, tabOf(Calibration), Box::edHours, pid::Stream1CalibrationScheduledHour},
    {1, tabOf(Reference1), Box::edHours, pid::Stream1Reference1ScheduledHour},
    {1, tabOf(Reference2), Box::edHours, pid::Stream1Reference2ScheduledHour},
    {1, tabOf(Zero), Box::edHours, pid::Stream1ZeroScheduledHour},
    {2, tabOf(H2S), Box::edHours, pid::Stream2H2SScheduledHour},
    {2, tabOf(TotalSulphur), Box::edHours, pid::Stream2TotalSulphurScheduledHour},
    {2, tabOf(Calibration), Box::edHours, pid::Stream2CalibrationScheduledHour},
    {2, tabOf(Reference1), Box::edHours, pid::Stream2Reference1ScheduledHour},
    {2, tabOf(Reference2), Box::edHours, pid::Stream2Reference2ScheduledHour},
    {2, tabOf(Zero), Box::edHours, pid::Stream2ZeroScheduledHour},
    {3, tabOf(H2S), Box::edHours, pid::Stream3H2SScheduledHour},
    {3, tabOf(TotalSulphur), Box::edHours, pid::Stream3TotalSulphurScheduledHour},
    {3, tabOf(Calibration), Box::edHours, pid::Stream3CalibrationScheduledHour},
    {3, tabOf(Reference1), Box::edHours, pid::Stream3Reference1ScheduledHour},
    {3, tabOf(Reference2), Box::edHours, pid::Stream3Reference2ScheduledHour},
    {3, tabOf(Zero), Box::edHours, pid::Stream3ZeroScheduledHour},
    {4, tabOf(H2S), Box::edHours, pid::Stream4H2SScheduledHour},
    {4, tabOf(TotalSulphur), Box::edHours, pid::Stream4TotalSulphurScheduledHour},
    {4, tabOf(Calibration), Box::edHours, pid::Stream4CalibrationScheduledHour},
    {4, tabOf(Reference1), Box::edHours, pid::Stream4Reference1ScheduledHour},
    {4, tabOf(Reference2), Box::edHours, pid::Stream4Reference2ScheduledHour},
    {4, tabOf(Zero), Box::edHours, pid::Stream4ZeroScheduledHour},
    {1, tabOf(H2S), Box::edMinute, pid::Stream1H2SScheduledMinute},
    {1, tabOf(TotalSulphur), Box::edMinute, pid::Stream1TotalSulphurScheduledMinute},
    {1, tabOf(Calibration), Box::edMinute, pid::Stream1CalibrationScheduledMinute},
    {1, tabOf(Reference1), Box::edMinute, pid::Stream1Reference1ScheduledMinute},
    {1, tabOf(Reference2), Box::edMinute, pid::Stream1Reference2ScheduledMinute},
    {1, tabOf(Zero), Box::edMinute, pid::Stream1ZeroScheduledMinute},
    {2, tabOf(H2S), Box::edMinute, pid::Stream2H2SScheduledMinute},
    {2, tabOf(TotalSulphur), Box::edMinute, pid::Stream2TotalSulphurScheduledMinute},
    {2, tabOf(Calibration), Box::edMinute, pid::Stream2CalibrationScheduledMinute},
    {2, tabOf(Reference1), Box::edMinute, pid::Stream2Reference1ScheduledMinute},
    {2, tabOf(Reference2), Box::edMinute, pid::Stream2Reference2ScheduledMinute},
    {2, tabOf(Zero), Box::edMinute, pid::Stream2ZeroScheduledMinute},
    {3, tabOf(H2S), Box::edMinute, pid::Stream3H2SScheduledMinute},
    {3, tabOf(TotalSulphur), Box::edMinute, pid::Stream3TotalSulphurScheduledMinute},
    {3, tabOf(Calibration), Box::edMinute, pid::Stream3CalibrationScheduledMinute},
    {3, tabOf(Reference1), Box::edMinute, pid::Stream3Reference1ScheduledMinute},
    {3, tabOf(Reference2), Box::edMinute, pid::Stream3Reference2ScheduledMinute},
    {3, tabOf(Zero), Box::edMinute, pid::Stream3ZeroScheduledMinute},
    {4, tabOf(H2S), Box::edMinute, pid::Stream4H2SScheduledMinute},
    {4, tabOf(TotalSulphur), Box::edMinute, pid::Stream4TotalSulphurScheduledMinute},
    {4, tabOf(Calibration), Box::edMinute, pid::Stream4CalibrationScheduledMinute},
    {4, tabOf(Reference1), Box::edMinute, pid::Stream4Reference1ScheduledMinute},
    {4, tabOf(Reference2), Box::edMinute, pid::Stream4Reference2ScheduledMinute},
    {4, tabOf(Zero), Box::edMinute, pid::Stream4ZeroScheduledMinute},
    {1, tabOf(H2S), Box::ledSampleDelay, pid::Stream1H2SSampleDelay},
    {1, tabOf(TotalSulphur), Box::ledSampleDelay, pid::Stream1TotalSulphurSampleDelay},
    {1, tabOf(Calibration), Box::ledSampleDelay, pid::Stream1CalibrationSampleDelay},
    {1, tabOf(Reference1), Box::ledSampleDelay, pid::Stream1Reference1SampleDelay},
    {1, tabOf(Reference2), Box::ledSampleDelay, pid::Stream1Reference2SampleDelay},
    {1, tabOf(Zero), Box::ledSampleDelay, pid::Stream1ZeroSampleDelay},
    {2, tabOf(H2S), Box::ledSampleDelay, pid::Stream2H2SSampleDelay},
    {2, tabOf(TotalSulphur), Box::ledSampleDelay, pid::Stream2TotalSulphurSampleDelay},
    {2, tabOf(Calibration), Box::ledSampleDelay, pid::Stream2CalibrationSampleDelay},
    {2, tabOf(Reference1), Box::ledSampleDelay, pid::Stream2Reference1SampleDelay},
    {2, tabOf(Reference2), Box::ledSampleDelay, pid::Stream2Reference2SampleDelay},
    {2, tabOf(Zero), Box::ledSampleDelay, pid::Stream2ZeroSampleDelay},
    {3, tabOf(H2S), Box::ledSampleDelay, pid::Stream3H2SSampleDelay},
    {3, tabOf(TotalSulphur), Box::ledSampleDelay, pid::Stream3TotalSulphurSampleDelay},
    {3, tabOf(Calibration), Box::ledSampleDelay, pid::Stream3CalibrationSampleDelay},
    {3, tabOf(Reference1), Box::ledSampleDelay, pid::Stream3Reference1SampleDelay},
    {3, tabOf(Reference2), Box::ledSampleDelay, pid::Stream3Reference2SampleDelay},
    {3, tabOf(Zero), Box::ledSampleDelay, pid::Stream3ZeroSampleDelay},
    {4, tabOf(H2S), Box::ledSampleDelay, pid::Stream4H2SSampleDelay},
    {4, tabOf(TotalSulphur), Box::ledSampleDelay, pid::Stream4TotalSulphurSampleDelay},
    {4, tabOf(Calibration), Box::ledSampleDelay, pid::Stream4CalibrationSampleDelay},
    {4, tabOf(Reference1), Box::ledSampleDelay, pid::Stream4Reference1SampleDelay},
    {4, tabOf(Reference2), Box::ledSampleDelay, pid::Stream4Reference2SampleDelay},
    {4, tabOf(Zero), Box::ledSampleDelay, pid::Stream4ZeroSampleDelay},
    {1, tabOf(H2S), Box::ledSampleInterval, pid::Stream1H2SSampleInterval},
    {1, tabOf(TotalSulphur), Box::ledSampleInterval, pid::Stream1TotalSulphurSampleInterval},
    {1, tabOf(Calibration), Box::ledSampleInterval, pid::Stream1CalibrationSampleInterval},
    {1, tabOf(Reference1), Box::ledSampleInterval, pid::Stream1Reference1SampleInterval},
    {1, tabOf(Reference2), Box::ledSampleInterval, pid::Stream1Reference2SampleInterval},
    {1, tabOf(Zero), Box::ledSampleInterval, pid::Stream1ZeroSampleInterval},
    {2, tabOf(H2S), Box::ledSampleInterval, pid::Stream2H2SSampleInterval},
    {2, tabOf(TotalSulphur), Box::ledSampleInterval, pid::Stream2TotalSulphurSampleInterval},
    {2, tabOf(Calibration), Box::ledSampleInterval, pid::Stream2CalibrationSampleInterval},
    {2, tabOf(Reference1), Box::ledSampleInterval, pid::Stream2Reference1SampleInterval},
    {2, tabOf(Reference2), Box::ledSampleInterval, pid::Stream2Reference2SampleInterval},
    {2, tabOf(Zero), Box::ledSampleInterval, pid::Stream2ZeroSampleInterval},
    {3, tabOf(H2S), Box::ledSampleInterval, pid::Stream3H2SSampleInterval},
    {3, tabOf(TotalSulphur), Box::ledSampleInterval, pid::Stream3TotalSulphurSampleInterval},
    {3, tabOf(Calibration), Box::ledSampleInterval, pid::Stream3CalibrationSampleInterval},
    {3, tabOf(Reference1), Box::ledSampleInterval, pid::Stream3Reference1SampleInterval},
    {3, tabOf(Reference2), Box::ledSampleInterval, pid::Stream3Reference2SampleInterval},
    {3, tabOf(Zero), Box::ledSampleInterval, pid::Stream3ZeroSampleInterval},
    {4, tabOf(H2S), Box::ledSampleInterval, pid::Stream4H2SSampleInterval},
    {4, tabOf(TotalSulphur), Box::ledSampleInterval, pid::Stream4TotalSulphurSampleInterval},
    {4, tabOf(Calibration), Box::ledSampleInterval, pid::Stream4CalibrationSampleInterval},
    {4, tabOf(Reference1), Box::ledSampleInterval, pid::Stream4Reference1SampleInterval},
    {4, tabOf(Reference2), Box::ledSampleInterval, pid::Stream4Reference2SampleInterval},
    {4, tabOf(Zero), Box::ledSampleInterval, pid::Stream4ZeroSampleInterval},
    {1, tabOf(H2S), Box::ledKFactor, pid::Stream1H2STapeSaturationCutoffMV},
    {1, tabOf(TotalSulphur), Box::ledKFactor, pid::Stream1TotalSulphurTapeSaturationCutoffMV},
    {1, tabOf(Calibration), Box::ledKFactor, pid::Stream1CalibrationTapeSaturationCutoffMV},
    {1, tabOf(Reference1), Box::ledKFactor, pid::Stream1Reference1TapeSaturationCutoffMV},
    {1, tabOf(Reference2), Box::ledKFactor, pid::Stream1Reference2TapeSaturationCutoffMV},
    {1, tabOf(Zero), Box::ledKFactor, pid::Stream1ZeroTapeSaturationCutoffMV},
    {2, tabOf(H2S), Box::ledKFactor, pid::Stream2H2STapeSaturationCutoffMV},
    {2, tabOf(TotalSulphur), Box::ledKFactor, pid::Stream2TotalSulphurTapeSaturationCutoffMV},
    {2, tabOf(Calibration), Box::ledKFactor, pid::Stream2CalibrationTapeSaturationCutoffMV},
    {2, tabOf(Reference1), Box::ledKFactor, pid::Stream2Reference1TapeSaturationCutoffMV},
    {2, tabOf(Reference2), Box::ledKFactor, pid::Stream2Reference2TapeSaturationCutoffMV},
    {2, tabOf(Zero), Box::ledKFactor, pid::Stream2ZeroTapeSaturationCutoffMV},
    {3, tabOf(H2S), Box::ledKFactor, pid::Stream3H2STapeSaturationCutoffMV},
    {3, tabOf(TotalSulphur), Box::ledKFactor, pid::Stream3TotalSulphurTapeSaturationCutoffMV},
    {3, tabOf(Calibration), Box::ledKFactor, pid::Stream3CalibrationTapeSaturationCutoffMV},
    {3, tabOf(Reference1), Box::ledKFactor, pid::Stream3Reference1TapeSaturationCutoffMV},
    {3, tabOf(Reference2), Box::ledKFactor, pid::Stream3Reference2TapeSaturationCutoffMV},
    {3, tabOf(Zero), Box::ledKFactor, pid::Stream3ZeroTapeSaturationCutoffMV},
    {4, tabOf(H2S), Box::ledKFactor, pid::Stream4H2STapeSaturationCutoffMV},
    {4, tabOf(TotalSulphur), Box::ledKFactor, pid::Stream4TotalSulphurTapeSaturationCutoffMV},
    {4, tabOf(Calibration), Box::ledKFactor, pid::Stream4CalibrationTapeSaturationCutoffMV},
    {4, tabOf(Reference1), Box::ledKFactor, pid::Stream4Reference1TapeSaturationCutoffMV},
    {4, tabOf(Reference2), Box::ledKFactor, pid::Stream4Reference2TapeSaturationCutoffMV},
    {4, tabOf(Zero), Box::ledKFactor, pid::Stream4ZeroTapeSaturationCutoffMV},
    {1, tabOf(H2S), Box::Switching, pid::Stream1H2SSwitching},
    {1, tabOf(TotalSulphur), Box::Switching, pid::Stream1TotalSulphurSwitching},
    {1, tabOf(Calibration), Box::Switching, pid::Stream1CalibrationSwitching},
    {1, tabOf(Reference1), Box::Switching, pid::Stream1Reference1Switching},
    {1, tabOf(Reference2), Box::Switching, pid::Stream1Reference2Switching},
    {1, tabOf(Zero), Box::Switching, pid::Stream1ZeroSwitching},
    {2, tabOf(H2S), Box::Switching, pid::Stream2H2SSwitching},
    {2, tabOf(TotalSulphur), Box::Switching, pid::Stream2TotalSulphurSwitching},
    {2, tabOf(Calibration), Box::Switching, pid::Stream2CalibrationSwitching},
    {2, tabOf(Reference1), Box::Switching, pid::Stream2Reference1Switching},
    {2, tabOf(Reference2), Box::Switching, pid::Stream2Reference2Switching},
    {2, tabOf(Zero), Box::Switching, pid::Stream2ZeroSwitching},
    {3, tabOf(H2S), Box::Switching, pid::Stream3H2SSwitching},
    {3, tabOf(TotalSulphur), Box::Switching, pid::Stream3TotalSulphurSwitching},
    {3, tabOf(Calibration), Box::Switching, pid::Stream3CalibrationSwitching},
    {3, tabOf(Reference1), Box::Switching, pid::Stream3Reference1Switching},
    {3, tabOf(Reference2), Box::Switching, pid::Stream3Reference2Switching},
    {3, tabOf(Zero), Box::Switching, pid::Stream3ZeroSwitching},
    {4, tabOf(H2S), Box::Switching, pid::Stream4H2SSwitching},
    {4, tabOf(TotalSulphur), Box::Switching, pid::Stream4TotalSulphurSwitching},
    {4, tabOf(Calibration), Box::Switching, pid::Stream4CalibrationSwitching},
    {4, tabOf(Reference1), Box::Switching, pid::Stream4Reference1Switching},
    {4, tabOf(Reference2), Box::Switching, pid::Stream4Reference2Switching},
    {4, tabOf(Zero), Box::Switching, pid::Stream4ZeroSwitching},
    {1, tabOf(H2S), Box::ckAOMgr1Enable, pid::Stream1H2SAnalogOutput1Enable},
    {1, tabOf(TotalSulphur), Box::ckAOMgr1Enable, pid::Stream1TotalSulphurAnalogOutput1Enable},
    {1, tabOf(Calibration), Box::ckAOMgr1Enable, pid::Stream1CalibrationAnalogOutput1Enable},
    {1, tabOf(Reference1), Box::ckAOMgr1Enable, pid::Stream1Reference1AnalogOutput1Enable},
    {1, tabOf(Reference2), Box::ckAOMgr1Enable, pid::Stream1Reference2AnalogOutput1Enable},
    {1, tabOf(Zero), Box::ckAOMgr1Enable, pid::Stream1ZeroAnalogOutput1Enable},
    {2, tabOf(H2S), Box::ckAOMgr1Enable, pid::Stream2H2SAnalogOutput1Enable},
    {2, tabOf(TotalSulphur), Box::ckAOMgr1Enable, pid::Stream2TotalSulphurAnalogOutput1Enable},
    {2, tabOf(Calibration), Box::ckAOMgr1Enable, pid::Stream2CalibrationAnalogOutput1Enable},
    {2, tabOf(Reference1), Box::ckAOMgr1Enable, pid::Stream2Reference1AnalogOutput1Enable},
    {2, tabOf(Reference2), Box::ckAOMgr1Enable, pid::Stream2Reference2AnalogOutput1Enable},
    {2, tabOf(Zero), Box::ckAOMgr1Enable, pid::Stream2ZeroAnalogOutput1Enable},
    {3, tabOf(H2S), Box::ckAOMgr1Enable, pid::Stream3H2SAnalogOutput1Enable},
    {3, tabOf(TotalSulphur), Box::ckAOMgr1Enable, pid::Stream3TotalSulphurAnalogOutput1Enable},
    {3, tabOf(Calibration), Box::ckAOMgr1Enable, pid::Stream3CalibrationAnalogOutput1Enable},
    {3, tabOf(Reference1), Box::ckAOMgr1Enable, pid::Stream3Reference1AnalogOutput1Enable},
    {3, tabOf(Reference2), Box::ckAOMgr1Enable, pid::Stream3Reference2AnalogOutput1Enable},
    {3, tabOf(Zero), Box::ckAOMgr1Enable, pid::Stream3ZeroAnalogOutput1Enable},
    {4, tabOf(H2S), Box::ckAOMgr1Enable, pid::Stream4H2SAnalogOutput1Enable},
    {4, tabOf(TotalSulphur), Box::ckAOMgr1Enable, pid::Stream4TotalSulphurAnalogOutput1Enable},
    {4, tabOf(Calibration), Box::ckAOMgr1Enable, pid::Stream4CalibrationAnalogOutput1Enable},
    {4, tabOf(Reference1), Box::ckAOMgr1Enable, pid::Stream4Reference1AnalogOutput1Enable},
    {4, tabOf(Reference2), Box::ckAOMgr1Enable, pid::Stream4Reference2AnalogOutput1Enable},
    {4, tabOf(Zero), Box::ckAOMgr1Enable, pid::Stream4ZeroAnalogOutput1Enable},
    {1, tabOf(H2S), Box::cbAOMgr1Function, pid::Stream1H2SAnalogOutput1Function},
    {1, tabOf(TotalSulphur), Box::cbAOMgr1Function, pid::Stream1TotalSulphurAnalogOutput1Function},
    {1, tabOf(Calibration), Box::cbAOMgr1Function, pid::Stream1CalibrationAnalogOutput1Function},
    {1, tabOf(Reference1), Box::cbAOMgr1Function, pid::Stream1Reference1AnalogOutput1Function},
    {1, tabOf(Reference2), Box::cbAOMgr1Function, pid::Stream1Reference2AnalogOutput1Function},
    {1, tabOf(Zero), Box::cbAOMgr1Function, pid::Stream1ZeroAnalogOutput1Function},
    {2, tabOf(H2S), Box::cbAOMgr1Function, pid::Stream2H2SAnalogOutput1Function},
    {2, tabOf(TotalSulphur), Box::cbAOMgr1Function, pid::Stream2TotalSulphurAnalogOutput1Function},
    {2, tabOf(Calibration), Box::cbAOMgr1Function, pid::Stream2CalibrationAnalogOutput1Function},
    {2, tabOf(Reference1), Box::cbAOMgr1Function, pid::Stream2Reference1AnalogOutput1Function},
    {2, tabOf(Reference2), Box::cbAOMgr1Function, pid::Stream2Reference2AnalogOutput1Function},
    {2, tabOf(Zero), Box::cbAOMgr1Function, pid::Stream2ZeroAnalogOutput1Function},
    {3, tabOf(H2S), Box::cbAOMgr1Function, pid::Stream3H2SAnalogOutput1Function},
    {3, tabOf(TotalSulphur), Box::cbAOMgr1Function, pid::Stream3TotalSulphurAnalogOutput1Function},
    {3, tabOf(Calibration), Box::cbAOMgr1Function, pid::Stream3CalibrationAnalogOutput1Function},
    {3, tabOf(Reference1), Box::cbAOMgr1Function, pid::Stream3Reference1AnalogOutput1Function},
    {3, tabOf(Reference2), Box::cbAOMgr1Function, pid::Stream3Reference2AnalogOutput1Function},
    {3, tabOf(Zero), Box::cbAOMgr1Function, pid::Stream3ZeroAnalogOutput1Function},
    {4, tabOf(H2S), Box::cbAOMgr1Function, pid::Stream4H2SAnalogOutput1Function},
    {4, tabOf(TotalSulphur), Box::cbAOMgr1Function, pid::Stream4TotalSulphurAnalogOutput1Function},
    {4, tabOf(Calibration), Box::cbAOMgr1Function, pid::Stream4CalibrationAnalogOutput1Function},
    {4, tabOf(Reference1), Box::cbAOMgr1Function, pid::Stream4Reference1AnalogOutput1Function},
    {4, tabOf(Reference2), Box::cbAOMgr1Function, pid::Stream4Reference2AnalogOutput1Function},
    {4, tabOf(Zero), Box::cbAOMgr1Function, pid::Stream4ZeroAnalogOutput1Function},
    {1, tabOf(H2S), Box::cbAOMgr1Channel, pid::Stream1H2SAnalogOutput1Channel},
    {1, tabOf(TotalSulphur), Box::cbAOMgr1Channel, pid::Stream1TotalSulphurAnalogOutput1Channel},
    {1, tabOf(Calibration), Box::cbAOMgr1Channel, pid::Stream1CalibrationAnalogOutput1Channel},
    {1, tabOf(Reference1), Box::cbAOMgr1Channel, pid::Stream1Reference1AnalogOutput1Channel},
    {1, tabOf(Reference2), Box::cbAOMgr1Channel, pid::Stream1Reference2AnalogOutput1Channel},
    {1, tabOf(Zero), Box::cbAOMgr1Channel, pid::Stream1ZeroAnalogOutput1Channel},
    {2, tabOf(H2S), Box::cbAOMgr1Channel, pid::Stream2H2SAnalogOutput1Channel},
    {2, tabOf(TotalSulphur), Box::cbAOMgr1Channel, pid::Stream2TotalSulphurAnalogOutput1Channel},
    {2, tabOf(Calibration), Box::cbAOMgr1Channel, pid::Stream2CalibrationAnalogOutput1Channel},
    {2, tabOf(Reference1), Box::cbAOMgr1Channel, pid::Stream2Reference1AnalogOutput1Channel},
    {2, tabOf(Reference2), Box::cbAOMgr1Channel, pid::Stream2Reference2AnalogOutput1Channel},
    {2, tabOf(Zero), Box::cbAOMgr1Channel, pid::Stream2ZeroAnalogOutput1Channel},
    {3, tabOf(H2S), Box::cbAOMgr1Channel, pid::Stream3H2SAnalogOutput1Channel},
    {3, tabOf(TotalSulphur), Box::cbAOMgr1Channel, pid::Stream3TotalSulphurAnalogOutput1Channel},
    {3, tabOf(Calibration), Box::cbAOMgr1Channel, pid::Stream3CalibrationAnalogOutput1Channel},
    {3, tabOf(Reference1), Box::cbAOMgr1Channel, pid::Stream3Reference1AnalogOutput1Channel},
    {3, tabOf(Reference2), Box::cbAOMgr1Channel, pid::Stream3Reference2AnalogOutput1Channel},
    {3, tabOf(Zero), Box::cbAOMgr1Channel, pid::Stream3ZeroAnalogOutput1Channel},
    {4, tabOf(H2S), Box::cbAOMgr1Channel, pid::Stream4H2SAnalogOutput1Channel},
    {4, tabOf(TotalSulphur), Box::cbAOMgr1Channel, pid::Stream4TotalSulphurAnalogOutput1Channel},
    {4, tabOf(Calibration), Box::cbAOMgr1Channel, pid::Stream4CalibrationAnalogOutput1Channel},
    {4, tabOf(Reference1), Box::cbAOMgr1Channel, pid::Stream4Reference1AnalogOutput1Channel},
    {4, tabOf(Reference2), Box::cbAOMgr1Channel, pid::Stream4Reference2AnalogOutput1Channel},
    {4, tabOf(Zero), Box::cbAOMgr1Channel, pid::Stream4ZeroAnalogOutput1Channel},
    {1, tabOf(H2S), Box::ckAOMgr2Enable, pid::Stream1H2SAnalogOutput2Enable},
    {1, tabOf(TotalSulphur), Box::ckAOMgr2Enable, pid::Stream1TotalSulphurAnalogOutput2Enable},
    {1, tabOf(Calibration), Box::ckAOMgr2Enable, pid::Stream1CalibrationAnalogOutput2Enable},
    {1, tabOf(Reference1), Box::ckAOMgr2Enable, pid::Stream1Reference1AnalogOutput2Enable},
    {1, tabOf(Reference2), Box::ckAOMgr2Enable, pid::Stream1Reference2AnalogOutput2Enable},
    {1, tabOf(Zero), Box::ckAOMgr2Enable, pid::Stream1ZeroAnalogOutput2Enable},
    {2, tabOf(H2S), Box::ckAOMgr2Enable, pid::Stream2H2SAnalogOutput2Enable},
    {2, tabOf(TotalSulphur), Box::ckAOMgr2Enable, pid::Stream2TotalSulphurAnalogOutput2Enable},
    {2, tabOf(Calibration), Box::ckAOMgr2Enable, pid::Stream2CalibrationAnalogOutput2Enable},
    {2, tabOf(Reference1), Box::ckAOMgr2Enable, pid::Stream2Reference1AnalogOutput2Enable},
    {2, tabOf(Reference2), Box::ckAOMgr2Enable, pid::Stream2Reference2AnalogOutput2Enable},
    {2, tabOf(Zero), Box::ckAOMgr2Enable, pid::Stream2ZeroAnalogOutput2Enable},
    {3, tabOf(H2S), Box::ckAOMgr2Enable, pid::Stream3H2SAnalogOutput2Enable},
    {3, tabOf(TotalSulphur), Box::ckAOMgr2Enable, pid::Stream3TotalSulphurAnalogOutput2Enable},
    {3, tabOf(Calibration), Box::ckAOMgr2Enable, pid::Stream3CalibrationAnalogOutput2Enable},
    {3, tabOf(Reference1), Box::ckAOMgr2Enable, pid::Stream3Reference1AnalogOutput2Enable},
    {3, tabOf(Reference2), Box::ckAOMgr2Enable, pid::Stream3Reference2AnalogOutput2Enable},
    {3, tabOf(Zero), Box::ckAOMgr2Enable, pid::Stream3ZeroAnalogOutput2Enable},
    {4, tabOf(H2S), Box::ckAOMgr2Enable, pid::Stream4H2SAnalogOutput2Enable},
    {4, tabOf(TotalSulphur), Box::ckAOMgr2Enable, pid::Stream4TotalSulphurAnalogOutput2Enable},
    {4, tabOf(Calibration), Box::ckAOMgr2Enable, pid::Stream4CalibrationAnalogOutput2Enable},
    {4, tabOf(Reference1), Box::ckAOMgr2Enable, pid::Stream4Reference1AnalogOutput2Enable},
    {4, tabOf(Reference2), Box::ckAOMgr2Enable, pid::Stream4Reference2AnalogOutput2Enable},
    {4, tabOf(Zero), Box::ckAOMgr2Enable, pid::Stream4ZeroAnalogOutput2Enable},
    {1, tabOf(H2S), Box::cbAOMgr2Function, pid::Stream1H2SAnalogOutput2Function},
    {1, tabOf(TotalSulphur), Box::cbAOMgr2Function, pid::Stream1TotalSulphurAnalogOutput2Function},
    {1, tabOf(Calibration), Box::cbAOMgr2Function, pid::Stream1CalibrationAnalogOutput2Function},
    {1, tabOf(Reference1), Box::cbAOMgr2Function, pid::Stream1Reference1AnalogOutput2Function},
    {1, tabOf(Reference2), Box::cbAOMgr2Function, pid::Stream1Reference2AnalogOutput2Function},
    {1, tabOf(Zero), Box::cbAOMgr2Function, pid::Stream1ZeroAnalogOutput2Function},
    {2, tabOf(H2S), Box::cbAOMgr2Function, pid::Stream2H2SAnalogOutput2Function},
    {2, tabOf(TotalSulphur), Box::cbAOMgr2Function, pid::Stream2TotalSulphurAnalogOutput2Function},
    {2, tabOf(Calibration), Box::cbAOMgr2Function, pid::Stream2CalibrationAnalogOutput2Function},
    {2, tabOf(Reference1), Box::cbAOMgr2Function, pid::Stream2Reference1AnalogOutput2Function},
    {2, tabOf(Reference2), Box::cbAOMgr2Function, pid::Stream2Reference2AnalogOutput2Function},
    {2, tabOf(Zero), Box::cbAOMgr2Function, pid::Stream2ZeroAnalogOutput2Function},
    {3, tabOf(H2S), Box::cbAOMgr2Function, pid::Stream3H2SAnalogOutput2Function},
    {3, tabOf(TotalSulphur), Box::cbAOMgr2Function, pid::Stream3TotalSulphurAnalogOutput2Function},
    {3, tabOf(Calibration), Box::cbAOMgr2Function, pid::Stream3CalibrationAnalogOutput2Function},
    {3, tabOf(Reference1), Box::cbAOMgr2Function, pid::Stream3Reference1AnalogOutput2Function},
    {3, tabOf(Reference2), Box::cbAOMgr2Function, pid::Stream3Reference2AnalogOutput2Function},
    {3, tabOf(Zero), Box::cbAOMgr2Function, pid::Stream3ZeroAnalogOutput2Function},
    {4, tabOf(H2S), Box::cbAOMgr2Function, pid::Stream4H2SAnalogOutput2Function},
    {4, tabOf(TotalSulphur), Box::cbAOMgr2Function, pid::Stream4TotalSulphurAnalogOutput2Function},
    {4, tabOf(Calibration), Box::cbAOMgr2Function, pid::Stream4CalibrationAnalogOutput2Function},
    {4, tabOf(Reference1), Box::cbAOMgr2Function, pid::Stream4Reference1AnalogOutput2Function},
    {4, tabOf(Reference2), Box::cbAOMgr2Function, pid::Stream4Reference2AnalogOutput2Function},
    {4, tabOf(Zero), Box::cbAOMgr2Function, pid::Stream4ZeroAnalogOutput2Function},
    {1, tabOf(H2S), Box::cbAOMgr2Channel, pid::Stream1H2SAnalogOutput2Channel},
    {1, tabOf(TotalSulphur), Box::cbAOMgr2Channel, pid::Stream1TotalSulphurAnalogOutput2Channel},
    {1, tabOf(Calibration), Box::cbAOMgr2Channel, pid::Stream1CalibrationAnalogOutput2Channel},
    {1, tabOf(Reference1), Box::cbAOMgr2Channel, pid::Stream1Reference1AnalogOutput2Channel},
    {1, tabOf(Reference2), Box::cbAOMgr2Channel, pid::Stream1Reference2AnalogOutput2Channel},
    {1, tabOf(Zero), Box::cbAOMgr2Channel, pid::Stream1ZeroAnalogOutput2Channel},
    {2, tabOf(H2S), Box::cbAOMgr2Channel, pid::Stream2H2SAnalogOutput2Channel},
    {2, tabOf(TotalSulphur), Box::cbAOMgr2Channel, pid::Stream2TotalSulphurAnalogOutput2Channel},
    {2, tabOf(Calibration), Box::cbAOMgr2Channel, pid::Stream2CalibrationAnalogOutput2Channel},
    {2, tabOf(Reference1), Box::cbAOMgr2Channel, pid::Stream2Reference1AnalogOutput2Channel},
    {2, tabOf(Reference2), Box::cbAOMgr2Channel, pid::Stream2Reference2AnalogOutput2Channel},
    {2, tabOf(Zero), Box::cbAOMgr2Channel, pid::Stream2ZeroAnalogOutput2Channel},
    {3, tabOf(H2S), Box::cbAOMgr2Channel, pid::Stream3H2SAnalogOutput2Channel},
    {3, tabOf(TotalSulphur), Box::cbAOMgr2Channel, pid::Stream3TotalSulphurAnalogOutput2Channel},
    {3, tabOf(Calibration), Box::cbAOMgr2Channel, pid::Stream3CalibrationAnalogOutput2Channel},
    {3, tabOf(Reference1), Box::cbAOMgr2Channel, pid::Stream3Reference1AnalogOutput2Channel},
    {3, tabOf(Reference2), Box::cbAOMgr2Channel, pid::Stream3Reference2AnalogOutput2Channel},
    {3, tabOf(Zero), Box::cbAOMgr2Channel, pid::Stream3ZeroAnalogOutput2Channel},
    {4, tabOf(H2S), Box::cbAOMgr2Channel, pid::Stream4H2SAnalogOutput2Channel},
    {4, tabOf(TotalSulphur), Box::cbAOMgr2Channel, pid::Stream4TotalSulphurAnalogOutput2Channel},
    {4, tabOf(Calibration), Box::cbAOMgr2Channel, pid::Stream4CalibrationAnalogOutput2Channel},
    {4, tabOf(Reference1), Box::cbAOMgr2Channel, pid::Stream4Reference1AnalogOutput2Channel},
    {4, tabOf(Reference2), Box::cbAOMgr2Channel, pid::Stream4Reference2AnalogOutput2Channel},
    {4, tabOf(Zero), Box::cbAOMgr2Channel, pid::Stream4ZeroAnalogOutput2Channel},
    {1, tabOf(H2S), Box::ckAlarm1Enable, pid::Stream1H2SHighAlarmEnable},
    {1, tabOf(TotalSulphur), Box::ckAlarm1Enable, pid::Stream1TotalSulphurHighAlarmEnable},
    {1, tabOf(Calibration), Box::ckAlarm1Enable, pid::Stream1CalibrationHighAlarmEnable},
    {1, tabOf(Reference1), Box::ckAlarm1Enable, pid::Stream1Reference1HighAlarmEnable},
    {1, tabOf(Reference2), Box::ckAlarm1Enable, pid::Stream1Reference2HighAlarmEnable},
    {1, tabOf(Zero), Box::ckAlarm1Enable, pid::Stream1ZeroHighAlarmEnable},
    {2, tabOf(H2S), Box::ckAlarm1Enable, pid::Stream2H2SHighAlarmEnable},
    {2, tabOf(TotalSulphur), Box::ckAlarm1Enable, pid::Stream2TotalSulphurHighAlarmEnable},
    {2, tabOf(Calibration), Box::ckAlarm1Enable, pid::Stream2CalibrationHighAlarmEnable},
    {2, tabOf(Reference1), Box::ckAlarm1Enable, pid::Stream2Reference1HighAlarmEnable},
    {2, tabOf(Reference2), Box::ckAlarm1Enable, pid::Stream2Reference2HighAlarmEnable},
    {2, tabOf(Zero), Box::ckAlarm1Enable, pid::Stream2ZeroHighAlarmEnable},
    {3, tabOf(H2S), Box::ckAlarm1Enable, pid::Stream3H2SHighAlarmEnable},
    {3, tabOf(TotalSulphur), Box::ckAlarm1Enable, pid::Stream3TotalSulphurHighAlarmEnable},
    {3, tabOf(Calibration), Box::ckAlarm1Enable, pid::Stream3CalibrationHighAlarmEnable},
    {3, tabOf(Reference1), Box::ckAlarm1Enable, pid::Stream3Reference1HighAlarmEnable},
    {3, tabOf(Reference2), Box::ckAlarm1Enable, pid::Stream3Reference2HighAlarmEnable},
    {3, tabOf(Zero), Box::ckAlarm1Enable, pid::Stream3ZeroHighAlarmEnable},
    {4, tabOf(H2S), Box::ckAlarm1Enable, pid::Stream4H2SHighAlarmEnable},
    {4, tabOf(TotalSulphur), Box::ckAlarm1Enable, pid::Stream4TotalSulphurHighAlarmEnable},
    {4, tabOf(Calibration), Box::ckAlarm1Enable, pid::Stream4CalibrationHighAlarmEnable},
    {4, tabOf(Reference1), Box::ckAlarm1Enable, pid::Stream4Reference1HighAlarmEnable},
    {4, tabOf(Reference2), Box::ckAlarm1Enable, pid::Stream4Reference2HighAlarmEnable},
    {4, tabOf(Zero), Box::ckAlarm1Enable, pid::Stream4ZeroHighAlarmEnable},
    {1, tabOf(H2S), Box::edAlarm1Limit, pid::Stream1H2SHighAlarmLimit},
    {1, tabOf(TotalSulphur), Box::edAlarm1Limit, pid::Stream1TotalSulphurHighAlarmLimit},
    {1, tabOf(Calibration), Box::edAlarm1Limit, pid::Stream1CalibrationHighAlarmLimit},
    {1, tabOf(Reference1), Box::edAlarm1Limit, pid::Stream1Reference1HighAlarmLimit},
    {1, tabOf(Reference2), Box::edAlarm1Limit, pid::Stream1Reference2HighAlarmLimit},
    {1, tabOf(Zero), Box::edAlarm1Limit, pid::Stream1ZeroHighAlarmLimit},
    {2, tabOf(H2S), Box::edAlarm1Limit, pid::Stream2H2SHighAlarmLimit},
    {2, tabOf(TotalSulphur), Box::edAlarm1Limit, pid::Stream2TotalSulphurHighAlarmLimit},
    {2, tabOf(Calibration), Box::edAlarm1Limit, pid::Stream2CalibrationHighAlarmLimit},
    {2, tabOf(Reference1), Box::edAlarm1Limit, pid::Stream2Reference1HighAlarmLimit},
    {2, tabOf(Reference2), Box::edAlarm1Limit, pid::Stream2Reference2HighAlarmLimit},
    {2, tabOf(Zero), Box::edAlarm1Limit, pid::Stream2ZeroHighAlarmLimit},
    {3, tabOf(H2S), Box::edAlarm1Limit, pid::Stream3H2SHighAlarmLimit},
    {3, tabOf(TotalSulphur), Box::edAlarm1Limit, pid::Stream3TotalSulphurHighAlarmLimit},
    {3, tabOf(Calibration), Box::edAlarm1Limit, pid::Stream3CalibrationHighAlarmLimit},
    {3, tabOf(Reference1), Box::edAlarm1Limit, pid::Stream3Reference1HighAlarmLimit},
    {3, tabOf(Reference2), Box::edAlarm1Limit, pid::Stream3Reference2HighAlarmLimit},
    {3, tabOf(Zero), Box::edAlarm1Limit, pid::Stream3ZeroHighAlarmLimit},
    {4, tabOf(H2S), Box::edAlarm1Limit, pid::Stream4H2SHighAlarmLimit},
    {4, tabOf(TotalSulphur), Box::edAlarm1Limit, pid::Stream4TotalSulphurHighAlarmLimit},
    {4, tabOf(Calibration), Box::edAlarm1Limit, pid::Stream4CalibrationHighAlarmLimit},
    {4, tabOf(Reference1), Box::edAlarm1Limit, pid::Stream4Reference1HighAlarmLimit},
    {4, tabOf(Reference2), Box::edAlarm1Limit, pid::Stream4Reference2HighAlarmLimit},
    {4, tabOf(Zero), Box::edAlarm1Limit, pid::Stream4ZeroHighAlarmLimit},
    {1, tabOf(H2S), Box::HighAlarmActions, pid::Stream1H2SHighAlarmActions},
    {1, tabOf(TotalSulphur), Box::HighAlarmActions, pid::Stream1TotalSulphurHighAlarmActions},
    {1, tabOf(Calibration), Box::HighAlarmActions, pid::Stream1CalibrationHighAlarmActions},
    {1, tabOf(Reference1), Box::HighAlarmActions, pid::Stream1Reference1HighAlarmActions},
    {1, tabOf(Reference2), Box::HighAlarmActions, pid::Stream1Reference2HighAlarmActions},
    {1, tabOf(Zero), Box::HighAlarmActions, pid::Stream1ZeroHighAlarmActions},
    {2, tabOf(H2S), Box::HighAlarmActions, pid::Stream2H2SHighAlarmActions},
    {2, tabOf(TotalSulphur), Box::HighAlarmActions, pid::Stream2TotalSulphurHighAlarmActions},
    {2, tabOf(Calibration), Box::HighAlarmActions, pid::Stream2CalibrationHighAlarmActions},
    {2, tabOf(Reference1), Box::HighAlarmActions, pid::Stream2Reference1HighAlarmActions},
    {2, tabOf(Reference2), Box::HighAlarmActions, pid::Stream2Reference2HighAlarmActions},
    {2, tabOf(Zero), Box::HighAlarmActions, pid::Stream2ZeroHighAlarmActions},
    {3, tabOf(H2S), Box::HighAlarmActions, pid::Stream3H2SHighAlarmActions},
    {3, tabOf(TotalSulphur), Box::HighAlarmActions, pid::Stream3TotalSulphurHighAlarmActions},
    {3, tabOf(Calibration), Box::HighAlarmActions, pid::Stream3CalibrationHighAlarmActions},
    {3, tabOf(Reference1), Box::HighAlarmActions, pid::Stream3Reference1HighAlarmActions},
    {3, tabOf(Reference2), Box::HighAlarmActions, pid::Stream3Reference2HighAlarmActions},
    {3, tabOf(Zero), Box::HighAlarmActions, pid::Stream3ZeroHighAlarmActions},
    {4, tabOf(H2S), Box::HighAlarmActions, pid::Stream4H2SHighAlarmActions},
    {4, tabOf(TotalSulphur), Box::HighAlarmActions, pid::Stream4TotalSulphurHighAlarmActions},
    {4, tabOf(Calibration), Box::HighAlarmActions, pid::Stream4CalibrationHighAlarmActions},
    {4, tabOf(Reference1), Box::HighAlarmActions, pid::Stream4Reference1HighAlarmActions},
    {4, tabOf(Reference2), Box::HighAlarmActions, pid::Stream4Reference2HighAlarmActions},
    {4, tabOf(Zero), Box::HighAlarmActions, pid::Stream4ZeroHighAlarmActions},
    {1, tabOf(H2S), Box::ckAlarmDevEnable, pid::Stream1H2SDeviationAlarmEnable},
    {1, tabOf(TotalSulphur), Box::ckAlarmDevEnable, pid::Stream1TotalSulphurDeviationAlarmEnable},
    {1, tabOf(Calibration), Box::ckAlarmDevEnable, pid::Stream1CalibrationDeviationAlarmEnable},
    {1, tabOf(Reference1), Box::ckAlarmDevEnable, pid::Stream1Reference1DeviationAlarmEnable},
    {1, tabOf(Reference2), Box::ckAlarmDevEnable, pid::Stream1Reference2DeviationAlarmEnable},
    {1, tabOf(Zero), Box::ckAlarmDevEnable, pid::Stream1ZeroDeviationAlarmEnable},
    {2, tabOf(H2S), Box::ckAlarmDevEnable, pid::Stream2H2SDeviationAlarmEnable},
    {2, tabOf(TotalSulphur), Box::ckAlarmDevEnable, pid::Stream2TotalSulphurDeviationAlarmEnable},
    {2, tabOf(Calibration), Box::ckAlarmDevEnable, pid::Stream2CalibrationDeviationAlarmEnable},
    {2, tabOf(Reference1), Box::ckAlarmDevEnable, pid::Stream2Reference1DeviationAlarmEnable},
    {2, tabOf(Reference2), Box::ckAlarmDevEnable, pid::Stream2Reference2DeviationAlarmEnable},
    {2, tabOf(Zero), Box::ckAlarmDevEnable, pid::Stream2ZeroDeviationAlarmEnable},
    {3, tabOf(H2S), Box::ckAlarmDevEnable, pid::Stream3H2SDeviationAlarmEnable},
    {3, tabOf(TotalSulphur), Box::ckAlarmDevEnable, pid::Stream3TotalSulphurDeviationAlarmEnable},
    {3, tabOf(Calibration), Box::ckAlarmDevEnable, pid::Stream3CalibrationDeviationAlarmEnable},
    {3, tabOf(Reference1), Box::ckAlarmDevEnable, pid::Stream3Reference1DeviationAlarmEnable},
    {3, tabOf(Reference2), Box::ckAlarmDevEnable, pid::Stream3Reference2DeviationAlarmEnable},
    {3, tabOf(Zero), Box::ckAlarmDevEnable, pid::Stream3ZeroDeviationAlarmEnable},
    {4, tabOf(H2S), Box::ckAlarmDevEnable, pid::Stream4H2SDeviationAlarmEnable},
    {4, tabOf(TotalSulphur), Box::ckAlarmDevEnable, pid::Stream4TotalSulphurDeviationAlarmEnable},
    {4, tabOf(Calibration), Box::ckAlarmDevEnable, pid::Stream4CalibrationDeviationAlarmEnable},
    {4, tabOf(Reference1), Box::ckAlarmDevEnable, pid::Stream4Reference1DeviationAlarmEnable},
    {4, tabOf(Reference2), Box::ckAlarmDevEnable, pid::Stream4Reference2DeviationAlarmEnable},
    {4, tabOf(Zero), Box::ckAlarmDevEnable, pid::Stream4ZeroDeviationAlarmEnable},
    {1, tabOf(H2S), Box::edAlarmDevLimit, pid::Stream1H2SDeviationAlarmLimit},
    {1, tabOf(TotalSulphur), Box::edAlarmDevLimit, pid::Stream1TotalSulphurDeviationAlarmLimit},
    {1, tabOf(Calibration), Box::edAlarmDevLimit, pid::Stream1CalibrationDeviationAlarmLimit},
    {1, tabOf(Reference1), Box::edAlarmDevLimit, pid::Stream1Reference1DeviationAlarmLimit},
    {1, tabOf(Reference2), Box::edAlarmDevLimit, pid::Stream1Reference2DeviationAlarmLimit},
    {1, tabOf(Zero), Box::edAlarmDevLimit, pid::Stream1ZeroDeviationAlarmLimit},
    {2, tabOf(H2S), Box::edAlarmDevLimit, pid::Stream2H2SDeviationAlarmLimit},
    {2, tabOf(TotalSulphur), Box::edAlarmDevLimit, pid::Stream2TotalSulphurDeviationAlarmLimit},
    {2, tabOf(Calibration), Box::edAlarmDevLimit, pid::Stream2CalibrationDeviationAlarmLimit},
    {2, tabOf(Reference1), Box::edAlarmDevLimit, pid::Stream2Reference1DeviationAlarmLimit},
    {2, tabOf(Reference2), Box::edAlarmDevLimit, pid::Stream2Reference2DeviationAlarmLimit},
    {2, tabOf(Zero), Box::edAlarmDevLimit, pid::Stream2ZeroDeviationAlarmLimit},
    {3, tabOf(H2S), Box::edAlarmDevLimit, pid::Stream3H2SDeviationAlarmLimit},
    {3, tabOf(TotalSulphur), Box::edAlarmDevLimit, pid::Stream3TotalSulphurDeviationAlarmLimit},
    {3, tabOf(Calibration), Box::edAlarmDevLimit, pid::Stream3CalibrationDeviationAlarmLimit},
    {3, tabOf(Reference1), Box::edAlarmDevLimit, pid::Stream3Reference1DeviationAlarmLimit},
    {3, tabOf(Reference2), Box::edAlarmDevLimit, pid::Stream3Reference2DeviationAlarmLimit},
    {3, tabOf(Zero), Box::edAlarmDevLimit, pid::Stream3ZeroDeviationAlarmLimit},
    {4, tabOf(H2S), Box::edAlarmDevLimit, pid::Stream4H2SDeviationAlarmLimit},
    {4, tabOf(TotalSulphur), Box::edAlarmDevLimit, pid::Stream4TotalSulphurDeviationAlarmLimit},
    {4, tabOf(Calibration), Box::edAlarmDevLimit, pid::Stream4CalibrationDeviationAlarmLimit},
    {4, tabOf(Reference1), Box::edAlarmDevLimit, pid::Stream4Reference1DeviationAlarmLimit},
    {4, tabOf(Reference2), Box::edAlarmDevLimit, pid::Stream4Reference2DeviationAlarmLimit},
    {4, tabOf(Zero), Box::edAlarmDevLimit, pid::Stream4ZeroDeviationAlarmLimit},
    {1, tabOf(H2S), Box::DeviationActions, pid::Stream1H2SDeviationAlarmActions},
    {1, tabOf(TotalSulphur), Box::DeviationActions, pid::Stream1TotalSulphurDeviationAlarmActions},
    {1, tabOf(Calibration), Box::DeviationActions, pid::Stream1CalibrationDeviationAlarmActions},
    {1, tabOf(Reference1), Box::DeviationActions, pid::Stream1Reference1DeviationAlarmActions},
    {1, tabOf(Reference2), Box::DeviationActions, pid::Stream1Reference2DeviationAlarmActions},
    {1, tabOf(Zero), Box::DeviationActions, pid::Stream1ZeroDeviationAlarmActions},
    {2, tabOf(H2S), Box::DeviationActions, pid::Stream2H2SDeviationAlarmActions},
    {2, tabOf(TotalSulphur), Box::DeviationActions, pid::Stream2TotalSulphurDeviationAlarmActions},
    {2, tabOf(Calibration), Box::DeviationActions, pid::Stream2CalibrationDeviationAlarmActions},
    {2, tabOf(Reference1), Box::DeviationActions, pid::Stream2Reference1DeviationAlarmActions},
    {2, tabOf(Reference2), Box::DeviationActions, pid::Stream2Reference2DeviationAlarmActions},
    {2, tabOf(Zero), Box::DeviationActions, pid::Stream2ZeroDeviationAlarmActions},
    {3, tabOf(H2S), Box::DeviationActions, pid::Stream3H2SDeviationAlarmActions},
    {3, tabOf(TotalSulphur), Box::DeviationActions, pid::Stream3TotalSulphurDeviationAlarmActions},
    {3, tabOf(Calibration), Box::DeviationActions, pid::Stream3CalibrationDeviationAlarmActions},
    {3, tabOf(Reference1), Box::DeviationActions, pid::Stream3Reference1DeviationAlarmActions},
    {3, tabOf(Reference2), Box::DeviationActions, pid::Stream3Reference2DeviationAlarmActions},
    {3, tabOf(Zero), Box::DeviationActions, pid::Stream3ZeroDeviationAlarmActions},
    {4, tabOf(H2S), Box::DeviationActions, pid::Stream4H2SDeviationAlarmActions},
    {4, tabOf(TotalSulphur), Box::DeviationActions, pid::Stream4TotalSulphurDeviationAlarmActions},
    {4, tabOf(Calibration), Box::DeviationActions, pid::Stream4CalibrationDeviationAlarmActions},
    {4, tabOf(Reference1), Box::DeviationActions, pid::Stream4Reference1DeviationAlarmActions},
    {4, tabOf(Reference2), Box::DeviationActions, pid::Stream4Reference2DeviationAlarmActions},
    {4, tabOf(Zero), Box::DeviationActions, pid::Stream4ZeroDeviationAlarmActions},
    {1, tabOf(H2S), Box::strmCalUsed, pid::Stream1H2SStreamCalibrationUsed},
    {1, tabOf(TotalSulphur), Box::strmCalUsed, pid::Stream1TotalSulphurStreamCalibrationUsed},
    {1, tabOf(Reference1), Box::strmCalUsed, pid::Stream1Reference1StreamCalibrationUsed},
    {1, tabOf(Reference2), Box::strmCalUsed, pid::Stream1Reference2StreamCalibrationUsed},
    {2, tabOf(H2S), Box::strmCalUsed, pid::Stream2H2SStreamCalibrationUsed},
    {2, tabOf(TotalSulphur), Box::strmCalUsed, pid::Stream2TotalSulphurStreamCalibrationUsed},
    {2, tabOf(Reference1), Box::strmCalUsed, pid::Stream2Reference1StreamCalibrationUsed},
    {2, tabOf(Reference2), Box::strmCalUsed, pid::Stream2Reference2StreamCalibrationUsed},
    {3, tabOf(H2S), Box::strmCalUsed, pid::Stream3H2SStreamCalibrationUsed},
    {3, tabOf(TotalSulphur), Box::strmCalUsed, pid::Stream3TotalSulphurStreamCalibrationUsed},
    {3, tabOf(Reference1), Box::strmCalUsed, pid::Stream3Reference1StreamCalibrationUsed},
    {3, tabOf(Reference2), Box::strmCalUsed, pid::Stream3Reference2StreamCalibrationUsed},
    {4, tabOf(H2S), Box::strmCalUsed, pid::Stream4H2SStreamCalibrationUsed},
    {4, tabOf(TotalSulphur), Box::strmCalUsed, pid::Stream4TotalSulphurStreamCalibrationUsed},
    {4, tabOf(Reference1), Box::strmCalUsed, pid::Stream4Reference1StreamCalibrationUsed},
    {4, tabOf(Reference2), Box::strmCalUsed, pid::Stream4Reference2StreamCalibrationUsed},
    {1, tabOf(H2S), Box::ckPAAEnable, pid::Stream1HighHighAlarmEnable},
    {1, tabOf(TotalSulphur), Box::ckPAAEnable, pid::Stream1TSHighHighAlarmEnable},
    {2, tabOf(H2S), Box::ckPAAEnable, pid::Stream2HighHighAlarmEnable},
    {2, tabOf(TotalSulphur), Box::ckPAAEnable, pid::Stream2TSHighHighAlarmEnable},
    {3, tabOf(H2S), Box::ckPAAEnable, pid::Stream3HighHighAlarmEnable},
    {3, tabOf(TotalSulphur), Box::ckPAAEnable, pid::Stream3TSHighHighAlarmEnable},
    {4, tabOf(H2S), Box::ckPAAEnable, pid::Stream4HighHighAlarmEnable},
    {4, tabOf(TotalSulphur), Box::ckPAAEnable, pid::Stream4TSHighHighAlarmEnable},
    {1, tabOf(H2S), Box::ledPAALimit, pid::Stream1HighHighAlarmLevel},
    {1, tabOf(TotalSulphur), Box::ledPAALimit, pid::Stream1TSHighHighAlarmLevel},
    {2, tabOf(H2S), Box::ledPAALimit, pid::Stream2HighHighAlarmLevel},
    {2, tabOf(TotalSulphur), Box::ledPAALimit, pid::Stream2TSHighHighAlarmLevel},
    {3, tabOf(H2S), Box::ledPAALimit, pid::Stream3HighHighAlarmLevel},
    {3, tabOf(TotalSulphur), Box::ledPAALimit, pid::Stream3TSHighHighAlarmLevel},
    {4, tabOf(H2S), Box::ledPAALimit, pid::Stream4HighHighAlarmLevel},
    {4, tabOf(TotalSulphur), Box::ledPAALimit, pid::Stream4TSHighHighAlarmLevel},
    {1, tabOf(H2S), Box::HighHighActions, pid::Stream1HighHighAlarmActions},
    {1, tabOf(TotalSulphur), Box::HighHighActions, pid::Stream1TSHighHighAlarmActions},
    {2, tabOf(H2S), Box::HighHighActions, pid::Stream2HighHighAlarmActions},
    {2, tabOf(TotalSulphur), Box::HighHighActions, pid::Stream2TSHighHighAlarmActions},
    {3, tabOf(H2S), Box::HighHighActions, pid::Stream3HighHighAlarmActions},
    {3, tabOf(TotalSulphur), Box::HighHighActions, pid::Stream3TSHighHighAlarmActions},
    {4, tabOf(H2S), Box::HighHighActions, pid::Stream4HighHighAlarmActions},
    {4, tabOf(TotalSulphur), Box::HighHighActions, pid::Stream4TSHighHighAlarmActions},
    {1, tabOf(H2S), Box::duration, pid::Stream1HighHighAlarmDuration},
    {1, tabOf(TotalSulphur), Box::duration, pid::Stream1TSHighHighAlarmDuration},
    {2, tabOf(H2S), Box::duration, pid::Stream2HighHighAlarmDuration},
    {2, tabOf(TotalSulphur), Box::duration, pid::Stream2TSHighHighAlarmDuration},
    {3, tabOf(H2S), Box::duration, pid::Stream3HighHighAlarmDuration},
    {3, tabOf(TotalSulphur), Box::duration, pid::Stream3TSHighHighAlarmDuration},
    {4, tabOf(H2S), Box::duration, pid::Stream4HighHighAlarmDuration},
    {4, tabOf(TotalSulphur), Box::duration, pid::Stream4TSHighHighAlarmDuration},
    {1, tabOf(H2S), Box::lockAlarmEnable, pid::Stream1LockAlarmEnable},
    {1, tabOf(TotalSulphur), Box::lockAlarmEnable, pid::Stream1TSLockAlarmEnable},
    {2, tabOf(H2S), Box::lockAlarmEnable, pid::Stream2LockAlarmEnable},
    {2, tabOf(TotalSulphur), Box::lockAlarmEnable, pid::Stream2TSLockAlarmEnable},
    {3, tabOf(H2S), Box::lockAlarmEnable, pid::Stream3LockAlarmEnable},
    {3, tabOf(TotalSulphur), Box::lockAlarmEnable, pid::Stream3TSLockAlarmEnable},
    {4, tabOf(H2S), Box::lockAlarmEnable, pid::Stream4LockAlarmEnable},
    {4, tabOf(TotalSulphur), Box::lockAlarmEnable, pid::Stream4TSLockAlarmEnable},
    {1, tabOf(H2S), Box::lockAlarmLimit, pid::Stream1LockAlarmLevel},
    {1, tabOf(TotalSulphur), Box::lockAlarmLimit, pid::Stream1TSLockAlarmLevel},
    {2, tabOf(H2S), Box::lockAlarmLimit, pid::Stream2LockAlarmLevel},
    {2, tabOf(TotalSulphur), Box::lockAlarmLimit, pid::Stream2TSLockAlarmLevel},
    {3, tabOf(H2S), Box::lockAlarmLimit, pid::Stream3LockAlarmLevel},
    {3, tabOf(TotalSulphur), Box::lockAlarmLimit, pid::Stream3TSLockAlarmLevel},
    {4, tabOf(H2S), Box::lockAlarmLimit, pid::Stream4LockAlarmLevel},
    {4, tabOf(TotalSulphur), Box::lockAlarmLimit, pid::Stream4TSLockAlarmLevel},
    {1, tabOf(H2S), Box::LockActions, pid::Stream1LockAlarmActions},
    {1, tabOf(TotalSulphur), Box::LockActions, pid::Stream1TSLockAlarmActions},
    {2, tabOf(H2S), Box::LockActions, pid::Stream2LockAlarmActions},
    {2, tabOf(TotalSulphur), Box::LockActions, pid::Stream2TSLockAlarmActions},
    {3, tabOf(H2S), Box::LockActions, pid::Stream3LockAlarmActions},
    {3, tabOf(TotalSulphur), Box::LockActions, pid::Stream3TSLockAlarmActions},
    {4, tabOf(H2S), Box::LockActions, pid::Stream4LockAlarmActions},
    {4, tabOf(TotalSulphur), Box::LockActions, pid::Stream4TSLockAlarmActions},
    {1, kStreamWide, Box::ledGainFactor, pid::Stream1Gain},
    {2, kStreamWide, Box::ledGainFactor, pid::Stream2Gain},
    {3, kStreamWide, Box::ledGainFactor, pid::Stream3Gain},
    {4, kStreamWide, Box::ledGainFactor, pid::Stream4Gain},
    {1, kStreamWide, Box::ledZeroOffset, pid::Stream1Zero},
    {2, kStreamWide, Box::ledZeroOffset, pid::Stream2Zero},
    {3, kStreamWide, Box::ledZeroOffset, pid::Stream3Zero},
    {4, kStreamWide, Box::ledZeroOffset, pid::Stream4Zero},
    {1, kStreamWide, Box::glAnalysisUnit, pid::Stream1AnalysisUnits},
    {2, kStreamWide, Box::glAnalysisUnit, pid::Stream2AnalysisUnits},
    {3, kStreamWide, Box::glAnalysisUnit, pid::Stream3AnalysisUnits},
    {4, kStreamWide, Box::glAnalysisUnit, pid::Stream4AnalysisUnits},
    {1, kStreamWide, Box::chkCalCorrEnable, pid::Stream1GainCorrectionEnable},
    {2, kStreamWide, Box::chkCalCorrEnable, pid::Stream2GainCorrectionEnable},
    {3, kStreamWide, Box::chkCalCorrEnable, pid::Stream3GainCorrectionEnable},
    {4, kStreamWide, Box::chkCalCorrEnable, pid::Stream4GainCorrectionEnable},
    {1, kStreamWide, Box::chkZeroCorrEnable, pid::Stream1ZeroCorrectionEnable},
    {2, kStreamWide, Box::chkZeroCorrEnable, pid::Stream2ZeroCorrectionEnable},
    {3, kStreamWide, Box::chkZeroCorrEnable, pid::Stream3ZeroCorrectionEnable},
    {4, kStreamWide, Box::chkZeroCorrEnable, pid::Stream4ZeroCorrectionEnable},
    {1, kStreamWide, Box::TimedAnalysisEnable, pid::Stream1TimedAnalysisEnable},
    {2, kStreamWide, Box::TimedAnalysisEnable, pid::Stream2TimedAnalysisEnable},
    {3, kStreamWide, Box::TimedAnalysisEnable, pid::Stream3TimedAnalysisEnable},
    {4, kStreamWide, Box::TimedAnalysisEnable, pid::Stream4TimedAnalysisEnable},
}};
// clang-format on

// The boxes' rows, then each set frame's run request, whose point the unit's vocabulary names.
constexpr std::array<Binding, 680> withRunRequests(const std::array<Binding, 656>& boxes)
{
    std::array<Binding, 680> all{};
    std::size_t n = 0;
    for (const Binding& b : boxes)
        all[n++] = b;
    for (int s = 1; s <= analyzer::kStreams; ++s)
        for (int tab = 0; tab < analyzer::kRunTypes; ++tab)
            all[n++] = {s, tab, Box::RunRequest,
                        analyzer::runRequestPoint(s, analyzer::kStreamsPageOrder[static_cast<std::size_t>(tab)])};
    return all;
}

}  // namespace

const std::array<Binding, 680> kBindings = withRunRequests(kBoxBindings);

namespace {

using PointTable = std::array<std::array<std::array<int, kBoxCount>, analyzer::kRunTypes + 1>, analyzer::kStreams>;

const PointTable& pointTable()
{
    static const PointTable table = [] {
        PointTable t;
        for (auto& stream : t)
            for (auto& run : stream)
                run.fill(-1);
        for (const Binding& b : kBindings)
            t[static_cast<std::size_t>(b.stream - 1)][static_cast<std::size_t>(b.runType + 1)]
             [static_cast<std::size_t>(b.box)] = b.point;
        return t;
    }();
    return table;
}

// The order a set frame's points are listed in on entry.
constexpr std::array<Box, 32> kSetScanOrder = {
    Box::chkTime,          Box::ledName,           Box::ledConsecRuns,
    Box::ledRunsToAvg,     Box::ledCalGasConc,     Box::edDays,
    Box::edHours,          Box::edMinute,          Box::Switching,
    Box::ckAOMgr1Enable,   Box::cbAOMgr1Function,  Box::cbAOMgr1Channel,
    Box::ckAOMgr2Enable,   Box::cbAOMgr2Function,  Box::cbAOMgr2Channel,
    Box::ckAlarm1Enable,   Box::edAlarm1Limit,     Box::ckAlarmDevEnable,
    Box::edAlarmDevLimit,  Box::ckPAAEnable,       Box::ledPAALimit,
    Box::HighAlarmActions, Box::HighHighActions,   Box::DeviationActions,
    Box::ledSampleDelay,   Box::ledSampleInterval, Box::ledKFactor,
    Box::strmCalUsed,      Box::duration,          Box::lockAlarmEnable,
    Box::lockAlarmLimit,   Box::LockActions,
};

}  // namespace

std::optional<std::uint16_t> pointOf(int stream, int runType, Box box)
{
    if (stream < 1 || stream > analyzer::kStreams || runType < kStreamWide || runType >= analyzer::kRunTypes ||
        box == Box::Count)
        return std::nullopt;
    const int id = pointTable()[static_cast<std::size_t>(stream - 1)][static_cast<std::size_t>(runType + 1)]
                               [static_cast<std::size_t>(box)];
    if (id < 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(id);
}

QString maskBoxName(Box mask, bool solenoid, int number)
{
    const char* prefix = "";
    switch (mask) {
    case Box::Switching:
        prefix = "ckSwitching";
        break;
    case Box::HighAlarmActions:
        prefix = "ckAlarm1";
        break;
    case Box::DeviationActions:
        prefix = "ckAlarmDev";
        break;
    case Box::HighHighActions:
        prefix = "ckAlarmPAA";
        break;
    case Box::LockActions:
        prefix = "lockAlarmActions";
        break;
    default:
        return {};
    }
    return QString::fromLatin1(prefix) + (solenoid ? 'S' : 'R') + QString::number(number);
}

const std::array<const char*, analyzer::kRunTypes> kRunNames = [] {
    std::array<const char*, analyzer::kRunTypes> names{};
    for (std::size_t tab = 0; tab < names.size(); ++tab)
        names[tab] = analyzer::runTypeName(analyzer::kStreamsPageOrder[tab]);
    return names;
}();

QString requestCaption(int stream, int runType)
{
    return QStringLiteral("Stream %1 %2").arg(stream).arg(QLatin1String(kRunNames[static_cast<std::size_t>(runType)]));
}

QString requestHint(int stream, int runType)
{
    static const std::array<const char*, analyzer::kRunTypes> kWords = {"Normal",    "Total Sulphur", "Calibration",
                                                                        "Reference", "Reference 2",   "Zero"};
    return QStringLiteral("Stream %1 %2 Request")
        .arg(stream)
        .arg(QLatin1String(kWords[static_cast<std::size_t>(runType)]));
}

QString requestQuestion(int runType)
{
    static const std::array<const char*, analyzer::kRunTypes> kWords = {"H2S",       "TOTAL SULPHUR", "CALIBRATION",
                                                                        "REFERENCE", "REFERENCE2",    "ZERO"};
    return QStringLiteral("This button will initiate a %1 run, do you want to proceed?")
        .arg(QLatin1String(kWords[static_cast<std::size_t>(runType)]));
}

std::vector<int> scanList()
{
    std::vector<int> ids;
    auto add = [&ids](int stream, int runType, Box box) {
        if (const auto id = pointOf(stream, runType, box))
            ids.push_back(*id);
    };
    for (int s = 1; s <= analyzer::kStreams; ++s) {
        add(s, kStreamWide, Box::ledGainFactor);
        add(s, kStreamWide, Box::ledZeroOffset);
        add(s, kStreamWide, Box::glAnalysisUnit);
        for (int r = 0; r < analyzer::kRunTypes; ++r) {
            for (Box box : kSetScanOrder)
                add(s, r, box);
        }
        for (int r = 0; r < analyzer::kRunTypes; ++r)
            add(s, r, Box::RunRequest);
    }
    for (int s = 1; s <= analyzer::kStreams; ++s) {
        add(s, kStreamWide, Box::chkCalCorrEnable);
        add(s, kStreamWide, Box::chkZeroCorrEnable);
    }
    ids.push_back(pid::Streams);
    for (int s = 1; s <= analyzer::kStreams; ++s)
        add(s, kStreamWide, Box::TimedAnalysisEnable);
    return ids;
}

std::optional<QString> newGainFactor(const QString& calGas, const QString& reading, const QString& currentGain)
{
    if (calGas.trimmed().isEmpty() || reading.trimmed().isEmpty() || currentGain.trimmed().isEmpty())
        return QStringLiteral("0");
    const std::optional<double> c = numtext::tryStrToFiniteFloat(calGas);
    const std::optional<double> a = numtext::tryStrToFiniteFloat(reading);
    const std::optional<double> g = numtext::tryStrToFiniteFloat(currentGain);
    // Half-typed numbers ("-", "1e") are no input yet: the result waits for a whole one.
    if (!c || !a || !g)
        return std::nullopt;
    if (*a == 0)
        return QStringLiteral("0");
    const double gain = *c * *g / *a;
    if (!std::isfinite(gain))
        return std::nullopt;
    return resultnum::formatMasked(QStringLiteral("0.00"), gain);
}

}  // namespace streamspage
