#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// How the results pages read the value texts their points deliver and format what they show.
namespace resultnum {

// The C library's text-to-double reading (strtod) in the C locale, whatever the process locale:
// leading blanks skipped, then the longest leading number ("12,5" reads 12); 0 when the text does
// not begin with a number.
double leadingNumber(const QString& text);

// A whole decimal integer, blanks around it allowed; nothing when the text is anything else.
std::optional<std::int64_t> wholeInteger(const QString& text);

// The toolkit's float formatting with a mask of the form "0", "0.0", "0.00", ...: as many
// decimals as the mask has zeros after its point, rounded half away from zero on the value's
// 15 significant digits, the locale's decimal separator, no thousands separator; a value that
// rounds to zero shows no minus sign.
QString formatMasked(const QString& mask, double value, QChar decimalSeparator);
// The same with the system locale's decimal separator.
QString formatMasked(const QString& mask, double value);

}  // namespace resultnum
