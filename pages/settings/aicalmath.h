#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The analog input calibration's arithmetic and the writes it makes, without widgets: the line
// through the two captured points (raw count, current) and the checks every value passes before
// anything reaches the unit.
// The points of one analog current input that its calibration frame shows.
struct AIFramePoints {
    int description;
    int minimum;
    int maximum;
    int value;
    int units;
    int rawZero;
    int rawSpan;
    int scaledZero;
    int scaledSpan;
    int raw;
    int current;
    int ratio;
};

namespace aicalmath {

// scaled = raw x gain + offset, both held in single precision as the unit keeps them.
struct Line {
    float gain;
    float offset;
};

// The line through (rawZero, scaledZero) and (rawSpan, scaledSpan); nothing when the two raw
// counts are equal, as one point gives no line.
std::optional<Line> line(double rawZero, double rawSpan, double scaledZero, double scaledSpan);

// The texts of the four calibration boxes, as the frame shows them.
struct Boxes {
    QString scaledZero;
    QString scaledSpan;
    QString rawZero;
    QString rawSpan;
};

// The points one input's calibration writes.
struct Points {
    int scaledZero;
    int scaledSpan;
    int rawZero;
    int rawSpan;
    int gain;
    int offset;
};

struct Write {
    int pointId;
    std::string text;
    const char* what;  // the value's name in the frame, for the user
};

// What a calibration sends, in the unit's order (scaled zero, scaled span, raw zero, raw span,
// gain, offset), or why nothing is sent: a box that holds no number the point can take, or equal
// raw counts.
struct Plan {
    std::vector<Write> writes;
    QString refusal;
};
Plan plan(const Boxes& boxes, const Points& points);

// The ratio box's text for the ratio point's value text: the percentage cut toward zero; nothing
// for an empty text or one that is no number (the box is left as it is).
std::optional<QString> ratioPercentText(const QString& value);
// The current box's text: the value with two decimals; a text that is no number shows 0.00.
QString currentText(const QString& value);

// The text of a write that stopped part-way: what reached the unit and what did not.
QString partialWriteText(const QString& frameCaption, const std::vector<Write>& writes, std::size_t written);

}  // namespace aicalmath
