#pragma once

#include <string>

// The text held in a fixed character field of the unit's records: the bytes before the first
// zero byte, the first byte above 0xB0 or maxLength bytes, whichever comes first, without
// trailing blanks (any byte up to 0x20). Nothing is read past the first zero byte. Empty for a
// null field or a length below 1.
std::string charArrayText(const char* data, int maxLength);
