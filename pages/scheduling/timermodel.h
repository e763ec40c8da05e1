#pragma once

#include "analyzer.h"
#include "timerxconfiguration.h"

#include <QString>
#include <array>
#include <optional>

class TimerXManager;

// What the timers page shows of the unit's 144-byte timer block, as values: one TimerValues per
// timer frame. The frames are drawn from these values and write the user's edits back into them,
// so the codec and the frames' rules are tested without a widget.
namespace timerpage {

constexpr int kManualSequences = 8;
constexpr int kDays = 8;

// "Everyday", "Sunday" ... "Saturday", in the order of the day byte.
QString dayText(int index);
// Object name of the run box of stream 1-4 and run type 0-5 of the timer block's analysis mask
// ("S2R1"), and its caption ("Stream 2 Reference 1"; the stream 1 captions of the first four
// run types end with a blank).
QString runBoxName(int stream, int run);
QString runBoxCaption(int stream, int run);

struct TimerValues {
    bool enable = false;  // hidden; follows the analysis and sequencer boxes when they are clicked
    // The day byte: 0 every day, 1 Sunday ... 7 Saturday. Any other value came from the unit (or
    // is the 0xFF of a box without a selection) and is written back as it came until the user
    // picks a day.
    std::uint8_t day = 0xFF;
    std::uint8_t hour = 8;
    std::uint8_t minute = 0;
    bool analysisEnable = false;
    std::array<bool, analyzer::kRunMaskBits> runs{};  // by analyzer::runMaskBit
    bool sequencerEnable = false;
    bool manEnable = false;  // hidden manual-enable bit
    std::array<bool, kManualSequences> manual{};

    // The day box's item, -1 (no selection) for a day byte outside 0-7.
    int dayIndex() const { return day <= 7 ? day : -1; }
};

using PageValues = std::array<TimerValues, timerx::kTimers>;

// Odd timers (1, 3, ... 11) start the sequencer and offer the manual sequences; even ones stop it.
inline bool isStartTimer(int timerNumber)
{
    return timerNumber % 2 == 1;
}

// The controls of the twelve frames from the block. Even timers show no manual sequence.
PageValues decode(const TimerXConfiguration& block);
TimerXConfiguration encode(const PageValues& values);

// The frame's click rule on "Enable" of the analysis group and on "Stop": the hidden schedule
// enable follows either box.
void analysisEnableClicked(TimerValues& timer);
// An odd timer's "Start": the frame's rule, and the manual-enable bit follows "Start".
void startClicked(TimerValues& timer);

// The hidden self-test: every timer set to every day at 8:00, with every box as `down`.
void applySelfTest(PageValues& values, bool down);
QString selfTestText(bool down);

// Hour 0-23 and minute 0-59 as typed; nullopt with *problem set to the text to show.
std::optional<std::uint8_t> parseHour(const QString& text, QString* problem);
std::optional<std::uint8_t> parseMinute(const QString& text, QString* problem);

// The page's store on WM_SEND_TO_DATABASE; marks the block changed when any byte differs.
void store(const PageValues& values, TimerXManager& manager);

}  // namespace timerpage
