#pragma once

#include <string>

// The toolkit's text-to-number conversions: the whole text, blanks around it allowed, must be
// the number, else ConversionError (database.h) is thrown. The C locale always applies.
namespace toolkitconv {
int StrToInt(const std::string& text);
double StrToFloat(const std::string& text);
}  // namespace toolkitconv
