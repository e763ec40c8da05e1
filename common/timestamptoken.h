#pragma once

#include <QDate>
#include <QTime>
#include <cstdint>
#include <optional>

// The unit keeps its clock, its log records and its event records as a packed 32-bit token:
// year - 2000 (6 bits), month (4), day (5), hour (5), minute (6), second (6), from bit 31 down.
// No milliseconds, no time zone: the unit's local clock time.
namespace timestamp {

using TimestampToken = std::uint32_t;

struct Fields {
    int year;  // 2000..2063
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

// The raw fields, nothing repaired.
Fields unpack(TimestampToken token);

// The toolkit date-time of a token (see toolkitdate.h). A month of 0 or above 12 reads as
// January and a day of 0 as the 1st; a token that still forms no valid date and time (31 April,
// hour 24 and up, minute or second 60 and up) gives 0.0. Keeps no state: safe on any thread.
double toDateTime(TimestampToken token);

// The token of a date-time, milliseconds dropped. Nothing for a year outside 2000..2063 (the
// token would name another year) or for a value that is no date.
std::optional<TimestampToken> fromDateTime(double dateTime);
std::optional<TimestampToken> fromDateAndTime(const QDate& date, const QTime& time);

}  // namespace timestamp
