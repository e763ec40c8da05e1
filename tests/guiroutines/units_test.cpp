#include "panekitlib.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <cmath>

namespace {

double convert(int type, int from, int to, float value)
{
    return panekitEntry<PanekitUnitConvertFn>("UnitConvert")(static_cast<signed char>(type), from, to, value);
}

QStringList unitsOf(int type)
{
    QStringList list{"stale"};
    panekitEntry<PanekitGetUnitDescriptionsFn>("GetUnitDescriptions")(static_cast<signed char>(type), &list);
    return list;
}

const char* unitName(int type, int unit)
{
    return panekitEntry<PanekitGetUnitsDescFn>("GetUnitsDesc")(static_cast<std::uint16_t>(type | unit << 8));
}

}  // namespace

TEST(MeasurementUnits, TypesAndUnitNames)
{
    QStringList types{"stale"};
    EXPECT_EQ(panekitEntry<PanekitGetDUTDescriptionsFn>("GetDUTDescriptions")(&types), 22);
    ASSERT_EQ(types.size(), 22);
    EXPECT_EQ(types.first(), "Scalar");
    EXPECT_EQ(types[6], "Mass && Weight");
    EXPECT_EQ(types[19], "<Do not use>");
    EXPECT_EQ(types.last(), "Real Time Clock (RTC)");

    const auto typeName = panekitEntry<PanekitGetDUTDescFn>("GetDUTDesc");
    EXPECT_STREQ(typeName(11), "Temperature");
    EXPECT_STREQ(typeName(22), "unknown type");
    EXPECT_STREQ(typeName(255), "unknown type");

    const int counts[22] = {0, 5, 15, 15, 4, 38, 32, 6, 14, 27, 24, 4, 9, 4, 17, 42, 6, 0, 0, 0, 0, 12};
    int total = 0;
    for (int type = 0; type < 22; ++type) {
        const QStringList units = unitsOf(type);
        EXPECT_EQ(units.size(), counts[type]) << type;  // cleared first, then filled
        total += static_cast<int>(units.size());
        for (int u = 0; u < units.size(); ++u) {
            EXPECT_EQ(units[u], unitName(type, u));
            EXPECT_LT(units[u].size(), 64);
        }
        EXPECT_STREQ(unitName(type, counts[type]), "unknown units");
    }
    EXPECT_EQ(total, 274);
    EXPECT_TRUE(unitsOf(-1).isEmpty());
    EXPECT_TRUE(unitsOf(22).isEmpty());
    EXPECT_EQ(panekitEntry<PanekitGetUnitDescriptionsFn>("GetUnitDescriptions")(0, nullptr), 0);
    EXPECT_STREQ(unitName(22, 0), "unknown units");

    // Names exactly as the stored settings know them.
    EXPECT_STREQ(unitName(5, 35), "Rods (surveyors''meas.)");
    EXPECT_STREQ(unitName(10, 21), "Miner''s inches");
    EXPECT_STREQ(unitName(11, 1), "Degrees Farenheit");
    EXPECT_STREQ(unitName(6, 6), "Daitons");
    EXPECT_STREQ(unitName(12, 8), "Samples (60 per second)");
    EXPECT_STREQ(unitName(21, 11), "Day of Week");
}

TEST(MeasurementUnits, TemperaturesUseThePhysicalOffsets)
{
    struct Case {
        int from, to;
        float value;
        double expected;
    };
    const Case
        cases[] =
            {
                {1, 0, 212, 100},        {0, 1, 100, 212},     {0, 2, 0, 273.15},  {2, 0, 273.15f, 0},
                {0, 3, 100, 671.67},     {3, 0, 671.67f, 100}, {2, 1, 0, -459.67}, {1, 2, -459.67f, 0},
                {3, 2, 491.67f, 273.15}, {2, 3, 0, 0},         {1, 3, 32, 491.67}, {3, 3, 500, 500},
                {0, 9, 37, 37},    // an unknown unit to convert to leaves the value as it was
                {9, 1, 100, 212},  // an unknown unit to convert from is read as Celsius
            };
    for (const auto& c : cases)
        EXPECT_NEAR(convert(11, c.from, c.to, c.value), c.expected, 1e-4) << c.from << "->" << c.to << " " << c.value;
}

TEST(MeasurementUnits, ReferenceValues)
{
    struct Case {
        int type, from, to;
        float value;
        double expected;
    };
    const Case cases[] = {
        {1, 4, 0, 1, 0.44704},        // mi/h/s -> m/s^2
        {2, 2, 0, 1, 4046.8564224},   // acre -> m^2
        {2, 7, 2, 1, 640},            // square mile -> acres
        {3, 0, 1, 1, 1055.05585262},  // Btu -> J
        {3, 6, 0, 1, 3412.14163},     // kWh -> Btu
        {4, 0, 1, 1, 10.7639104},     // foot-candle -> lux
        {5, 23, 16, 1, 1.609344},     // mile -> km
        {5, 29, 4, 1, 6076.11549},    // nautical mile -> ft
        {6, 2, 0, 1, 453.59237},      // lb -> g
        {6, 29, 1, 1, 1016.0469088},  // long ton -> kg
        {6, 21, 0, 1, 101.971621},    // newton -> gram-weight
        {7, 4, 0, 1, 10000},          // percent -> ppm
        {8, 0, 3, 1, 745.699872},     // hp -> W
        {8, 0, 1, 1, 1.01386967},     // hp -> metric hp
        {9, 0, 26, 1, 760},           // atm -> Torr
        {9, 0, 23, 1, 14.6959488},    // atm -> psi
        {9, 1, 19, 1, 1000},          // bar -> mbar
        {9, 23, 19, 1, 68.9475729},   // psi -> mbar
        {10, 6, 16, 1, 448.831169},   // ft^3/s -> US gal/min
        {10, 9, 11, 1, 3600},         // m^3/s -> m^3/h
        {12, 1, 0, 2, 120},           // minutes -> s
        {12, 8, 0, 60, 1.0000002},    // 60 samples -> s (the table's 0.01666667)
        {13, 0, 3, 1, 0.138254954},   // ft*lbf -> kgf*m
        {14, 12, 11, 1, 1.852},       // knot -> km/h
        {14, 0, 11, 1, 3.6},          // m/s -> km/h
        {15, 3, 2, 1, 1.20094993},    // imperial -> US gallon
        {15, 2, 16, 1, 231},          // US gallon -> in^3
        {15, 7, 2, 1, 31.5},          // US liquid barrel -> US gal
        {16, 2, 0, 1, 62.4279606},    // g/cm^3 -> lb/ft^3
        {16, 1, 0, 1, 1728},          // lb/in^3 -> lb/ft^3
    };
    for (const auto& c : cases) {
        const double got = convert(c.type, c.from, c.to, c.value);
        EXPECT_NEAR(got, c.expected, std::fabs(c.expected) * 1e-7)
            << unitName(c.type, c.from) << " -> " << unitName(c.type, c.to);
    }
}

TEST(MeasurementUnits, EveryConversionReturnsBothWays)
{
    // One unit of each kind there and back again, for every pair of units of every type with a
    // scale (temperatures and clock units have their own tests).
    for (int type = 1; type < 21; ++type) {
        if (type == 11)
            continue;
        const int count = static_cast<int>(unitsOf(type).size());
        for (int from = 0; from < count; ++from)
            for (int to = 0; to < count; ++to) {
                const double there = convert(type, from, to, 1.0f);
                ASSERT_TRUE(std::isfinite(there) && there > 0) << unitName(type, from) << " -> " << unitName(type, to);
                EXPECT_NEAR(there * convert(type, to, from, 1.0f), 1.0, 1e-12)
                    << unitName(type, from) << " <-> " << unitName(type, to);
            }
    }
}

TEST(MeasurementUnits, RealTimeClockKeepsTheValueAndUnknownUnitsGiveNaN)
{
    for (int from : {0, 5, 11, 40})
        for (int to : {0, 7, 11, -2})
            EXPECT_EQ(convert(21, from, to, 20240315.f), static_cast<double>(20240315.f));
    EXPECT_TRUE(std::isnan(convert(0, 0, 0, 1)));
    EXPECT_TRUE(std::isnan(convert(5, 0, 38, 1)));
    EXPECT_TRUE(std::isnan(convert(5, -1, 0, 1)));
    EXPECT_TRUE(std::isnan(convert(22, 0, 0, 1)));
    EXPECT_TRUE(std::isnan(convert(-3, 0, 0, 1)));
    EXPECT_TRUE(std::isnan(convert(17, 0, 0, 1)));
}
