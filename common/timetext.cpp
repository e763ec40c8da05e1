#include "timetext.h"

#include "dialogservice.h"
#include "numbertext.h"

#include <QString>
#include <charconv>
#include <limits>

namespace timetext {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

struct Split {
    bool negative = false;
    long long whole = 0;
    long long thousandths = 0;  // the first three decimals
};

// Splits "[sign]whole[.fraction]" as the seconds routines read it: a missing whole part or
// fraction is 0, a one-digit fraction counts tenths, two digits hundredths, the rest is cut.
Status split(std::string_view t, Split& out)
{
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        out.negative = t.front() == '-';
        t.remove_prefix(1);
    }
    const auto point = t.find('.');
    std::string_view whole = point == std::string_view::npos ? t : t.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : t.substr(point + 1);
    if (whole.empty() && fraction.empty())
        return Status::NotNumeric;
    for (char c : whole)
        if (!isDigit(c))
            return Status::NotInteger;
    for (char c : fraction)
        if (!isDigit(c))
            return Status::NotInteger;
    if (!whole.empty()) {
        const auto [end, ec] = std::from_chars(whole.data(), whole.data() + whole.size(), out.whole);
        if (ec != std::errc() || end != whole.data() + whole.size() || out.whole > std::numeric_limits<int>::max())
            return Status::OutOfRange;
    }
    fraction = fraction.substr(0, 3);
    long long f = 0;
    for (char c : fraction)
        f = f * 10 + (c - '0');
    if (fraction.size() == 1)
        f *= 100;
    else if (fraction.size() == 2)
        f *= 10;
    out.thousandths = f;
    return Status::Ok;
}

Result finish(long long magnitude, bool negative)
{
    const long long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return {0, Status::OutOfRange};
    return {static_cast<int>(value), Status::Ok};
}

// "%d.%03d" of the whole seconds and the thousandths.
std::string secondsText(std::uint32_t whole, std::uint32_t thousandths)
{
    std::string out = std::to_string(whole) + '.';
    out += static_cast<char>('0' + thousandths / 100);
    out += static_cast<char>('0' + thousandths / 10 % 10);
    out += static_cast<char>('0' + thousandths % 10);
    return out;
}

}  // namespace

std::string msecToSeconds(std::uint32_t milliseconds)
{
    return secondsText(milliseconds / 1000, milliseconds % 1000);
}

std::string samplesToSeconds(std::uint32_t samples)
{
    return secondsText(samples / 60, (samples % 60) * 1000 / 60);
}

Result secondsToMsec(std::string_view text)
{
    const std::string_view t = trimmed(text);
    if (t.empty())
        return {};
    if (!numtext::tryStrToFloat(t))
        return {0, Status::NotNumeric};
    Split s;
    if (const Status status = split(t, s); status != Status::Ok)
        return {0, status};
    return finish(s.whole * 1000 + s.thousandths, s.negative);
}

Result secondsToSamples(std::string_view text)
{
    const std::string_view t = trimmed(text);
    if (t.empty() || !numtext::tryStrToFloat(t))
        return {0, Status::NotNumeric};
    Split s;
    if (const Status status = split(t, s); status != Status::Ok)
        return {0, status};
    return finish(s.whole * 60 + s.thousandths * 60 / 1000, s.negative);
}

int secA2msec(std::string_view text, bool* ok)
{
    const Result r = secondsToMsec(text);
    if (r.status == Status::NotNumeric) {
        const std::string_view t = trimmed(text);
        DialogService::showMessage(QLatin1Char('"') + QString::fromUtf8(t.data(), static_cast<int>(t.size())) +
                                   QStringLiteral("\" is not numeric"));
    }
    if (ok)
        *ok = r.ok();
    return r.value;
}

int secA2samp(std::string_view text, bool* ok)
{
    const Result r = secondsToSamples(text);
    if (ok)
        *ok = r.ok();
    return r.value;
}

}  // namespace timetext
