#pragma once

#include "command.h"

#include <cstdint>
#include <optional>

// The unit starts a run, advances its tape, bypasses its alarms or acknowledges its latches when
// a request point is written. Each of these commands writes one such point and reports in the
// status line; they differ in the point, the value and their texts.
class UnitActionCommand : public Command {
public:
    struct Row {
        const char* startText;
        int pointId;              // 0: taken from the parameter ("Calibrate")
        bool marksFresh;          // the point need not have been read since logon
        const char* errorText;    // the write did not go through
        const char* successText;  // null: by point id ("Calibrate")
    };

    explicit UnitActionCommand(const Row& row) : row_(row) {}
    void Execute() override;

protected:
    // The point and value to write; nothing when the command refuses its parameter.
    virtual std::optional<int> PointId() const { return row_.pointId; }
    virtual const char* Value() const { return "True"; }
    virtual const char* SuccessText(int) const { return row_.successText; }

private:
    Row row_;
};

class TapeAdvanceCommand : public UnitActionCommand {
public:
    TapeAdvanceCommand();
};

class SetBypassCommand : public UnitActionCommand {
public:
    SetBypassCommand();

protected:
    // "True" while the Bypass Alarms button is down.
    const char* Value() const override;
};

class ResetLatchesCommand : public UnitActionCommand {
public:
    ResetLatchesCommand();
};

class ZeroRefCommand : public UnitActionCommand {
public:
    ZeroRefCommand();
};

class ReferenceCommand : public UnitActionCommand {
public:
    ReferenceCommand();
};

// Requests a run of one stream and run type: the parameter is the decimal id of the run's
// request point. Only those points are accepted.
class CalibrateCommand : public UnitActionCommand {
public:
    CalibrateCommand();

protected:
    std::optional<int> PointId() const override;
    const char* SuccessText(int pointId) const override;
};

// Sets the unit's clock to a chosen moment, corrected for the time the write itself takes, and
// its day of the week.
class SyncClockCommand : public Command {
public:
    static constexpr int kTimePoint = 388;       // "Time (proprietary)"
    static constexpr int kDayOfWeekPoint = 460;  // "Day Of Week (1 - 7)"
    static constexpr double kDelayFactor = 1.99;

    void Execute() override;
    void SetToken(std::uint32_t token) { token_ = token; }
    std::any SaveFields() const override { return token_; }
    void LoadFields(const std::any& fields) override { token_ = std::any_cast<std::uint32_t>(fields); }

    // The moment to write the second time: the chosen one (a toolkit date-time), moved on by the
    // time since the first write ended and by the first write's own delay times the factor,
    // carried through the whole date-time. Milliseconds of the correction are truncated.
    static double CorrectedMoment(double chosen, std::int64_t sinceFirstWriteMs, std::int64_t firstWriteMs);
    // 1 for a Sunday to 7 for a Saturday; 0 when the value is no date.
    static int DayOfWeek(double dateTime);

private:
    std::uint32_t token_ = 0;
};
