#include "pointfixture.h"

#include <climits>
#include <utility>

namespace {

class CapacityTest : public DatabaseFixture {
protected:
    void set(int pointId, const std::string& text) { db->GetPointById(pointId)->SetPending(text); }

    // Sample delay, interval and consecutive runs of one stream's run type.
    void setRun(int delayId, int intervalId, int runsId, int delay, int interval, int runs)
    {
        set(delayId, std::to_string(delay));
        set(intervalId, std::to_string(interval));
        set(runsId, std::to_string(runs));
    }

    void setSequence(const std::vector<std::pair<int, int>>& steps, int depth = -1)
    {
        SequencerConfiguration image{};
        image.Depth = static_cast<std::uint8_t>(depth < 0 ? static_cast<int>(steps.size()) : depth);
        for (std::size_t i = 0; i < steps.size() && i < sequencer::kAutomaticSteps; ++i)
            image.Automatic[i] = {static_cast<std::uint8_t>(steps[i].first),
                                  static_cast<std::uint8_t>(steps[i].second)};
        db->GetSequencer().SetImage(image);
    }

    void setLog(int log, int frequency, const std::vector<std::uint16_t>& parameters, int count = -1)
    {
        LogRecord& record = db->LogRecords()[static_cast<std::size_t>(log)];
        record = LogRecord{};
        record.LOG_NUMBER = static_cast<std::uint8_t>(log);
        record.Frequency = static_cast<std::uint16_t>(frequency);
        record.ParametersInLog = static_cast<std::uint8_t>(count < 0 ? static_cast<int>(parameters.size()) : count);
        for (std::size_t p = 0; p < parameters.size() && p < logrecord::kParameters; ++p)
            record.Parameters[p] = parameters[p];
    }
};

// Stream 1 H2S: 25/26/46; stream 1 zero: 510/521/115; stream 2 calibration: 523/524/182.
struct CycleCase {
    const char* what;
    std::vector<std::pair<int, int>> steps;  // stream byte, run byte
    int depth;                               // -1: the number of steps
    int h2sRuns;
    float cycle;
    float sequence;
};

}  // namespace

TEST_F(CapacityTest, CycleAndSequenceTime)
{
    const std::vector<std::pair<int, int>> full(32, {0, 0});
    const CycleCase cases[] = {
        {"one H2S run", {{0, 0}}, -1, 1, 120, 60},
        {"three consecutive H2S runs", {{0, 0}}, -1, 3, 240, 180},
        {"H2S then zero, a purge each", {{0, 0}, {0, 4}}, -1, 1, 300, 120},
        {"empty sequence", {}, -1, 1, 60, 0},
        {"stream byte 4 and run byte 6 are ignored", {{4, 0}, {0, 6}}, -1, 1, 60, 0},
        {"calibration is no measurement run", {{1, 5}}, -1, 1, 90, 30},
        {"full sequence", full, -1, 1, 3900.0f / 32, 1920},
        {"depth past the block's room", full, 40, 1, 3900.0f / 32, 1920},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        set(10, "60");
        setRun(25, 26, 46, 10, 50, c.h2sRuns);
        setRun(510, 521, 115, 10, 50, 1);
        setRun(523, 524, 182, 10, 20, 1);
        setSequence(c.steps, c.depth);
        EXPECT_FLOAT_EQ(db->ComputeCycleTime(), c.cycle);
        EXPECT_FLOAT_EQ(db->GetSequenceTime(), c.sequence);
    }
    EXPECT_TRUE(link.sent.empty());
}

// The estimate uses the remaining length the point holds: the page has it read through a queued
// command, so nothing here reaches the unit.
TEST_F(CapacityTest, TapeDaysRemainingFromTheHeldLength)
{
    set(10, "60");
    setRun(25, 26, 46, 10, 50, 1);
    setRun(510, 521, 115, 10, 50, 1);
    setSequence({{0, 0}, {0, 4}});  // sequence time 120 s

    EXPECT_EQ(db->GetTapeDaysRemaining(0), -1);
    set(520, "1450");
    // 1450 / 0.5 * 120 / 86400 = 4.03
    EXPECT_EQ(db->GetTapeDaysRemaining(0.5f), 4);
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(CapacityTest, TapeAlarmDays)
{
    set(10, "60");
    setRun(25, 26, 46, 10, 50, 1);
    setSequence({{0, 0}});  // sequence time 60 s
    set(514, "720");

    set(513, "False");
    EXPECT_EQ(db->GetTapeAlarmDays(0.25f), 0);
    EXPECT_EQ(db->GetTapeAlarmDays(0), 0);

    set(513, "True");
    EXPECT_EQ(db->GetTapeAlarmDays(0.25f), 2);  // 720 / 0.25 * 60 / 86400
    EXPECT_EQ(db->GetTapeAlarmDays(-0.25f), -2);
    // No stain per analysis: no estimate rather than a division by zero.
    EXPECT_EQ(db->GetTapeAlarmDays(0), -1);
    // Figures beyond an int are held at its end.
    set(514, "1e30");
    EXPECT_EQ(db->GetTapeAlarmDays(1e-30f), INT_MAX);
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(CapacityTest, LogCapacitiesShareTheArchiveMemory)
{
    db->archiveMemoryLength = 86400 * 4;
    setLog(1, 0, {514});            // one parameter: records nothing
    setLog(3, 10, {25, 26});        // 6 + 2 + 2 bytes every 10 s: 1 byte/s
    setLog(4, 4, {514, 25});        // 6 + 4 + 2 bytes every 4 s: 3 bytes/s
    setLog(5, 1, {514, 514, 514});  // the sixth log takes no part

    EXPECT_EQ(db->ComputeLogCapacities(), 8640 + 21600);
    const int counts[] = {0, 0, 0, 8640, 21600, 0};
    const char* texts[] = {"0", "0", "0", "1", "1", "0"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(db->GetLogRecordCount(i), counts[i]) << "log " << i;
        EXPECT_EQ(db->GetLogDurationText(i), texts[i]) << "log " << i;
    }
}

TEST_F(CapacityTest, LogCapacityCases)
{
    struct Case {
        const char* what;
        int log;
        int frequency;
        std::vector<std::uint16_t> parameters;
        int parametersInLog;  // -1: the listed ones
        std::uint32_t memory;
        int count;
        const char* days;
    };
    const Case cases[] = {
        // Cycle time 120 s: 10 bytes per 120 s.
        {"log 0 runs at the cycle time", 0, 0, {25, 26}, -1, 864000, 86400, "120"},
        {"log 1 hourly", 1, 0, {25, 26}, -1, 864000, 86400, "3600"},
        {"a frequency of 0 records nothing", 3, 0, {25, 26}, -1, 864000, 0, "0"},
        {"a parameter outside the map has no width", 3, 8, {25, 9999}, -1, 86400, 10800, "1"},
        {"days are rounded", 3, 10, {25, 26}, -1, 86400 * 3 / 2, 12960, "2"},
        {"a count past the record's room counts eight", 4, 22, std::vector<std::uint16_t>(8, 25), 200, 86400, 3927,
         "1"},
        {"no archive memory", 3, 10, {25, 26}, -1, 0, 0, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int i = 0; i < logrecord::kLogs; ++i)
            setLog(i, 0, {});
        set(10, "60");
        setRun(25, 26, 46, 10, 50, 1);
        setSequence({{0, 0}});
        setLog(c.log, c.frequency, c.parameters, c.parametersInLog);
        db->archiveMemoryLength = c.memory;
        EXPECT_EQ(db->ComputeLogCapacities(), c.count);
        EXPECT_EQ(db->GetLogRecordCount(c.log), c.count);
        EXPECT_EQ(db->GetLogDurationText(c.log), c.days);
    }
}
