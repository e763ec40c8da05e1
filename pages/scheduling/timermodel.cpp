#include "timermodel.h"

#include "numbertext.h"
#include "timerxmanager.h"

namespace timerpage {

namespace {

const char* const kDayTexts[kDays] = {"Everyday",  "Sunday",   "Monday", "Tuesday",
                                      "Wednesday", "Thursday", "Friday", "Saturday"};
// By the unit's run type.
const char* const kRunNames[analyzer::kRunTypes] = {"H2S", "TS", "R1", "R2", "Z", "C"};
const char* const kRunCaptions[analyzer::kRunTypes] = {"H2S",         "Total Sulpur", "Reference 1",
                                                       "Reference 2", "Zero",         "Calibration"};

std::optional<std::uint8_t> parseBounded(const QString& text, int high, const QString& message, QString* problem)
{
    // Digits only: a sign is no part of an hour or a minute.
    const QString trimmed = text.trimmed();
    const std::optional<int> value = numtext::tryStrToInt(trimmed);
    if (!value || trimmed.startsWith(QLatin1Char('+')) || trimmed.startsWith(QLatin1Char('-')) || *value < 0 ||
        *value > high) {
        if (problem)
            *problem = message;
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

}  // namespace

QString dayText(int index)
{
    return index >= 0 && index < kDays ? QString::fromLatin1(kDayTexts[index]) : QString();
}

QString runBoxName(int stream, int run)
{
    return QStringLiteral("S%1%2").arg(stream).arg(QLatin1String(kRunNames[run]));
}

QString runBoxCaption(int stream, int run)
{
    QString caption = QStringLiteral("Stream %1 %2").arg(stream).arg(QLatin1String(kRunCaptions[run]));
    if (stream == 1 && run <= 3)
        caption += QLatin1Char(' ');
    return caption;
}

PageValues decode(const TimerXConfiguration& block)
{
    PageValues values;
    for (int t = 0; t < timerx::kTimers; ++t) {
        const TimerXEntry& e = block.Timers[t];
        TimerValues& v = values[t];
        v.enable = e.ScheduleEnable != 0;
        v.day = e.ScheduleDayOfWeek;
        v.hour = e.ScheduleHour;
        v.minute = e.ScheduleMinute;
        v.analysisEnable = e.AnalysisEnable != 0;
        for (int bit = 0; bit < analyzer::kRunMaskBits; ++bit)
            v.runs[bit] = (e.Analysis >> bit) & 1u;
        v.sequencerEnable = e.SequencerEnable != 0;
        v.manEnable = e.Sequencer & 1u;
        // A stop timer never carries a manual sequence into the next store: its boxes are hidden.
        const bool start = isStartTimer(t + 1);
        for (int m = 0; m < kManualSequences; ++m)
            v.manual[m] = start && ((e.Sequencer >> (m + 1)) & 1u);
    }
    return values;
}

TimerXConfiguration encode(const PageValues& values)
{
    TimerXConfiguration block{};
    for (int t = 0; t < timerx::kTimers; ++t) {
        const TimerValues& v = values[t];
        TimerXEntry& e = block.Timers[t];
        e.ScheduleEnable = v.enable ? 1 : 0;
        e.ScheduleDayOfWeek = v.day;
        e.ScheduleHour = v.hour;
        e.ScheduleMinute = v.minute;
        e.AnalysisEnable = v.analysisEnable ? 1 : 0;
        std::uint32_t analysis = 0;
        for (int bit = 0; bit < analyzer::kRunMaskBits; ++bit)
            if (v.runs[bit])
                analysis |= 1u << bit;
        e.Analysis = analysis;
        e.SequencerEnable = v.sequencerEnable ? 1 : 0;
        std::uint16_t seq = v.manEnable ? 1 : 0;
        for (int m = 0; m < kManualSequences; ++m)
            if (v.manual[m])
                seq |= static_cast<std::uint16_t>(1u << (m + 1));
        e.Sequencer = seq;
    }
    return block;
}

void analysisEnableClicked(TimerValues& timer)
{
    timer.enable = timer.analysisEnable || timer.sequencerEnable;
}

void startClicked(TimerValues& timer)
{
    analysisEnableClicked(timer);
    timer.manEnable = timer.sequencerEnable;
}

void applySelfTest(PageValues& values, bool down)
{
    for (TimerValues& v : values) {
        v.enable = down;
        v.day = 0;
        v.hour = 8;
        v.minute = 0;
        v.analysisEnable = down;
        v.runs.fill(down);
        v.sequencerEnable = down;
        v.manEnable = down;
        v.manual.fill(down);
    }
}

QString selfTestText(bool down)
{
    return down
               ? QStringLiteral("If Analysis=16777215 and Sequencer=511 in file LogWrite.dbg, the TEST will be passed.")
               : QStringLiteral("If Analysis=0 and Sequencer=0 in file LogWrite.dbg, the TEST will be passed.");
}

std::optional<std::uint8_t> parseHour(const QString& text, QString* problem)
{
    return parseBounded(text, 23, QStringLiteral("The hour must be a whole number from 0 to 23."), problem);
}

std::optional<std::uint8_t> parseMinute(const QString& text, QString* problem)
{
    return parseBounded(text, 59, QStringLiteral("The minute must be a whole number from 0 to 59."), problem);
}

void store(const PageValues& values, TimerXManager& manager)
{
    manager.SetImage(encode(values));
}

}  // namespace timerpage
