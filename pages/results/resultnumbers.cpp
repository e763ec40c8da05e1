#include "resultnumbers.h"

#include "floatformat.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <string>

namespace resultnum {

QString formatMasked(const QString& mask, double value, QChar decimalSeparator)
{
    const int point = mask.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : mask.size() - point - 1;
    if (!std::isfinite(value))
        return QString::fromStdString(floatfmt::toolkitText(value));

    // The value's 15 significant digits and its decimal exponent.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    const auto ePos = sci.find('e');
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i)
        if (sci[i] != '.')
            digits += sci[i];
    int exponent = 0;
    std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);
    if (value == 0)
        exponent = 0;

    // digits[i] has the weight 10^(exponent - i); keep those down to 10^-decimals.
    const int keep = exponent + 1 + decimals;
    std::string kept;  // the kept digits, most significant first
    int topWeight = exponent;
    if (keep <= 0) {
        kept = (keep == 0 && digits[0] >= '5') ? "1" : "0";
        topWeight = -decimals;
    } else {
        kept = digits.substr(0, std::min<std::size_t>(static_cast<std::size_t>(keep), digits.size()));
        kept.append(static_cast<std::size_t>(keep) - kept.size(), '0');
        if (static_cast<std::size_t>(keep) < digits.size() && digits[static_cast<std::size_t>(keep)] >= '5') {
            int i = static_cast<int>(kept.size()) - 1;
            while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
                kept[static_cast<std::size_t>(i--)] = '0';
            if (i < 0) {
                kept.insert(kept.begin(), '1');
                ++topWeight;
            } else {
                ++kept[static_cast<std::size_t>(i)];
            }
        }
    }

    // Spread the kept digits over the integer part and the decimals.
    std::string intPart;
    std::string fracPart(static_cast<std::size_t>(decimals), '0');
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const int weight = topWeight - static_cast<int>(i);
        if (weight >= 0)
            intPart += kept[i];
        else if (-weight <= decimals)
            fracPart[static_cast<std::size_t>(-weight - 1)] = kept[i];
    }
    if (topWeight < 0)
        intPart = "0";
    const auto firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);

    const bool allZero = intPart == "0" && fracPart.find_first_not_of('0') == std::string::npos;
    QString out;
    if (value < 0 && !allZero)
        out += QLatin1Char('-');
    out += QString::fromLatin1(intPart.c_str());
    if (decimals > 0) {
        out += decimalSeparator;
        out += QString::fromLatin1(fracPart.c_str());
    }
    return out;
}

QString formatMasked(const QString& mask, double value)
{
    const QString sep = QLocale::system().decimalPoint();
    return formatMasked(mask, value, sep.isEmpty() ? QLatin1Char('.') : sep.at(0));
}

}  // namespace resultnum
