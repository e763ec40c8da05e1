#include "numbertext.h"

#include <QByteArray>
#include <charconv>
#include <cmath>
#include <limits>

namespace numtext {

namespace {

constexpr std::string_view kBlanks = " \t\n\v\f\r";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view skipLeadingBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// from_chars takes a "-" but no "+": a "+" is dropped, unless another sign follows it.
std::string_view withoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

template <typename T>
std::optional<T> wholeNumber(std::string_view text)
{
    const std::string_view t = withoutPlus(trimmed(text));
    T value{};
    const char* end = t.data() + t.size();
    std::from_chars_result res;
    if constexpr (std::is_floating_point_v<T>)
        res = std::from_chars(t.data(), end, value, std::chars_format::general);
    else
        res = std::from_chars(t.data(), end, value, 10);
    if (t.empty() || res.ec != std::errc() || res.ptr != end)
        return std::nullopt;
    return value;
}

QByteArray latin1Trimmed(const QString& text)
{
    return text.trimmed().toLatin1();
}

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

std::optional<int> tryStrToInt(std::string_view text)
{
    return wholeNumber<int>(text);
}

std::optional<std::int64_t> tryStrToInt64(std::string_view text)
{
    return wholeNumber<std::int64_t>(text);
}

std::optional<double> tryStrToFloat(std::string_view text)
{
    return wholeNumber<double>(text);
}

std::optional<int> tryStrToInt(const QString& text)
{
    return tryStrToInt(view(latin1Trimmed(text)));
}

std::optional<std::int64_t> tryStrToInt64(const QString& text)
{
    return tryStrToInt64(view(latin1Trimmed(text)));
}

std::optional<double> tryStrToFloat(const QString& text)
{
    return tryStrToFloat(view(latin1Trimmed(text)));
}

std::optional<double> tryStrToFiniteFloat(std::string_view text)
{
    const std::optional<double> value = tryStrToFloat(text);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<double> tryStrToFiniteFloat(const QString& text)
{
    return tryStrToFiniteFloat(view(latin1Trimmed(text)));
}

int StrToInt(const std::string& text)
{
    if (const std::optional<int> value = tryStrToInt(text))
        return *value;
    throw ConversionError("'" + text + "' is not a valid integer value");
}

std::int64_t StrToInt64(const std::string& text)
{
    if (const std::optional<std::int64_t> value = tryStrToInt64(text))
        return *value;
    throw ConversionError("'" + text + "' is not a valid integer value");
}

double StrToFloat(const std::string& text)
{
    if (const std::optional<double> value = tryStrToFloat(text))
        return *value;
    throw ConversionError("'" + text + "' is not a valid floating point value");
}

std::int64_t cStrtol(std::string_view text)
{
    std::string_view t = skipLeadingBlanks(text);
    const bool negative = !t.empty() && t[0] == '-';
    if (!t.empty() && (t[0] == '+' || t[0] == '-'))
        t.remove_prefix(1);
    // The magnitude is read unsigned, so that no value, however large, is negated outside its range.
    std::uint64_t magnitude = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), magnitude, 10);
    if (res.ptr == t.data())
        return 0;
    constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
    if (res.ec == std::errc::result_out_of_range || magnitude > kMax + (negative ? 1 : 0))
        return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
}

double cStrtod(std::string_view text)
{
    const std::string_view t = withoutPlus(skipLeadingBlanks(text));
    double value = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Past a double's range the C library answers with an infinity, or 0 for a value too small.
        const std::string_view number = t.substr(0, static_cast<std::size_t>(res.ptr - t.data()));
        const auto e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && number.find('-', e) != std::string_view::npos;
        const double huge = std::numeric_limits<double>::infinity();
        return tiny ? 0.0 : (number[0] == '-' ? -huge : huge);
    }
    return res.ec == std::errc() ? value : 0.0;
}

std::int64_t cStrtol(const QString& text)
{
    return cStrtol(view(text.toLatin1()));
}

double cStrtod(const QString& text)
{
    return cStrtod(view(text.toLatin1()));
}

}  // namespace numtext
