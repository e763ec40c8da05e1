#include "timestamptoken.h"

#include "toolkitdate.h"

namespace timestamp {

Fields unpack(TimestampToken token)
{
    return Fields{static_cast<int>(token >> 26) + 2000,   static_cast<int>((token >> 22) & 0x0F),
                  static_cast<int>((token >> 17) & 0x1F), static_cast<int>((token >> 12) & 0x1F),
                  static_cast<int>((token >> 6) & 0x3F),  static_cast<int>(token & 0x3F)};
}

double toDateTime(TimestampToken token)
{
    Fields f = unpack(token);
    if (f.month == 0 || f.month > 12)
        f.month = 1;
    if (f.day == 0)
        f.day = 1;
    const QDate date(f.year, f.month, f.day);
    const QTime time(f.hour, f.minute, f.second);
    if (!date.isValid() || !time.isValid())
        return 0.0;
    return toolkitdate::fromDateTime(date, time);
}

std::optional<TimestampToken> fromDateAndTime(const QDate& date, const QTime& time)
{
    if (!date.isValid() || date.year() < 2000 || date.year() > 2063)
        return std::nullopt;
    const QTime t = time.isValid() ? time : QTime(0, 0);
    const auto field = [](int value, unsigned shift) { return static_cast<TimestampToken>(value) << shift; };
    return field(date.year() - 2000, 26) | field(date.month(), 22) | field(date.day(), 17) | field(t.hour(), 12) |
           field(t.minute(), 6) | field(t.second(), 0);
}

std::optional<TimestampToken> fromDateTime(double dateTime)
{
    QDate date;
    QTime time;
    if (!toolkitdate::decode(dateTime, date, time))
        return std::nullopt;
    return fromDateAndTime(date, time);
}

}  // namespace timestamp
