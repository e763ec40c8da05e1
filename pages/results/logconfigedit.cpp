#include "logconfigedit.h"

#include "numbertext.h"

#include <algorithm>
#include <limits>

namespace logcfg {

QByteArray pointPayload(std::uint16_t pointId)
{
    return QByteArray::number(pointId);
}

std::optional<std::uint16_t> readPointPayload(const QByteArray& payload)
{
    if (payload.isEmpty() || payload.size() > 5)
        return std::nullopt;
    for (char c : payload)
        if (c < '0' || c > '9')
            return std::nullopt;
    const int id = payload.toInt();
    if (id < 1 || id > std::numeric_limits<std::uint16_t>::max())
        return std::nullopt;
    return static_cast<std::uint16_t>(id);
}

int parameterCount(const LogRecord& record)
{
    return std::clamp<int>(record.ParametersInLog, 1, logrecord::kParameters);
}

bool holdsPoint(const LogRecord& record, std::uint16_t pointId)
{
    const int n = parameterCount(record);
    for (int i = 0; i < n; ++i)
        if (record.Parameters[i] == pointId)
            return true;
    return false;
}

namespace {

bool isPointRow(const LogRecord& record, int row)
{
    return row >= 1 && row <= pointCount(record);
}

}  // namespace

DropVerdict judgeDrop(const LogRecord& record, std::optional<std::uint16_t> point, DropPlace place, int row)
{
    if (!point)
        return DropVerdict::RefuseNoPoint;
    if (place == DropPlace::OtherCell)
        return DropVerdict::RefuseCell;
    const bool replace = place == DropPlace::PointCell && isPointRow(record, row);
    if (!replace && pointCount(record) >= logrecord::kParameters - 1)
        return DropVerdict::RefuseFull;
    if (holdsPoint(record, *point))
        return DropVerdict::RefuseDuplicate;
    return replace ? DropVerdict::Replace : DropVerdict::Append;
}

bool acceptsDragOver(DropVerdict verdict)
{
    return verdict == DropVerdict::Append || verdict == DropVerdict::Replace || verdict == DropVerdict::RefuseDuplicate;
}

void appendPoint(LogRecord& record, int logIndex, std::uint16_t pointId)
{
    const int n = parameterCount(record);
    if (n >= logrecord::kParameters)
        return;
    record.LOG_NUMBER = static_cast<std::uint8_t>(logIndex);
    record.Parameters[n] = pointId;
    record.ParametersInLog = static_cast<std::uint8_t>(n + 1);
}

bool replacePoint(LogRecord& record, int logIndex, int row, std::uint16_t pointId)
{
    if (!isPointRow(record, row))
        return false;
    record.LOG_NUMBER = static_cast<std::uint8_t>(logIndex);
    record.Parameters[row] = pointId;
    return true;
}

bool removePoint(LogRecord& record, int logIndex, int row)
{
    if (!isPointRow(record, row))
        return false;
    const int n = parameterCount(record);
    record.LOG_NUMBER = static_cast<std::uint8_t>(logIndex);
    for (int i = row; i < n - 1; ++i)
        record.Parameters[i] = record.Parameters[i + 1];
    record.Parameters[n - 1] = 0;
    record.ParametersInLog = static_cast<std::uint8_t>(n - 1);
    return true;
}

bool movePoint(LogRecord& record, int logIndex, int from, int to)
{
    if (!isPointRow(record, from) || !isPointRow(record, to))
        return false;
    record.LOG_NUMBER = static_cast<std::uint8_t>(logIndex);
    const std::uint16_t moved = record.Parameters[from];
    if (from < to)
        for (int i = from; i < to; ++i)
            record.Parameters[i] = record.Parameters[i + 1];
    else
        for (int i = from; i > to; --i)
            record.Parameters[i] = record.Parameters[i - 1];
    record.Parameters[to] = moved;
    return true;
}

FrequencyCheck checkFrequency(const QString& text, std::optional<std::pair<int, int>> hourRange)
{
    FrequencyCheck check;
    const std::optional<std::int64_t> number = numtext::tryStrToInt64(text);
    if (!number)
        return check;
    const std::int64_t value = *number;
    if (hourRange && (value < hourRange->first || value > hourRange->second)) {
        check.verdict = FrequencyVerdict::OutOfRange;
    } else if (value < 0) {
        check.verdict = FrequencyVerdict::Negative;
    } else if (value > std::numeric_limits<std::uint16_t>::max()) {
        check.verdict = FrequencyVerdict::OutOfRange;
    } else {
        check.verdict = FrequencyVerdict::Ok;
        check.value = static_cast<std::uint16_t>(value);
    }
    return check;
}

QString frequencyMessage(const FrequencyCheck& check, const QString& text)
{
    switch (check.verdict) {
    case FrequencyVerdict::Ok:
        return {};
    case FrequencyVerdict::NotInteger:
        return QStringLiteral("'%1' is not a valid integer value").arg(text);
    case FrequencyVerdict::OutOfRange:
        return QStringLiteral("The value is out of range.");
    case FrequencyVerdict::Negative:
        return QStringLiteral("The value should be positive.");
    }
    return {};
}

}  // namespace logcfg
