#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

// The toolkit's date-time value: days since 1899-12-30 as a double, the time of day as the
// fraction. Before that day the whole part counts back and the fraction still counts forward
// within the day (-1.25 is 1899-12-29 06:00). There is no time zone: the value is the wall-clock
// time it was made from.
namespace toolkitdate {

// The value of a date and a time of day; an invalid time counts as midnight. NaN for an invalid date.
double fromDateTime(const QDate& date, const QTime& time = QTime(0, 0));
// The value of a QDateTime's own date and time of day, as shown, with no zone conversion.
double fromQDateTime(const QDateTime& dateTime);
// The current local date and time.
double now();

// Splits a value into its date and its time of day, rounded to the millisecond. False for NaN,
// infinities and values beyond the years 1..9999.
bool decode(double value, QDate& date, QTime& time);
QDate toQDate(double value);  // invalid when decode fails
QTime toQTime(double value);  // invalid when decode fails
// A local date-time; invalid when decode fails.
QDateTime toQDateTime(double value);

// The toolkit's locale texts, from QLocale::system(): the short date format with a two-digit year
// widened to four digits, the long time format without its time-zone field.
QString shortDateFormat();
QString longTimeFormat();
QString shortTimeFormat();
// Short date, a blank, long time; the time is left out at midnight exactly. Empty when the value
// is no date.
QString dateTimeToStr(double value);
QString dateToStr(double value);
QString timeToStr(double value);
// Reads what dateTimeToStr, dateToStr or timeToStr write (a date alone is midnight, a time alone
// is on day 0); nothing when the text is no date-time of those formats.
std::optional<double> strToDateTime(const QString& text);

// The toolkit's FormatDateTime: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (minutes right after an
// h or hh), yy yyyy, h hh, n nn, s ss, z zzz, t tt, c, am/pm a/p ampm, '/' and ':' as themselves,
// quoted text kept; other characters are copied. Hours are on the 12-hour clock when an am/pm
// specifier follows; "ampm" shows the locale's AM and PM texts, "am/pm" and "a/p" keep the case
// they are written in. Empty when the value is no date.
QString formatDateTime(const QString& format, double value);

}  // namespace toolkitdate
