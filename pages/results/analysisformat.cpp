#include "analysisformat.h"

#include "analysispoints.h"
#include "numbertext.h"
#include "resultnumbers.h"
#include "timestamptoken.h"
#include "toolkitdate.h"

#include <array>

namespace analysis {

QString displayFormatFor(std::optional<int> decimalPlaces)
{
    static const std::array<const char*, 5> formats{"0", "0.0", "0.00", "0.000", "0.0000"};
    if (!decimalPlaces || *decimalPlaces < 0 || *decimalPlaces > 4)
        return QString::fromLatin1(kDefaultDisplayFormat);
    return QString::fromLatin1(formats[static_cast<std::size_t>(*decimalPlaces)]);
}

QString lastResultText(const QString& value, const QString& displayFormat)
{
    return resultnum::formatMasked(displayFormat, numtext::cStrtod(value));
}

std::optional<std::uint32_t> scheduleColour(const QString& value)
{
    switch (numtext::tryStrToInt(value).value_or(-1)) {
    case 0:
        return kScheduleOff;
    case 1:
        return kScheduleYellow;
    case 2:
        return kScheduleAqua;
    default:
        return std::nullopt;
    }
}

std::optional<int> activeStreamOf(const QString& value)
{
    const auto v = numtext::tryStrToInt(value);
    if (!v || *v < 0 || *v >= analyzer::kStreams)
        return std::nullopt;
    return *v + 1;
}

QString streamBannerText(int stream)
{
    return QStringLiteral("Stream %1 Active").arg(stream);
}

TextUpdate analysisStateText(const QString& value)
{
    static const std::array<const char*, 12> names{
        "Calibrate",        "Idle",      "Purging",      "Tape Advance Halt", "Tape Advance Go", "Tape Advance Search",
        "Calibrate Sensor", "Auto Zero", "Sample Delay", "Sample Interval",   "Update Stream",   "No Stream Run"};
    const auto v = numtext::tryStrToInt(value);
    if (!v)
        return TextUpdate::keep();
    if (*v < 0 || *v >= static_cast<int>(names.size()))
        return TextUpdate::showValue();
    return TextUpdate::set(QString::fromLatin1(names[static_cast<std::size_t>(*v)]));
}

TextUpdate sequencerStateText(const QString& value)
{
    const auto v = numtext::tryStrToInt(value);
    if (!v)
        return TextUpdate::keep();
    switch (*v) {
    case 0:
        return TextUpdate::set(QStringLiteral("Sequencer Off"));
    case 1:
        return TextUpdate::set(QStringLiteral("Automatic Sequencer On"));
    case 2:
        return TextUpdate::set(QStringLiteral("Manual Sequencer On"));
    default:
        if (*v >= 3 && *v <= 10)
            return TextUpdate::set(QStringLiteral("Manual Sequencer %1 On").arg(*v - 2));
        return TextUpdate::keep();
    }
}

TextUpdate runNumberText(const QString& value, const QString& totalText)
{
    const auto run = numtext::tryStrToInt64(value);
    if (!run)
        return TextUpdate::keep();
    const std::int64_t total = numtext::tryStrToInt64(totalText).value_or(0);
    if (total != 0 && *run >= total)
        return TextUpdate::set(QString::number(total));
    return TextUpdate::set(QString::number(*run + 1));
}

TextUpdate unitDateTimeText(const QString& value)
{
    std::int64_t token = 0;
    if (!value.isEmpty()) {
        const auto v = numtext::tryStrToInt64(value);
        // The clock point is an unsigned 32-bit value; its signed reading names the same token.
        if (!v || *v < INT32_MIN || *v > UINT32_MAX)
            return TextUpdate::keep();
        token = *v;
    }
    const double when = timestamp::toDateTime(static_cast<timestamp::TimestampToken>(token));
    return TextUpdate::set(toolkitdate::formatDateTime(QStringLiteral("mmmm d, yyyy h:nn:ss ampm"), when));
}

std::optional<int> currentAnalysisNamePoint(int activeStream, const QString& runTypeValue)
{
    const auto code = numtext::tryStrToInt(runTypeValue);
    if (activeStream < 1 || activeStream > analyzer::kStreams || !code || !analyzer::isRunType(*code))
        return std::nullopt;
    return kNamePoint[static_cast<std::size_t>(activeStream - 1)][static_cast<std::size_t>(*code)];
}

QString resultLabel(int stream)
{
    return QStringLiteral("Stream %1 Result: ").arg(stream);
}

QString alarmText(int pointId, bool on)
{
    struct Alarm {
        int id;
        const char* text;
    };
    static const Alarm alarms[] = {
        {152, " Tape Movement Alarm"},
        {346, " RTC Battery Alarm"},
        {347, " Sensor Temperature Alarm"},
        {348, " Sensor LED Current Alarm"},
        {349, " Stream 1 Normal Run Deviation Alarm"},
        {350, " Stream 1 Normal Run Alarm 1"},
        {352, " Stream 1 Calibration Run Deviation Alarm"},
        {353, " Stream 1 Calibration Run Alarm 1"},
        {355, " Stream 1 Reference Run Deviation Alarm"},
        {356, " Stream 1 Reference Run Alarm 1"},
        {358, " Stream 1 Zero Run Deviation Alarm"},
        {359, " Stream 1 Zero Run Alarm 1"},
        {361, " Stream 2 Normal Run Deviation Alarm"},
        {362, " Stream 2 Normal Run Alarm 1"},
        {364, " Stream 2 Calibration Run Deviation Alarm"},
        {365, " Stream 2 Calibration Run Alarm 1"},
        {367, " Stream 2 Reference Run Deviation Alarm"},
        {368, " Stream 2 Reference Run Alarm 1"},
        {370, " Stream 2 Zero Run Deviation Alarm"},
        {371, " Stream 2 Zero Run Alarm 1"},
        {407, " System Alarm"},
        {409, " Sensor Communication Alarm"},
        {473, " Max Tape Adv. Alarm"},
        {504, " Stream 1 Normal Run PAA Alarm"},
        {505, " Stream 2 Normal Run PAA Alarm"},
        {509, " Max Analysis Time Alarm"},
        {518, " Low Tape Alarm"},
        {519, " Tape Length Alarm"},
        {539, " Sensor Calibration Alarm"},
    };
    if (!on)
        return {};
    for (const auto& a : alarms)
        if (a.id == pointId)
            return QString::fromLatin1(a.text);
    return {};
}

}  // namespace analysis
