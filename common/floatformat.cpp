#include "floatformat.h"

#include <locale.h>
#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace floatfmt {

std::string toolkitText(double value, char decimalSeparator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    // 15 significant digits, then read back the digits and the decimal exponent.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string sci(buf, res.ptr);
    const auto ePos = sci.find('e');
    const bool negative = sci[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i)
        if (sci[i] != '.')
            digits += sci[i];
    int exponent = 0;
    std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -5 || exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1) {
            out += decimalSeparator;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
        return out;
    }
    if (exponent < 0) {
        out += '0';
        out += decimalSeparator;
        out += std::string(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const auto intDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
        out += digits + std::string(intDigits - digits.size(), '0');
    } else {
        out += digits.substr(0, intDigits);
        out += decimalSeparator;
        out += digits.substr(intDigits);
    }
    return out;
}

bool isValidFlt(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint32_t exponentField = (bits >> 23) & 0xFF;
    return exponentField != 0xFE && exponentField != 0xFF;
}

std::string cFormat(const char* format, double value)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const locale_t previous = uselocale(cLocale);
    char buf[400];
    const int n = std::snprintf(buf, sizeof buf, format, value);
    uselocale(previous);
    if (n < 0)
        return {};
    return std::string(buf, static_cast<std::size_t>(std::min<int>(n, sizeof buf - 1)));
}

std::string formatFlt(float value)
{
    if (!isValidFlt(value))
        return "NAN";
    const double v = value;
    const double magnitude = std::fabs(v);
    const char* format = magnitude > 100  ? "%.2f"
                         : magnitude > 10 ? "%.3f"
                         : magnitude > 1  ? "%.4f"
                         : magnitude > 0  ? "%.5f"
                                          : "%.6g";
    return cFormat(format, v);
}

}  // namespace floatfmt
