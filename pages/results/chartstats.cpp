#include "chartstats.h"

#include "filteredtablemodel.h"
#include "floatformat.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>

namespace chartstats {

Stats Compute(const std::vector<double>& samples)
{
    Stats stats;
    stats.count = static_cast<std::int64_t>(samples.size());
    if (stats.count == 0)
        return stats;
    const double n = static_cast<double>(stats.count);
    double sum = 0;
    for (double x : samples)
        sum += x;
    double mean = sum / n;
    // Second pass: the deviations' own sum corrects the rounding of the first mean.
    double first = 0;
    double squares = 0;
    for (double x : samples) {
        const double d = x - mean;
        first += d;
        squares += d * d;
    }
    mean += first / n;
    stats.mean = mean;
    if (stats.count < 2)
        return stats;
    const double variance = (squares - first * first / n) / (n - 1);
    stats.stdDev = variance > 0 ? std::sqrt(variance) : 0.0;
    if (mean != 0)
        stats.rsd = *stats.stdDev / mean * 100;
    return stats;
}

namespace {
QString number(const std::optional<double>& value, const char* suffix = "")
{
    if (!value || !std::isfinite(*value))
        return QStringLiteral("n/a");
    return QString::fromStdString(floatfmt::cFormat("%.5f", *value)) + QLatin1String(suffix);
}
}  // namespace

QString FootText(const Stats& stats)
{
    return QStringLiteral("Samples: ") + QString::number(stats.count) + QStringLiteral("     Average: ") +
           number(stats.mean) + QStringLiteral("     Standard Deviation: ") + number(stats.stdDev) +
           QStringLiteral("     %RSD: ") + number(stats.rsd, "%");
}

Column ReadColumn(const FilteredTableModel& grid, int top, int bottom, int column, int seqColumn, int timeColumn,
                  bool integer)
{
    Column out;
    top = std::max(top, 0);
    bottom = std::min(bottom, grid.rowCount() - 1);
    if (bottom < top)
        return out;
    out.points.reserve(bottom - top + 1);
    out.samples.reserve(static_cast<std::size_t>(bottom - top + 1));
    for (int row = top; row <= bottom; ++row) {
        if (grid.CellText(row, timeColumn) == QLatin1String("Invalid"))
            continue;
        const std::optional<int> seq = numtext::tryStrToInt(grid.CellText(row, seqColumn));
        const QString text = grid.CellText(row, column);
        const std::optional<std::int64_t> whole = integer ? numtext::tryStrToInt64(text) : std::nullopt;
        const std::optional<double> number =
            whole ? std::optional<double>(static_cast<double>(*whole)) : numtext::tryStrToFiniteFloat(text);
        if (!seq || (integer && !whole) || !number)
            continue;
        const double value = static_cast<double>(static_cast<float>(*number));
        out.points.append(QPointF(*seq, value));
        out.samples.push_back(value);
    }
    return out;
}

double NiceStep(double rough, bool whole)
{
    if (!(rough > 0) || !std::isfinite(rough))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double fraction = rough / power;
    const double nice = fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10;
    const double step = nice * power;
    return whole ? std::max(1.0, std::round(step)) : step;
}

int StepDecimals(double step)
{
    if (!(step > 0) || !std::isfinite(step) || step >= 1)
        return 0;
    // 0.05 -> 2, 0.2 -> 1; a rounding hair (0.30000000000000004) does not add a decimal.
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 15);
}

}  // namespace chartstats
