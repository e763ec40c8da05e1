#include "aicalmath.h"

#include "dbcontrol.h"
#include "floatformat.h"
#include "numbertext.h"
#include "resultnumbers.h"

#include <QStringList>

#include <cmath>

namespace aicalmath {

namespace {

// The scaled boxes take a current of the loop, as their own entry check does.
constexpr double kScaledLow = 3;
constexpr double kScaledHigh = 23;

std::optional<std::string> scaledText(const QString& text, QString* problem)
{
    dbctl::EditChecks checks;
    checks.dataType = dbctl::dtFloat;
    checks.rangeEdit = true;
    checks.rangeLow = kScaledLow;
    checks.rangeHigh = kScaledHigh;
    const std::optional<QString> checked = dbctl::checkEdit(text, checks, problem);
    if (!checked)
        return std::nullopt;
    return dbctl::fitToPoint(dbctl::toPointText(*checked), dbctl::PointKind::Float, problem);
}

std::optional<std::string> rawText(const QString& text, QString* problem)
{
    return dbctl::fitToPoint(dbctl::toPointText(text), dbctl::PointKind::U16, problem);
}

QString refusalText(const char* what, const QString& problem)
{
    return QStringLiteral("%1: %2\nThe calibration was not written.").arg(QLatin1String(what), problem);
}

}  // namespace

std::optional<Line> line(double rawZero, double rawSpan, double scaledZero, double scaledSpan)
{
    const float d = static_cast<float>(rawSpan - rawZero);
    if (d == 0)
        return std::nullopt;
    const float gain = static_cast<float>((scaledSpan - scaledZero) / static_cast<double>(d));
    const float offset = static_cast<float>(scaledZero - rawZero * static_cast<double>(gain));
    return Line{gain, offset};
}

Plan plan(const Boxes& boxes, const Points& points)
{
    Plan result;
    QString problem;
    const std::optional<std::string> scaledZero = scaledText(boxes.scaledZero, &problem);
    if (!scaledZero)
        return {{}, refusalText("Scaled Zero", problem)};
    const std::optional<std::string> scaledSpan = scaledText(boxes.scaledSpan, &problem);
    if (!scaledSpan)
        return {{}, refusalText("Scaled Span", problem)};
    const std::optional<std::string> rawZero = rawText(boxes.rawZero, &problem);
    if (!rawZero)
        return {{}, refusalText("Raw Zero", problem)};
    const std::optional<std::string> rawSpan = rawText(boxes.rawSpan, &problem);
    if (!rawSpan)
        return {{}, refusalText("Raw Span", problem)};

    const std::optional<Line> through = line(*numtext::tryStrToFiniteFloat(QString::fromStdString(*rawZero)),
                                             *numtext::tryStrToFiniteFloat(QString::fromStdString(*rawSpan)),
                                             *numtext::tryStrToFiniteFloat(dbctl::fromPointText(*scaledZero)),
                                             *numtext::tryStrToFiniteFloat(dbctl::fromPointText(*scaledSpan)));
    if (!through)
        return {{},
                QStringLiteral("The raw zero and the raw span are both %1: no line runs through a single point.\n"
                               "Capture the zero and the span at two different currents.\n"
                               "The calibration was not written.")
                    .arg(QString::fromStdString(*rawZero))};
    if (!std::isfinite(through->gain) || !std::isfinite(through->offset))
        return {{},
                QStringLiteral("The line through the two points is out of range.\nThe calibration was not written.")};

    result.writes = {
        {points.scaledZero, *scaledZero, "Scaled Zero"},
        {points.scaledSpan, *scaledSpan, "Scaled Span"},
        {points.rawZero, *rawZero, "Raw Zero"},
        {points.rawSpan, *rawSpan, "Raw Span"},
        {points.gain, floatfmt::toolkitText(static_cast<double>(through->gain)), "Scaling Factor"},
        {points.offset, floatfmt::toolkitText(static_cast<double>(through->offset)), "Zero Offset"},
    };
    return result;
}

std::optional<QString> ratioPercentText(const QString& value)
{
    if (value.isEmpty())
        return std::nullopt;
    const std::optional<double> ratio = numtext::tryStrToFiniteFloat(value);
    if (!ratio)
        return std::nullopt;
    const double percent = std::trunc(*ratio * 100);
    if (std::fabs(percent) > 1e15)
        return std::nullopt;
    return QString::number(static_cast<long long>(percent));
}

QString currentText(const QString& value)
{
    return resultnum::formatMasked(QStringLiteral("0.00"), numtext::tryStrToFiniteFloat(value).value_or(0));
}

QString partialWriteText(const QString& frameCaption, const std::vector<Write>& writes, std::size_t written)
{
    auto names = [&](std::size_t from, std::size_t to) {
        QStringList list;
        for (std::size_t i = from; i < to && i < writes.size(); ++i)
            list << QLatin1String(writes[i].what);
        return list.isEmpty() ? QStringLiteral("nothing") : list.join(QStringLiteral(", "));
    };
    return QStringLiteral("The calibration of %1 was not completed.\nWritten: %2.\nNot written: %3.")
        .arg(frameCaption, names(0, written), names(written, writes.size()));
}

}  // namespace aicalmath
