#include "toolkitdate.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace toolkitdate {

namespace {

constexpr qint64 kMsPerDay = 86400000;
// 0001-01-01 and 9999-12-31: the range of dates the toolkit's value can name.
constexpr double kMinValue = -693593.0;
constexpr double kMaxValue = 2958466.0;

QDate epoch()
{
    return QDate(1899, 12, 30);
}

// Newer locale data puts narrow or non-breaking spaces before AM/PM; texts that end up in files
// should read back with a plain keyboard blank.
QString plainBlanks(QString format)
{
    format.replace(QChar(0x202F), QLatin1Char(' '));
    format.replace(QChar(0x00A0), QLatin1Char(' '));
    return format;
}

QString longDateFormat()
{
    return plainBlanks(QLocale::system().dateFormat(QLocale::LongFormat));
}

// The first character of a format that is no field letter: what '/' and ':' stand for.
QChar separatorOf(const QString& format, QChar fallback)
{
    for (const QChar c : format)
        if (!c.isLetter() && c != QLatin1Char('\'') && !c.isSpace())
            return c;
    return fallback;
}

int runLength(const QString& format, int i, QChar letter, int maximum)
{
    int n = 0;
    while (i + n < format.size() && n < maximum && format[i + n].toLower() == letter)
        ++n;
    return n;
}

QString padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// True when an am/pm specifier follows position i (outside quoted text).
bool twelveHourClockFrom(const QString& format, int i)
{
    QChar quote;
    for (; i < format.size(); ++i) {
        const QChar c = format[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        const QStringView rest = QStringView(format).mid(i);
        if (rest.startsWith(u"am/pm", Qt::CaseInsensitive) || rest.startsWith(u"a/p", Qt::CaseInsensitive) ||
            rest.startsWith(u"ampm", Qt::CaseInsensitive))
            return true;
    }
    return false;
}

}  // namespace

double fromDateTime(const QDate& date, const QTime& time)
{
    if (!date.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    const double days = static_cast<double>(epoch().daysTo(date));
    const double fraction =
        time.isValid() ? static_cast<double>(time.msecsSinceStartOfDay()) / static_cast<double>(kMsPerDay) : 0.0;
    return days >= 0 ? days + fraction : days - fraction;
}

double fromQDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    return fromDateTime(dateTime.date(), dateTime.time());
}

double now()
{
    return fromQDateTime(QDateTime::currentDateTime());
}

bool decode(double value, QDate& date, QTime& time)
{
    if (!std::isfinite(value) || value < kMinValue || value >= kMaxValue)
        return false;
    double whole = 0;
    const double fraction = std::fabs(std::modf(value, &whole));
    auto days = static_cast<qint64>(whole);
    auto ms = static_cast<qint64>(std::llround(fraction * static_cast<double>(kMsPerDay)));
    if (ms >= kMsPerDay) {
        // A value a hair below the next midnight is that midnight.
        ms -= kMsPerDay;
        days += value < 0 ? -1 : 1;
    }
    date = epoch().addDays(days);
    time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
    return date.isValid() && date.year() >= 1 && date.year() <= 9999;
}

QDate toQDate(double value)
{
    QDate d;
    QTime t;
    return decode(value, d, t) ? d : QDate();
}

QTime toQTime(double value)
{
    QDate d;
    QTime t;
    return decode(value, d, t) ? t : QTime();
}

QDateTime toQDateTime(double value)
{
    QDate d;
    QTime t;
    if (!decode(value, d, t))
        return {};
    return QDateTime(d, t);
}

QString shortDateFormat()
{
    QString format = plainBlanks(QLocale::system().dateFormat(QLocale::ShortFormat));
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    format.replace(twoDigitYear, QStringLiteral("yyyy"));
    return format;
}

QString longTimeFormat()
{
    QString format = plainBlanks(QLocale::system().timeFormat(QLocale::LongFormat));
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    format.remove(zone);
    return format.trimmed();
}

QString shortTimeFormat()
{
    QString format = plainBlanks(QLocale::system().timeFormat(QLocale::ShortFormat));
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    format.remove(zone);
    return format.trimmed();
}

QString dateToStr(double value)
{
    QDate d;
    QTime t;
    if (!decode(value, d, t))
        return {};
    return QLocale::system().toString(d, shortDateFormat());
}

QString timeToStr(double value)
{
    QDate d;
    QTime t;
    if (!decode(value, d, t))
        return {};
    return QLocale::system().toString(t, longTimeFormat());
}

QString dateTimeToStr(double value)
{
    QDate d;
    QTime t;
    if (!decode(value, d, t))
        return {};
    const QLocale locale = QLocale::system();
    QString text = locale.toString(d, shortDateFormat());
    if (t != QTime(0, 0))
        text += QLatin1Char(' ') + locale.toString(t, longTimeFormat());
    return text;
}

std::optional<double> strToDateTime(const QString& text)
{
    const QString trimmed = text.simplified();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QLocale locale = QLocale::system();
    const auto readTime = [&](const QString& part) -> QTime {
        for (const QString& format : {longTimeFormat(), shortTimeFormat()}) {
            const QTime t = locale.toTime(part, format);
            if (t.isValid())
                return t;
        }
        return {};
    };

    const int blank = trimmed.indexOf(QLatin1Char(' '));
    const QString datePart = blank < 0 ? trimmed : trimmed.left(blank);
    const QDate date = locale.toDate(datePart, shortDateFormat());
    if (date.isValid()) {
        if (blank < 0)
            return fromDateTime(date);
        const QTime time = readTime(trimmed.mid(blank + 1));
        if (!time.isValid())
            return std::nullopt;
        return fromDateTime(date, time);
    }
    const QTime time = readTime(trimmed);
    if (!time.isValid())
        return std::nullopt;
    return fromDateTime(epoch(), time);
}

QString formatDateTime(const QString& format, double value)
{
    QDate date;
    QTime time;
    if (!decode(value, date, time))
        return {};
    const QLocale locale = QLocale::system();
    QString out;
    bool afterHour = false;
    int i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        const QChar lower = c.toLower();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int end = format.indexOf(c, i + 1);
            const int stop = end < 0 ? format.size() : end;
            out += format.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (lower == QLatin1Char('d')) {
            const int n = runLength(format, i, QLatin1Char('d'), 6);
            switch (n) {
            case 1:
                out += QString::number(date.day());
                break;
            case 2:
                out += padded(date.day(), 2);
                break;
            case 3:
                out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
                break;
            case 4:
                out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
                break;
            case 5:
                out += locale.toString(date, shortDateFormat());
                break;
            default:
                out += locale.toString(date, longDateFormat());
                break;
            }
            i += n;
            afterHour = false;
        } else if (lower == QLatin1Char('m')) {
            const int n = runLength(format, i, QLatin1Char('m'), 4);
            if (afterHour && n <= 2)
                out += n == 1 ? QString::number(time.minute()) : padded(time.minute(), 2);
            else if (n <= 2)
                out += n == 1 ? QString::number(date.month()) : padded(date.month(), 2);
            else
                out += locale.monthName(date.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            i += n;
            afterHour = false;
        } else if (lower == QLatin1Char('y')) {
            const int n = runLength(format, i, QLatin1Char('y'), 4);
            out += n <= 2 ? padded(date.year() % 100, 2) : padded(date.year(), 4);
            i += n;
            afterHour = false;
        } else if (lower == QLatin1Char('h')) {
            const int n = runLength(format, i, QLatin1Char('h'), 2);
            int hour = time.hour();
            if (twelveHourClockFrom(format, i + n)) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += n == 1 ? QString::number(hour) : padded(hour, 2);
            i += n;
            afterHour = true;
        } else if (lower == QLatin1Char('n') || lower == QLatin1Char('s')) {
            const int n = runLength(format, i, lower, 2);
            const int v = lower == QLatin1Char('n') ? time.minute() : time.second();
            out += n == 1 ? QString::number(v) : padded(v, 2);
            i += n;
            afterHour = false;
        } else if (lower == QLatin1Char('z')) {
            const int n = runLength(format, i, QLatin1Char('z'), 3);
            out += n == 1 ? QString::number(time.msec()) : padded(time.msec(), 3);
            i += n;
            afterHour = false;
        } else if (lower == QLatin1Char('t')) {
            const int n = runLength(format, i, QLatin1Char('t'), 2);
            out += locale.toString(time, n == 1 ? shortTimeFormat() : longTimeFormat());
            i += n;
            afterHour = false;
        } else if (lower == QLatin1Char('c')) {
            out += locale.toString(date, shortDateFormat());
            if (time != QTime(0, 0))
                out += QLatin1Char(' ') + locale.toString(time, longTimeFormat());
            ++i;
            afterHour = false;
        } else if (lower == QLatin1Char('a')) {
            const QStringView rest = QStringView(format).mid(i);
            const bool pm = time.hour() >= 12;
            if (rest.startsWith(u"am/pm", Qt::CaseInsensitive)) {
                out += pm ? rest.mid(3, 2).toString() : rest.left(2).toString();
                i += 5;
            } else if (rest.startsWith(u"a/p", Qt::CaseInsensitive)) {
                out += pm ? rest.mid(2, 1).toString() : rest.left(1).toString();
                i += 3;
            } else if (rest.startsWith(u"ampm", Qt::CaseInsensitive)) {
                out += pm ? locale.pmText() : locale.amText();
                i += 4;
            } else {
                out += c;
                ++i;
            }
            afterHour = false;
        } else if (c == QLatin1Char('/')) {
            out += separatorOf(shortDateFormat(), QLatin1Char('/'));
            ++i;
        } else if (c == QLatin1Char(':')) {
            out += separatorOf(longTimeFormat(), QLatin1Char(':'));
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace toolkitdate
