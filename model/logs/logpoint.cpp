#include "logpoint.h"

#include "floatformat.h"
#include "ridovaz.h"

#include <cstring>

namespace {
std::uint16_t readU16(const std::uint8_t* b)
{
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}
}  // namespace

std::string U8LogPoint::Format(const std::uint8_t* bytes) const
{
    return std::to_string(bytes[0]);
}

std::string U16LogPoint::Format(const std::uint8_t* bytes) const
{
    return std::to_string(readU16(bytes));
}

std::string U32LogPoint::Format(const std::uint8_t* bytes) const
{
    return std::to_string(DTLogPoint::ToInt(bytes));
}

std::string FLTLogPoint::Format(const std::uint8_t* bytes) const
{
    return FloatLogText(DTLogPoint::ToInt(bytes), separator_);
}

std::string FloatLogText(std::uint32_t bits, char decimalSeparator)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return floatfmt::toolkitText(static_cast<double>(value), decimalSeparator);
}

std::uint32_t DTLogPoint::ToInt(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

double DTLogPoint::ToDateTime(const std::uint8_t* bytes, TokenToDateFn toDate)
{
    return toDate ? toDate(ToInt(bytes)) : 0.0;
}

int LogValueWidth(int typeCode)
{
    const int width = ridovaz::valueSize(typeCode);
    return width > 0 ? width : 1;
}

std::string MakeLogPointText(int typeCode, const std::uint8_t* bytes, char decimalSeparator)
{
    if (typeCode == 0)
        return FLTLogPoint(decimalSeparator).Format(bytes);
    switch (LogValueWidth(typeCode)) {
    case 4:
        return U32LogPoint().Format(bytes);
    case 2:
        return U16LogPoint().Format(bytes);
    default:
        return U8LogPoint().Format(bytes);
    }
}
