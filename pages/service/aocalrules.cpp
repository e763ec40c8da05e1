#include "aocalrules.h"

#include "floatformat.h"

#include <cmath>
#include <cstdlib>

namespace aocal {

ArrowClick arrowClick(std::int64_t boxValue, int position, int offset, int step)
{
    const std::int64_t shown = static_cast<std::int64_t>(position) + offset;
    if (std::llabs(boxValue - shown) > step)
        return {static_cast<std::int16_t>(boxValue - offset), false, {}};
    return {position, true, QString::number(shown)};
}

std::optional<std::int64_t> autoCalCount(double wanted, double meter, double raw)
{
    if (meter == 0)
        return std::nullopt;
    const double count = std::trunc(wanted / meter * raw);
    if (!std::isfinite(count) || count < kCountLow || count > kCountHigh)
        return std::nullopt;
    return static_cast<std::int64_t>(count);
}

double testCurrent(double zeroCurrent, double spanCurrent, double fraction)
{
    return zeroCurrent + (spanCurrent - zeroCurrent) * fraction;
}

QString fractionText(int percent)
{
    return QString::fromStdString(floatfmt::toolkitText(percent * 0.01));
}

}  // namespace aocal
