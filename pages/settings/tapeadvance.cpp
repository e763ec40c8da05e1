#include "tapeadvance.h"

#include "floatformat.h"

#include <cfloat>

namespace tapeadvance {

namespace {
constexpr double kPi = 3.1415926;
constexpr long double kOneOverPi = 0.31830989161357204L;
constexpr double kPerPulse = 0.00390625;  // 1 / 256
constexpr double kInchPerMm = 0.03937007874015748;
constexpr double kMmPerInch = 25.4;
constexpr double kMeterPerFoot = 0.3048;
constexpr double kFeetPerMeter = 3.28084;
}  // namespace

float widthPerPulse(double diameter, bool imperial)
{
    return static_cast<float>(diameter * kPi * (imperial ? 1.0 / 12.0 : 0.001) * kPerPulse);
}

double diameterOf(double widthPerPulse, bool imperial)
{
    const long double d =
        static_cast<long double>(widthPerPulse) * kPulsesPerTurn * (imperial ? 12.0L : 1000.0L) * kOneOverPi;
    return static_cast<double>(d);
}

float convertDiameter(double diameter, bool toMetric)
{
    return static_cast<float>(toMetric ? diameter * kMmPerInch : diameter * kInchPerMm);
}

float convertLength(double length, bool toMetric)
{
    return static_cast<float>(toMetric ? length * kMeterPerFoot : length * kFeetPerMeter);
}

double largestConvertibleDiameter(bool toMetric)
{
    return toMetric ? FLT_MAX / kMmPerInch : FLT_MAX;
}

double largestConvertibleLength(bool toMetric)
{
    return toMetric ? FLT_MAX : FLT_MAX / kFeetPerMeter;
}

QString diameterText(double diameter)
{
    return QString::fromStdString(floatfmt::cFormat("%.4f", diameter));
}

QString limitText(double limit)
{
    return QString::fromStdString(floatfmt::cFormat("%.2f", limit));
}

QString generalText(double value)
{
    return QString::fromStdString(floatfmt::toolkitText(value));
}

QString capstanCaption(bool imperial)
{
    return imperial ? QStringLiteral("Capstan Diameter (inches)") : QStringLiteral("Capstan Diameter (mm)");
}

QString tapeLengthCaption(bool imperial)
{
    return imperial ? QStringLiteral("Tape Length Remaining (feet)") : QStringLiteral("Tape Length Remaining (meter)");
}

}  // namespace tapeadvance
