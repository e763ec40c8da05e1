#pragma once

#include <cstdint>

#include <QtContainerFwd>

// The measurement types of the analyzer's values and their units: 22 types, 274 units. Each unit
// knows its size in its type's base unit as the product of two factors (the base unit's factors
// are both 1), so a conversion is value x from-factors / to-factors.
namespace measurement {

constexpr int kTypeCount = 22;
constexpr int kTemperature = 11;
constexpr int kRealTimeClock = 21;

struct Unit {
    const char* name;
    double factor1;
    double factor2;
    bool metric;  // kept with the table; nothing reads it
};

struct Type {
    const char* name;
    const Unit* units;
    int unitCount;
};

// Null for an index outside 0..21.
const Type* type(int index);
// Null when the type or the unit index is out of range.
const Unit* unit(int typeIndex, int unitIndex);

// value converted between two units of one type. Temperatures convert through Celsius by their
// formulas (an unknown to-unit gives the value unchanged, an unknown from-unit reads the value
// as Celsius); real-time clock units never change the value; anything else the table does not
// hold gives NaN.
double convert(int typeIndex, int fromUnit, int toUnit, double value);

// "unknown type" / "unknown units" for indexes the table does not hold. Static texts.
const char* typeName(unsigned typeIndex);
const char* unitName(unsigned typeIndex, unsigned unitIndex);

// Clear list, then fill it; see panekit_api.h.
int typeDescriptions(QStringList& list);
int unitDescriptions(int typeIndex, QStringList& list);

}  // namespace measurement
