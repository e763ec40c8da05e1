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

    // 15 significant digits, then read back the digits and the decimal exponent. Grids, files and
    // filters of logged values make this text for every value they touch, so it is built in
    // place, without intermediate strings.
    char sci[40];
    const auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
    const bool negative = sci[0] == '-';
    const char* const ePos = std::find(sci, res.ptr, 'e');
    char digits[20];
    int count = 0;
    for (const char* p = sci + (negative ? 1 : 0); p < ePos; ++p)
        if (*p != '.')
            digits[count++] = *p;
    int exponent = 0;
    std::from_chars(ePos + (ePos[1] == '+' ? 2 : 1), res.ptr, exponent);
    while (count > 1 && digits[count - 1] == '0')
        --count;

    char out[48];
    char* o = out;
    if (negative)
        *o++ = '-';
    if (exponent < -5 || exponent >= 15) {
        *o++ = digits[0];
        if (count > 1) {
            *o++ = decimalSeparator;
            o = std::copy(digits + 1, digits + count, o);
        }
        *o++ = 'E';
        o = std::to_chars(o, out + sizeof out, exponent).ptr;
    } else if (exponent < 0) {
        *o++ = '0';
        *o++ = decimalSeparator;
        o = std::fill_n(o, -exponent - 1, '0');
        o = std::copy(digits, digits + count, o);
    } else {
        const int intDigits = exponent + 1;
        if (count <= intDigits) {
            o = std::copy(digits, digits + count, o);
            o = std::fill_n(o, intDigits - count, '0');
        } else {
            o = std::copy(digits, digits + intDigits, o);
            *o++ = decimalSeparator;
            o = std::copy(digits + intDigits, digits + count, o);
        }
    }
    return std::string(out, o);
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
