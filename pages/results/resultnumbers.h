#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// How the results pages read the value texts their points deliver and format what they show.
namespace resultnum {

// The toolkit's float formatting with a mask of the form "0", "0.0", "0.00", ...: as many
// decimals as the mask has zeros after its point, rounded half away from zero on the value's
// 15 significant digits, the locale's decimal separator, no thousands separator; a value that
// rounds to zero shows no minus sign.
QString formatMasked(const QString& mask, double value, QChar decimalSeparator);
// The same with the system locale's decimal separator.
QString formatMasked(const QString& mask, double value);

}  // namespace resultnum
