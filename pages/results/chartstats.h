#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class FilteredTableModel;

// The archive chart's numbers, without a chart: the points of a grid column and their statistics.
namespace chartstats {

struct Stats {
    std::int64_t count = 0;
    // None without samples.
    std::optional<double> mean;
    // The sample standard deviation (divided by n - 1); none for fewer than two samples.
    std::optional<double> stdDev;
    // Standard deviation / mean x 100; none without a deviation or with a mean of 0.
    std::optional<double> rsd;
};

// Sums run in double over the deviations from the mean, so a constant column gives 0 and large
// values lose nothing to the cancellation of a sum of squares.
Stats Compute(const std::vector<double>& samples);

// "Samples: n     Average: m     Standard Deviation: s     %RSD: r%", each number "%.5f" in the
// C locale; a number that is not defined reads "n/a".
QString FootText(const Stats& stats);

// A column of the grid's rows top..bottom (model rows) as chart points, in row order: X the row's
// "Seq", Y its own value narrowed to a 32-bit float (read as an integer when integer is set).
// Rows whose time stamp reads "Invalid", and rows whose Seq or value is no number, are left out.
struct Column {
    QList<QPointF> points;
    std::vector<double> samples;
};
Column ReadColumn(const FilteredTableModel& grid, int top, int bottom, int column, int seqColumn, int timeColumn,
                  bool integer);

// Axis ticks: a step of 1, 2 or 5 times a power of ten near `rough` (whole numbers only, at least
// 1, when whole is set), and the decimals that show every tick of that step exactly.
double NiceStep(double rough, bool whole);
int StepDecimals(double step);

}  // namespace chartstats
