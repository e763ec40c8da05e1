// The cycle-time, tape and archive-capacity estimates of the point database.

#include "database.h"
#include "numbertext.h"

#include "analyzer.h"

#include "floatformat.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kPurgeTimeId = 10;
constexpr int kTapeRemainingId = 520;
constexpr int kTapeAlarmEnableId = 513;
constexpr int kTapeAlarmLimitId = 514;
constexpr double kSecondsPerDay = 86400;

// Logs 0 to 4 share the archive memory; the sixth record takes no part.
constexpr int kCapacityLogs = 5;

struct RunPoints {
    int delay;
    int interval;
    int consecutive;
};

// By the sequencer block's run byte (the unit's run type) and stream byte.
constexpr RunPoints kRunPoints[analyzer::kRunTypes][analyzer::kStreams] = {
    {{25, 26, 46}, {138, 139, 159}, {665, 666, 669}, {815, 816, 819}},
    {{608, 609, 612}, {633, 634, 637}, {693, 694, 697}, {843, 844, 847}},
    {{404, 405, 92}, {526, 527, 205}, {748, 749, 752}, {898, 899, 902}},
    {{1266, 1267, 1270}, {1292, 1293, 1296}, {1318, 1319, 1322}, {1344, 1345, 1348}},
    {{510, 521, 115}, {529, 530, 228}, {778, 779, 782}, {928, 929, 932}},
    {{304, 305, 69}, {523, 524, 182}, {718, 719, 722}, {868, 869, 872}},
};

// Cut towards zero; a figure beyond an int is held at its end rather than wrapped, and a figure
// that is no number (a NaN from the unit) gives the -1 of "no estimate".
int wholeDays(double days)
{
    if (std::isnan(days))
        return -1;
    if (days >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (days <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(days);
}

// The toolkit's float formatting with the format "0": rounded half away from zero.
std::string wholeNumberText(double value)
{
    return floatfmt::cFormat("%.0f", std::round(value));
}

}  // namespace

float DataBase::ComputeCycleTime()
{
    const auto intOf = [this](int pointId) { return numtext::StrToInt(GetPointText(pointId)); };

    const float purge = static_cast<float>(intOf(kPurgeTimeId));
    float cycle = purge;
    float sequence = 0;
    int measurementRuns = 0;
    int handledRuns = 0;

    const SequencerConfiguration image = sequencer_.GetImage();
    // A depth beyond the block's room would read the manual sequences as steps.
    const int depth = std::min<int>(image.Depth, sequencer::kAutomaticSteps);
    for (int e = 0; e < depth; ++e) {
        const SequencerEntry& entry = image.Automatic[e];
        if (entry.Stream >= analyzer::kStreams || !analyzer::isRunType(entry.Run))
            continue;
        const RunPoints& points = kRunPoints[entry.Run][entry.Stream];
        const int delay = intOf(points.delay);
        const int interval = intOf(points.interval);
        const int consecutive = intOf(points.consecutive);
        const float sample = static_cast<float>(delay) + static_cast<float>(interval);
        cycle += sample;
        sequence += sample;
        ++handledRuns;
        if (entry.Run == analyzer::H2S || entry.Run == analyzer::TotalSulphur)
            ++measurementRuns;
        if (consecutive >= 2) {
            cycle += sample * static_cast<float>(consecutive - 1);
            sequence += sample * static_cast<float>(consecutive - 1);
        }
    }
    if (handledRuns > 1)
        cycle += static_cast<float>(handledRuns) * purge;
    if (measurementRuns > 0)
        cycle /= static_cast<float>(measurementRuns);
    sequenceTime_ = sequence;
    return cycle;
}

int DataBase::GetTapeDaysRemaining(float stainWidth)
{
    if (stainWidth == 0)
        return -1;
    const double feet = numtext::StrToFloat(GetPointText(kTapeRemainingId));
    ComputeCycleTime();
    return wholeDays(feet / stainWidth * sequenceTime_ / kSecondsPerDay);
}

int DataBase::GetTapeAlarmDays(float stainWidth)
{
    if (GetPointText(kTapeAlarmEnableId) != "True")
        return 0;
    // No stain per analysis means the tape never runs down to the limit: no estimate.
    if (stainWidth == 0)
        return -1;
    const double limit = numtext::StrToFloat(GetPointText(kTapeAlarmLimitId));
    ComputeCycleTime();
    return wholeDays(limit / stainWidth * sequenceTime_ / kSecondsPerDay);
}

std::int64_t DataBase::ComputeLogCapacities()
{
    double intervals[kCapacityLogs] = {};
    double rates[kCapacityLogs] = {};
    double totalRate = 0;
    for (int i = 0; i < kCapacityLogs; ++i) {
        const LogRecord& record = logRecords_[static_cast<std::size_t>(i)];
        switch (i) {
        case 0:
            intervals[i] = ComputeCycleTime();
            break;
        case 1:
            intervals[i] = 3600;
            break;
        case 2:
            intervals[i] = kSecondsPerDay;
            break;
        default:
            intervals[i] = record.Frequency;
            break;
        }
        // The count comes from the unit or a file; the record holds eight parameters at most.
        const int parameters = std::min<int>(record.ParametersInLog, logrecord::kParameters);
        int size = 6;
        for (int p = 0; p < parameters; ++p)
            if (const DatabasePoint* point = GetPointById(record.Parameters[p]))
                size += ridovaz::valueSize(point->GetType());
        // A negative cycle time (negative purge or sample times) is no interval either; it
        // would make the shares negative and the counts nonsense.
        if (intervals[i] > 0 && parameters > 1) {
            rates[i] = size / intervals[i];
            totalRate += rates[i];
        }
    }

    logRecordCounts_.fill(0);
    logDurationTexts_.fill("0");
    const double memory = archiveMemoryLength;
    std::int64_t sum = 0;
    for (int i = 0; i < kCapacityLogs; ++i) {
        if (rates[i] == 0)
            continue;
        // Each log's share of the rate is at least its own record per interval, so the count
        // stays below memory / 6 and fits an int.
        const int count = static_cast<int>(memory / totalRate / intervals[i]);
        logRecordCounts_[static_cast<std::size_t>(i)] = count;
        logDurationTexts_[static_cast<std::size_t>(i)] = wholeNumberText(memory / totalRate / kSecondsPerDay);
        sum += count;
    }
    return sum;
}

int DataBase::GetLogRecordCount(int log) const
{
    if (log < 0 || log >= logrecord::kLogs)
        return 0;
    return logRecordCounts_[static_cast<std::size_t>(log)];
}

std::string DataBase::GetLogDurationText(int log) const
{
    if (log < 0 || log >= logrecord::kLogs)
        return {};
    return logDurationTexts_[static_cast<std::size_t>(log)];
}
