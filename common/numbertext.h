#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Numbers read from texts: the unit's value texts, what the user types, the numbers of files.
// Every reading follows one of two rules, each stated here once. Neither depends on the process
// locale: the decimal separator is always the point.
//
// The toolkit's conversions (StrToInt, StrToInt64, StrToFloat) take a whole text:
//   - blanks around the number are allowed (space, tab, line breaks: " \t\n\v\f\r"; a QString
//     also loses the other white space Qt knows, as QString::trimmed);
//   - one sign, "+" or "-", may lead ("+-1" and "--1" are no numbers);
//   - an integer is decimal digits only ("$1F", "0x1F", "1.0" and "1e3" are no integers) within
//     the type's range: 32 bits for StrToInt, 64 for StrToInt64;
//   - a float is digits with at most one decimal point (".5" and "5." are numbers), then an
//     optional exponent ("1e3", "1E-3"); "INF", "-INF" and "NAN" (any case) are the toolkit's texts
//     of the values that are no finite number; beyond the range of a double is no number;
//   - anything else after the number, the empty text and a lone sign are no number.
//
// The C library's readings (strtol, strtod, in the C locale) take the number that leads a text:
// leading blanks are skipped, then one sign and the longest number there is; what follows is
// ignored, and a text that does not begin with a number reads as 0. Integers are decimal and
// widened to 64 bits (callers truncate to their width, so every unsigned 32-bit value survives its
// own text); one beyond 64 bits is held at the limit. A float beyond a double's range reads as an
// infinity, one too small as 0.
namespace numtext {

// The toolkit's conversion error: a text that is not the number asked for.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The toolkit's conversions as a test: nothing when the text is no number by the rules above.
std::optional<int> tryStrToInt(std::string_view text);
std::optional<std::int64_t> tryStrToInt64(std::string_view text);
std::optional<double> tryStrToFloat(std::string_view text);
std::optional<int> tryStrToInt(const QString& text);
std::optional<std::int64_t> tryStrToInt64(const QString& text);
std::optional<double> tryStrToFloat(const QString& text);

// StrToFloat for a value that must be measurable: infinities and NaN are refused too.
std::optional<double> tryStrToFiniteFloat(std::string_view text);
std::optional<double> tryStrToFiniteFloat(const QString& text);

// The toolkit's conversions as the toolkit raises them: ConversionError ("'12a' is not a valid
// integer value", "'x' is not a valid floating point value") for a text that is no number.
int StrToInt(const std::string& text);
std::int64_t StrToInt64(const std::string& text);
double StrToFloat(const std::string& text);

// The C library's strtol (widened to 64 bits) and strtod of the number leading the text.
std::int64_t cStrtol(std::string_view text);
double cStrtod(std::string_view text);
std::int64_t cStrtol(const QString& text);
double cStrtod(const QString& text);

// A literal is read as the 8-bit text it is.
inline std::optional<int> tryStrToInt(const char* text)
{
    return tryStrToInt(std::string_view(text));
}
inline std::optional<std::int64_t> tryStrToInt64(const char* text)
{
    return tryStrToInt64(std::string_view(text));
}
inline std::optional<double> tryStrToFloat(const char* text)
{
    return tryStrToFloat(std::string_view(text));
}
inline std::optional<double> tryStrToFiniteFloat(const char* text)
{
    return tryStrToFiniteFloat(std::string_view(text));
}
inline std::int64_t cStrtol(const char* text)
{
    return cStrtol(std::string_view(text));
}
inline double cStrtod(const char* text)
{
    return cStrtod(std::string_view(text));
}

}  // namespace numtext
