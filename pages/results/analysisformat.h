#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// What the analysis page shows for the value texts its points deliver. Each rule is a plain
// function so that the page only applies the answer to its control.
namespace analysis {

// What a value handler does with its control.
struct TextUpdate {
    enum class Action {
        Keep,       // the control keeps its text (a value this rule does not show, or no number)
        SetText,    // the control shows text
        ShowValue,  // the control shows the value text itself
    };
    Action action = Action::Keep;
    QString text;

    static TextUpdate keep() { return {}; }
    static TextUpdate set(const QString& t) { return {Action::SetText, t}; }
    static TextUpdate showValue() { return {Action::ShowValue, {}}; }
    bool operator==(const TextUpdate& o) const { return action == o.action && text == o.text; }
};

// The number format of the last results for a count of decimal places ("0" ... "0.0000");
// "0.00" for anything but 0 to 4 and for no count at all.
QString displayFormatFor(std::optional<int> decimalPlaces);
constexpr char kDefaultDisplayFormat[] = "0.00";

// A last result (or gain, or zero offset): the value as the C library reads it, in the format.
QString lastResultText(const QString& value, const QString& displayFormat);

// The background of a last-result field for its run type's schedule value: the toolkit colour
// (0x00BBGGRR, or the button-face system colour) for 0, 1 and 2; nothing for an empty text, any
// other value, or a text that is no integer.
std::optional<std::uint32_t> scheduleColour(const QString& value);
constexpr std::uint32_t kScheduleOff = 0x8000000F;     // button face: the field's normal colour
constexpr std::uint32_t kScheduleYellow = 0x0000FFFF;  // red and green full
constexpr std::uint32_t kScheduleAqua = 0x00FFFF00;    // green and blue full

// The stream 1..4 that a "Stream (Stream)" value 0..3 names; nothing for any other text.
std::optional<int> activeStreamOf(const QString& value);
// "Stream n Active".
QString streamBannerText(int stream);

// The analysis state's name for 0..11; any other integer shows the number itself.
TextUpdate analysisStateText(const QString& value);
// "Sequencer Off", "Automatic Sequencer On", "Manual Sequencer On", "Manual Sequencer 1 On" ...
// "Manual Sequencer 8 On" for 0..10; any other value keeps the previous text.
TextUpdate sequencerStateText(const QString& value);
// The one-based run number, never more than a known total: the total's text as the control
// "of" shows it (empty or no number: no known total).
TextUpdate runNumberText(const QString& value, const QString& totalText);
// The unit's clock token as "mmmm d, yyyy h:nn:ss ampm"; an empty text is the token 0.
TextUpdate unitDateTimeText(const QString& value);

// The name point of a run type (code 0..5 of point 391) on an active stream 1..4; nothing when
// either is unknown.
std::optional<int> currentAnalysisNamePoint(int activeStream, const QString& runTypeValue);

// The run-report's result label of stream n: "Stream n Result: ".
QString resultLabel(int stream);

// The alarm text the run report names an alarm image by: the text of its point id when the image
// is on (each begins with a blank), empty when it is off or the id names no alarm.
QString alarmText(int pointId, bool on);

}  // namespace analysis
