#include "gridfilter.h"

#include "numbertext.h"
#include "toolkitdate.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace gridfilter {

namespace {

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Wildcard match of the whole cell, ASCII letters compared without case; the pattern is upper case.
bool wildcard(std::string_view pattern, std::string_view cell)
{
    std::size_t p = 0, c = 0, starP = std::string_view::npos, starC = 0;
    while (c < cell.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == upper(cell[c]))) {
            ++p;
            ++c;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starC = c;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            c = ++starC;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

int compareText(std::string_view upperOperand, std::string_view cell)
{
    const std::size_t n = std::min(upperOperand.size(), cell.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char a = upper(cell[i]);
        if (a != upperOperand[i])
            return static_cast<unsigned char>(a) < static_cast<unsigned char>(upperOperand[i]) ? -1 : 1;
    }
    if (cell.size() == upperOperand.size())
        return 0;
    return cell.size() < upperOperand.size() ? -1 : 1;
}

template <typename T>
int threeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

std::optional<double> ReadNumber(std::string_view text)
{
    // The toolkit's StrToFloat, a comma standing for the point; no cell number is longer.
    text = trimmed(text);
    char buffer[64];
    if (text.size() > sizeof buffer)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i)
        buffer[i] = text[i] == ',' ? '.' : text[i];
    return numtext::tryStrToFloat(std::string_view(buffer, text.size()));
}

Condition Condition::Parse(const QString& text)
{
    Condition c;
    c.text_ = text;
    const QString all = text.trimmed();
    if (all.isEmpty() || all == "*")
        return c;
    bool everything = false;
    for (const QString& alternative : all.split('^')) {
        Conjunction conj;
        for (QString part : alternative.split('&')) {
            part = part.trimmed();
            if (part.isEmpty())
                continue;
            Term term;
            if (part.startsWith('!')) {
                term.negate = true;
                part = part.mid(1).trimmed();
            }
            static const struct {
                const char* token;
                Op op;
            } ops[] = {{">=", Op::Ge}, {"<=", Op::Le}, {"<>", Op::Ne}, {">", Op::Gt}, {"<", Op::Lt}, {"=", Op::Eq}};
            for (const auto& o : ops)
                if (part.startsWith(QLatin1String(o.token))) {
                    term.op = o.op;
                    part = part.mid(static_cast<int>(qstrlen(o.token))).trimmed();
                    break;
                }
            if (term.op == Op::Eq && (part.contains('*') || part.contains('?')))
                term.op = Op::Match;
            const QByteArray utf8 = part.toUtf8();
            term.number = ReadNumber(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
            if (term.op != Op::Match) {
                term.date = toolkitdate::strToDateTime(part);
                // A short date format with blanks ("d MMM yyyy") is not split into date and time.
                if (!term.date) {
                    const QDate date = QLocale::system().toDate(part, toolkitdate::shortDateFormat());
                    if (date.isValid())
                        term.date = toolkitdate::fromDateTime(date);
                }
            }
            term.text = utf8.toUpper();
            conj.push_back(std::move(term));
        }
        if (conj.empty())
            everything = true;  // an empty alternative ("a ^") holds for every row
        else
            c.any_.push_back(std::move(conj));
    }
    if (everything)
        c.any_.clear();
    return c;
}

bool Condition::TermHolds(const Term& term, std::string_view cell, const double* dateTime)
{
    bool result = false;
    if (term.op == Op::Match) {
        result = wildcard(std::string_view(term.text.constData(), static_cast<std::size_t>(term.text.size())),
                          trimmed(cell));
    } else {
        int order = 0;
        std::optional<double> number;
        if (dateTime && term.date && !std::isnan(*dateTime)) {
            order = threeWay(*dateTime, *term.date);
        } else if (term.number && (number = ReadNumber(cell))) {
            order = threeWay(*number, *term.number);
        } else {
            order = compareText(std::string_view(term.text.constData(), static_cast<std::size_t>(term.text.size())),
                                trimmed(cell));
        }
        switch (term.op) {
        case Op::Eq:
            result = order == 0;
            break;
        case Op::Ne:
            result = order != 0;
            break;
        case Op::Lt:
            result = order < 0;
            break;
        case Op::Le:
            result = order <= 0;
            break;
        case Op::Gt:
            result = order > 0;
            break;
        case Op::Ge:
            result = order >= 0;
            break;
        case Op::Match:
            break;
        }
    }
    return result != term.negate;
}

bool Condition::Matches(std::string_view cell) const
{
    if (any_.empty())
        return true;
    for (const Conjunction& conj : any_) {
        bool all = true;
        for (const Term& term : conj)
            if (!TermHolds(term, cell, nullptr)) {
                all = false;
                break;
            }
        if (all)
            return true;
    }
    return false;
}

bool Condition::Matches(const QString& cell) const
{
    if (any_.empty())
        return true;
    const QByteArray utf8 = cell.toUtf8();
    return Matches(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

bool Condition::MatchesDate(const QString& cell, double dateTime) const
{
    if (any_.empty())
        return true;
    const QByteArray utf8 = cell.toUtf8();
    const std::string_view text(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    for (const Conjunction& conj : any_) {
        bool all = true;
        for (const Term& term : conj)
            if (!TermHolds(term, text, &dateTime)) {
                all = false;
                break;
            }
        if (all)
            return true;
    }
    return false;
}

bool Condition::DateOnly() const
{
    for (const Conjunction& conj : any_)
        for (const Term& term : conj)
            if (term.op == Op::Match || !term.date)
                return false;
    return true;
}

std::optional<DateRange> NamedRange(const QString& name, const QDate& today)
{
    const QDate firstOfMonth(today.year(), today.month(), 1);
    QDate start, end;
    if (name == "Today") {
        start = today;
        end = today.addDays(1);
    } else if (name == "Yesterday") {
        end = today;
        start = today.addDays(-1);
    } else if (name == "This Month") {
        start = firstOfMonth;
        end = today.addDays(1);
    } else if (name == "Last Month") {
        end = firstOfMonth;
        start = firstOfMonth.addMonths(-1);
    } else {
        return std::nullopt;
    }
    return DateRange{toolkitdate::fromDateTime(start), toolkitdate::fromDateTime(end)};
}

DateRange CustomRange(const QDate& first, const QDate& second)
{
    const QDate start = first < second ? first : second;
    const QDate last = first < second ? second : first;
    return DateRange{toolkitdate::fromDateTime(start), toolkitdate::fromDateTime(last.addDays(1))};
}

QString RangeCondition(const DateRange& range)
{
    return ">=" + toolkitdate::dateToStr(range.start) + " & <" + toolkitdate::dateToStr(range.end);
}

}  // namespace gridfilter
