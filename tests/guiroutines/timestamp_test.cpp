#include "timestamptoken.h"
#include "toolkitdate.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <limits>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

double dt(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return toolkitdate::fromDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

QString shown(double value)
{
    return toolkitdate::toQDateTime(value).toString("yyyy-MM-dd HH:mm:ss.zzz");
}

}  // namespace

TEST(ToolkitDate, DayCountFromTheToolkitEpoch)
{
    EXPECT_EQ(dt(1899, 12, 30), 0.0);
    EXPECT_EQ(dt(1900, 1, 1, 12), 2.5);
    EXPECT_EQ(dt(2012, 3, 7), 40975.0);
    // Before the epoch the fraction still counts forward within the day.
    EXPECT_EQ(dt(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(shown(-1.25), "1899-12-29 06:00:00.000");
    EXPECT_EQ(shown(40975.5), "2012-03-07 12:00:00.000");
    // A hair below midnight is midnight, not 23:59:59.999.
    EXPECT_EQ(shown(40976.0 - 1e-10), "2012-03-08 00:00:00.000");
    EXPECT_TRUE(std::isnan(toolkitdate::fromDateTime(QDate())));
    EXPECT_FALSE(toolkitdate::toQDateTime(std::numeric_limits<double>::quiet_NaN()).isValid());
    EXPECT_FALSE(toolkitdate::toQDateTime(1e12).isValid());
}

TEST(ToolkitDate, RoundTripsThroughQDateTime)
{
    for (const QDateTime& d :
         {QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QDateTime(QDate(2063, 12, 31), QTime(23, 59, 59)),
          QDateTime(QDate(1999, 2, 28), QTime(13, 14, 15, 678)), QDateTime(QDate(1850, 6, 1), QTime(18, 0, 0, 1))}) {
        const double v = toolkitdate::fromQDateTime(d);
        EXPECT_EQ(toolkitdate::toQDate(v), d.date());
        EXPECT_EQ(toolkitdate::toQTime(v), d.time()) << v;
    }
}

TEST(ToolkitDate, LocaleTextsUseAFourDigitYearAndNoZone)
{
    ASSERT_EQ(QLocale::system().name(), "en_US") << "the tests run with LANG=en_US.UTF-8";
    EXPECT_EQ(toolkitdate::shortDateFormat(), "M/d/yyyy");
    EXPECT_EQ(toolkitdate::longTimeFormat(), "h:mm:ss AP");
    const double v = dt(2012, 3, 7, 14, 5, 9);
    EXPECT_EQ(toolkitdate::dateTimeToStr(v), "3/7/2012 2:05:09 PM");
    EXPECT_EQ(toolkitdate::dateTimeToStr(dt(2012, 3, 7)), "3/7/2012");  // midnight: no time
    EXPECT_EQ(toolkitdate::dateToStr(v), "3/7/2012");
    EXPECT_EQ(toolkitdate::timeToStr(v), "2:05:09 PM");

    // What is written reads back to the same date-time.
    for (const double value : {v, dt(2012, 3, 7), dt(1999, 12, 31, 0, 0, 1), dt(2040, 7, 4, 12, 0, 0)})
        EXPECT_EQ(toolkitdate::strToDateTime(toolkitdate::dateTimeToStr(value)), value)
            << toolkitdate::dateTimeToStr(value).toStdString();
    EXPECT_EQ(toolkitdate::strToDateTime("2:05:09 PM"), dt(1899, 12, 30, 14, 5, 9));
    EXPECT_FALSE(toolkitdate::strToDateTime("31/12/2012").has_value());
    EXPECT_FALSE(toolkitdate::strToDateTime("").has_value());
    EXPECT_FALSE(toolkitdate::strToDateTime("3/7/2012 25:00:00 PM").has_value());
}

TEST(ToolkitDate, FormatDateTimeSpecifiers)
{
    const double pm = dt(2012, 3, 7, 14, 5, 9, 42);
    const double am = dt(2012, 11, 17, 0, 30, 0);
    struct Case {
        const char* format;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"mmmm d, yyyy h:nn:ss ampm", pm, "March 7, 2012 2:05:09 PM"},
        {"mmmm d, yyyy h:nn:ss ampm", am, "November 17, 2012 12:30:00 AM"},
        {"dd/mm/yy hh:mm:ss.zzz", pm, "07/03/12 14:05:09.042"},
        {"h:m am/pm A/P", pm, "2:5 pm P"},
        {"ddd dddd mmm", pm, "Wed Wednesday Mar"},
        {"yyyy-mm-dd 'at' hh\"h\"nn", pm, "2012-03-07 at 14h05"},
        {"c", pm, "3/7/2012 2:05:09 PM"},
        {"c", dt(2012, 3, 7), "3/7/2012"},
        {"ddddd t", pm, "3/7/2012 2:05 PM"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toolkitdate::formatDateTime(c.format, c.value), c.text) << c.format;
    EXPECT_TRUE(toolkitdate::formatDateTime("yyyy", std::numeric_limits<double>::infinity()).isEmpty());
}

TEST(TimestampToken, PacksAndUnpacks)
{
    const double v = dt(2012, 3, 7, 14, 5, 9);
    ASSERT_EQ(timestamp::fromDateTime(v), 818864457u);
    EXPECT_EQ(818864457u, 0x30CEE149u);
    EXPECT_EQ(timestamp::toDateTime(818864457u), v);
    // Milliseconds are dropped, not rounded.
    EXPECT_EQ(timestamp::fromDateTime(dt(2012, 3, 7, 14, 5, 9, 999)), 818864457u);

    struct Edge {
        QDate date;
        QTime time;
    };
    const Edge edges[] = {
        {QDate(2000, 1, 1), QTime(0, 0, 0)},      {QDate(2063, 12, 31), QTime(23, 59, 59)},
        {QDate(2024, 2, 29), QTime(12, 0, 0)},    {QDate(2038, 1, 19), QTime(3, 14, 8)},
        {QDate(2001, 12, 31), QTime(23, 59, 59)},
    };
    for (const auto& e : edges) {
        const auto token = timestamp::fromDateAndTime(e.date, e.time);
        ASSERT_TRUE(token.has_value()) << e.date.toString().toStdString();
        EXPECT_EQ(timestamp::toDateTime(*token), toolkitdate::fromDateTime(e.date, e.time));
        const auto f = timestamp::unpack(*token);
        EXPECT_EQ(f.year, e.date.year());
        EXPECT_EQ(f.second, e.time.second());
    }
    EXPECT_EQ(timestamp::fromDateAndTime(QDate(2063, 12, 31), QTime(23, 59, 59)), 0xFF3F7EFBu);
}

TEST(TimestampToken, RepairsMonthAndDayZeroAndRejectsImpossibleDates)
{
    const auto token = [](unsigned year, unsigned month, unsigned day, unsigned h, unsigned m, unsigned s) {
        return static_cast<timestamp::TimestampToken>((year - 2000) << 26 | month << 22 | day << 17 | h << 12 | m << 6 |
                                                      s);
    };
    EXPECT_EQ(timestamp::toDateTime(0), dt(2000, 1, 1));
    EXPECT_EQ(timestamp::toDateTime(token(2015, 14, 3, 1, 2, 3)), dt(2015, 1, 3, 1, 2, 3));
    EXPECT_EQ(timestamp::toDateTime(token(2015, 13, 0, 0, 0, 0)), dt(2015, 1, 1));
    EXPECT_EQ(timestamp::toDateTime(token(2015, 4, 31, 0, 0, 0)), 0.0);
    EXPECT_EQ(timestamp::toDateTime(token(2015, 2, 29, 0, 0, 0)), 0.0);
    EXPECT_EQ(timestamp::toDateTime(token(2016, 2, 29, 0, 0, 0)), dt(2016, 2, 29));
    EXPECT_EQ(timestamp::toDateTime(token(2015, 5, 5, 24, 0, 0)), 0.0);
    EXPECT_EQ(timestamp::toDateTime(token(2015, 5, 5, 25, 0, 0)), 0.0);
    EXPECT_EQ(timestamp::toDateTime(token(2015, 5, 5, 1, 60, 0)), 0.0);
    EXPECT_EQ(timestamp::toDateTime(token(2015, 5, 5, 1, 0, 63)), 0.0);
    EXPECT_EQ(timestamp::toDateTime(0xFFFFFFFFu), 0.0);
}

TEST(TimestampToken, RefusesYearsTheTokenCannotHold)
{
    // 1999 would wrap to a year field of 63 and read back as 2063; 2064 would read as 2000.
    EXPECT_FALSE(timestamp::fromDateTime(dt(1999, 12, 31, 23, 59, 59)).has_value());
    EXPECT_FALSE(timestamp::fromDateTime(dt(2064, 1, 1)).has_value());
    EXPECT_FALSE(timestamp::fromDateTime(0.0).has_value());
    EXPECT_FALSE(timestamp::fromDateTime(-5.5).has_value());
    EXPECT_FALSE(timestamp::fromDateTime(std::numeric_limits<double>::quiet_NaN()).has_value());
    // The last moment of 2063 is held; a hair below 2064 is 2064 (the value is read to the millisecond).
    EXPECT_TRUE(timestamp::fromDateTime(dt(2063, 12, 31, 23, 59, 59, 999)).has_value());
    EXPECT_FALSE(timestamp::fromDateTime(dt(2064, 1, 1) - 1e-9).has_value());
    EXPECT_TRUE(timestamp::fromDateTime(dt(2000, 1, 1)).has_value());
}
