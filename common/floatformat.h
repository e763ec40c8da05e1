#pragma once

#include <string>

namespace floatfmt {

// The toolkit's general float text: 15 significant digits, fixed notation from 1e-5 up to
// below 1e15, otherwise mantissa "E" exponent (no "+", no leading zeros); "NAN", "INF", "-INF".
std::string toolkitText(double value, char decimalSeparator = '.');

// False when the float's exponent field is 0xFE or 0xFF: infinities, NaNs and magnitudes
// from 2^127 up are not values the unit sends.
bool isValidFlt(float value);

// A float's text with a precision chosen by its magnitude; "NAN" for an invalid value.
std::string formatFlt(float value);

// printf-style formatting that ignores the process locale.
std::string cFormat(const char* format, double value);

}  // namespace floatfmt
