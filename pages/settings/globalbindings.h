#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The Global page's rules and tables that need no widget: its alarm rows, the order of its
// express-scan list and the texts it makes of the unit's values.
namespace globalpage {

// The page's express-scan page number.
constexpr int kScanPage = 2;

// How a limit edit takes its text.
enum class Limit { None, PosFloat, Float };

// One row of "Global Alarms": the enable box, its limit edit (if any) and the action mask with a
// box per relay and solenoid.
struct AlarmRow {
    const char* enableName;
    const char* caption;
    std::uint16_t enablePoint;
    const char* limitName;  // null: the row has no limit
    std::uint16_t limitPoint;
    Limit limit;
    std::uint16_t actionsPoint;
    // Relay box n is relayPrefix + n, solenoid box n solenoidPrefix + n (n from 1).
    const char* relayPrefix;
    const char* solenoidPrefix;
};

// The twelve rows from top to bottom; the tape-length row carries the length unit in its caption.
constexpr int kTapeLengthRow = 6;
extern const std::array<AlarmRow, 12> kAlarmRows;

// The names of the controls whose points the page lists on entry, in the unit's order.
extern const std::vector<const char*> kEntryControls;

// "ckAlmBattR3", "LowTempS8": the name of a row's relay (solenoid false) box n (1-based); it
// watches its bit of the row's mask (analyzer::actionBit).
QString actionBoxName(const AlarmRow& row, bool relay, int n);

// The text a clicked action box stores: the bit alone when checked, every other bit of the
// 16-bit mask when cleared (bit 2: "4" and "65531"). The database sets or clears that one bit.
std::string actionBitText(int bit, bool checked);

// A version point's value as eight upper-case hexadecimal digits; the leading number of the
// text, non-numeric text counting as 0 (386143255 shows as "17041417").
QString versionText(const QString& value);

// The bypass time-out the unit keeps in milliseconds, shown in seconds in single precision with
// the toolkit's general float text (1234 shows as "1.23399996757507"); nothing for a text that is
// not a number.
std::optional<QString> bypassSecondsText(const QString& milliseconds);

// The trend filter length is at most 10: the text to show instead, or nothing when the text may
// stay. The leading number counts (non-numeric text as 0).
std::optional<QString> clampTrendFilter(const QString& text);

// The highest furnace pulse width; 75 itself is allowed.
constexpr double kPulseWidthMax = 75.0;
extern const char* const kPulseWidthWarning;

}  // namespace globalpage
