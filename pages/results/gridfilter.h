#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

// The conditions the log grids filter their columns by, as typed at the prompt
// "Set Filter (<,>,=,*,&,^)" or built from a date range:
//   *            every row (also the empty condition)
//   >x <x >=x <=x =x <>x
//                compares with x: as date-times when the column holds date-times and x reads as
//                one, as numbers when both sides read as numbers (a point or a comma as decimal
//                mark), else as texts ignoring letter case
//   text         the whole cell matches the text, where * stands for any run of characters and
//                ? for one (letter case ignored)
//   !term        the term does not hold
//   a & b        both hold; a ^ b: either holds (& binds tighter than ^)
// Parsing never fails: what is not an operator is text to match.
namespace gridfilter {

class Condition {
public:
    Condition() = default;
    static Condition Parse(const QString& text);

    bool IsAll() const { return any_.empty(); }
    const QString& Text() const { return text_; }

    // A cell of a text or number column, in UTF-8.
    bool Matches(std::string_view cell) const;
    bool Matches(const QString& cell) const;
    // A cell of a date-time column: its text (for the text and wildcard terms) and its value.
    bool MatchesDate(const QString& cell, double dateTime) const;
    // True when every term compares with a date-time: a date-time cell's text is then not needed.
    bool DateOnly() const;

private:
    enum class Op { Match, Eq, Ne, Lt, Le, Gt, Ge };
    struct Term {
        Op op = Op::Match;
        bool negate = false;
        QByteArray text;               // upper-cased UTF-8 operand
        std::optional<double> number;  // the operand as a number
        std::optional<double> date;    // the operand as a date-time
    };
    using Conjunction = std::vector<Term>;

    static bool TermHolds(const Term& term, std::string_view cell, const double* dateTime);

    QString text_;
    std::vector<Conjunction> any_;  // empty: every row
};

// A number read from a cell or an operand: blanks around it ignored, '.' or ',' as decimal mark.
std::optional<double> ReadNumber(std::string_view text);

// A half-open range of date-times: start <= t < end.
struct DateRange {
    double start = 0;
    double end = 0;
};

// "Today", "Yesterday", "This Month" and "Last Month" relative to today; nothing for other names.
std::optional<DateRange> NamedRange(const QString& name, const QDate& today);
// From the earlier of two days to the end of the later one (the same day twice is that day).
DateRange CustomRange(const QDate& first, const QDate& second);
// ">=" start " & <" end, the dates in the locale's short date format: the whole first day is in,
// the day after the range is out.
QString RangeCondition(const DateRange& range);

}  // namespace gridfilter
