#pragma once

#include "logrecord.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// The log configuration window's rules, kept apart from its widgets: what a dragged point
// carries, where it may be dropped, and how each edit of a log's point list changes its
// LogRecord. Grid row r (from 1) shows parameter r; parameter 0 is the time stamp and is never
// shown or changed here.
namespace logcfg {

// A dragged point carries its point id as decimal text under this type.
constexpr char kPointMime[] = "application/x-kvt515-pointid";
QByteArray pointPayload(std::uint16_t pointId);
// Nothing for a payload that is no point id (1 to 65535, digits only).
std::optional<std::uint16_t> readPointPayload(const QByteArray& payload);

// Parameters in use as the window sees them: a log never configured (0) still has its time stamp.
int parameterCount(const LogRecord& record);
// Points the log records besides the time stamp.
inline int pointCount(const LogRecord& record)
{
    return parameterCount(record) - 1;
}
bool holdsPoint(const LogRecord& record, std::uint16_t pointId);

enum class DropPlace {
    PointCell,  // the "Data Point" cell of row `row`
    OtherCell,  // any other cell of a row
    Below,      // under the last row
};

enum class DropVerdict {
    Append,           // the point becomes the log's next parameter
    Replace,          // the point takes the place of the row's parameter
    RefuseNoPoint,    // a group, or a payload that is no point
    RefuseCell,       // not the "Data Point" cell
    RefuseFull,       // seven points already (eight parameters with the time stamp)
    RefuseDuplicate,  // the log records the point already
};

// row counts from 1; a "Data Point" cell past the points is the grid's empty row and appends.
DropVerdict judgeDrop(const LogRecord& record, std::optional<std::uint16_t> point, DropPlace place, int row);
// Whether the drag may go on over that place (a duplicate is accepted here so that its drop can
// say why it is refused).
bool acceptsDragOver(DropVerdict verdict);

// The edits. Each sets LOG_NUMBER to the log's index; none touches parameter 0.
void appendPoint(LogRecord& record, int logIndex, std::uint16_t pointId);
// False when row is no point row.
bool replacePoint(LogRecord& record, int logIndex, int row, std::uint16_t pointId);
// Later parameters move down one place; the freed last slot is cleared. False when row is no
// point row.
bool removePoint(LogRecord& record, int logIndex, int row);
// The parameter of row `from` goes to row `to`, those between shift by one. False when either row
// is no point row.
bool movePoint(LogRecord& record, int logIndex, int from, int to);

enum class FrequencyVerdict { Ok, NotInteger, OutOfRange, Negative };
struct FrequencyCheck {
    FrequencyVerdict verdict = FrequencyVerdict::NotInteger;
    std::uint16_t value = 0;
};
// A frequency typed by the user: a whole number, within the hour range when one is given, not
// negative, and within the 16 bits the record holds (a larger value is out of range).
FrequencyCheck checkFrequency(const QString& text, std::optional<std::pair<int, int>> hourRange);
// The text shown for a refused frequency; empty for Ok.
QString frequencyMessage(const FrequencyCheck& check, const QString& text);

}  // namespace logcfg
