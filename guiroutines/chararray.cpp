#include "chararray.h"

std::string charArrayText(const char* data, int maxLength)
{
    if (!data || maxLength < 1)
        return {};
    int length = 0;
    while (length < maxLength) {
        const auto byte = static_cast<unsigned char>(data[length]);
        if (byte == 0 || byte > 0xB0)
            break;
        ++length;
    }
    while (length > 0 && static_cast<unsigned char>(data[length - 1]) <= ' ')
        --length;
    return std::string(data, static_cast<std::size_t>(length));
}
