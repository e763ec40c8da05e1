#pragma once

#include <cstdint>
#include <string>

// Converts the unit's packed clock (TimestampToken) into the toolkit's date-time, days since
// 30 December 1899 with the time as the fraction. Callers pass the routine in so that the
// parsers stay free of the library that provides it; null gives the date-time 0.
using TokenToDateFn = double (*)(std::uint32_t token);

// The text of one logged value, from its raw little-endian bytes.
class ILogPoint {
public:
    virtual ~ILogPoint() = default;
    virtual std::string Format(const std::uint8_t* bytes) const = 0;
};

class U8LogPoint : public ILogPoint {
public:
    std::string Format(const std::uint8_t* bytes) const override;
};

class U16LogPoint : public ILogPoint {
public:
    std::string Format(const std::uint8_t* bytes) const override;
};

class U32LogPoint : public ILogPoint {
public:
    std::string Format(const std::uint8_t* bytes) const override;
};

// The toolkit's general float text, with the decimal separator of the user's locale.
class FLTLogPoint : public ILogPoint {
public:
    explicit FLTLogPoint(char decimalSeparator = '.') : separator_(decimalSeparator) {}
    std::string Format(const std::uint8_t* bytes) const override;

private:
    char separator_;
};

// The toolkit's general float text of an IEEE single given as its 32 bits.
std::string FloatLogText(std::uint32_t bits, char decimalSeparator);

// The four-byte time stamp that opens every log frame and every event record.
namespace DTLogPoint {
std::uint32_t ToInt(const std::uint8_t* bytes);
double ToDateTime(const std::uint8_t* bytes, TokenToDateFn toDate);
}  // namespace DTLogPoint

// How many bytes a logged value of this register-map type takes. The width is the register
// map's own, so a 32-bit point of any type code keeps every later value of its frame in place;
// a type the map gives no width is read as one byte.
int LogValueWidth(int typeCode);

// The value's text by its register-map type code: 0 float, other four-byte types unsigned
// 32-bit, two-byte types unsigned 16-bit, everything else one unsigned byte.
std::string MakeLogPointText(int typeCode, const std::uint8_t* bytes, char decimalSeparator = '.');
