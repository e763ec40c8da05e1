#include "toolkitconvert.h"

#include "database.h"

#include <charconv>

namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

namespace toolkitconv {

int StrToInt(const std::string& text)
{
    const std::string t = trimmed(text);
    const char* begin = t.data() + (!t.empty() && t[0] == '+' ? 1 : 0);
    int value = 0;
    const auto res = std::from_chars(begin, t.data() + t.size(), value);
    if (t.empty() || res.ec != std::errc() || res.ptr != t.data() + t.size())
        throw ConversionError("'" + text + "' is not a valid integer value");
    return value;
}

double StrToFloat(const std::string& text)
{
    const std::string t = trimmed(text);
    const char* begin = t.data() + (!t.empty() && t[0] == '+' ? 1 : 0);
    double value = 0;
    const auto res = std::from_chars(begin, t.data() + t.size(), value, std::chars_format::general);
    if (t.empty() || res.ec != std::errc() || res.ptr != t.data() + t.size())
        throw ConversionError("'" + text + "' is not a valid floating point value");
    return value;
}

}  // namespace toolkitconv
