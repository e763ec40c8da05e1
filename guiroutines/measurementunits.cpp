#include "measurementunits.h"

#include <QStringList>
#include <cmath>
#include <iterator>
#include <limits>

// Sources of the factors (each unit's size in its type's base unit):
// - exact definitions: the international foot 0.3048 m and pound 0.45359237 kg (1959 agreement),
//   the U.S. gallon 231 cubic inches, the imperial gallon 4.54609 L (UK Weights and Measures Act
//   1985), standard gravity 9.80665 m/s^2, the standard atmosphere 101325 Pa, the international
//   table Btu 1055.05585262 J and calorie 4.1868 J, the international nautical mile 1852 m;
// - NIST Special Publication 811 (2008 edition), appendix B.8 and B.9, for the units of
//   pressure heads, mercury and water columns, pica, light year and parsec;
// - NIST Handbook 44 (2023), appendix C, for the U.S. customary dry and liquid measures, cloth,
//   surveyors' and nautical lengths, apothecaries' and troy weights;
// - CODATA 2018 for the dalton;
// - the factors the analyzer's own table has always had are kept as they were (concentration,
//   time, hectares, kilopascals), so stored settings convert as before.

namespace measurement {

namespace {

constexpr double kFoot = 0.3048;                    // m
constexpr double kInch = 0.0254;                    // m
constexpr double kMile = 1609.344;                  // m
constexpr double kPound = 453.59237;                // g
constexpr double kGravity = 9.80665;                // m/s^2
constexpr double kAtmosphere = 101325.0;            // Pa
constexpr double kBtu = 1055.05585262;              // J
constexpr double kCalorie = 4.1868;                 // J
constexpr double kFootPound = 1.3558179483314004;   // J (ft x lbf)
constexpr double kHorsepower = 745.69987158227022;  // W (550 ft x lbf / s)
constexpr double kGallonUS = 3.785411784e-3;        // m^3
constexpr double kGallonImp = 4.54609e-3;           // m^3
constexpr double kCubicInch = 1.6387064e-5;         // m^3
constexpr double kCubicFoot = 0.028316846592;       // m^3
constexpr double kFluidOunce = kGallonUS / 128;
// Water at its densest (3.98 degC): 999.972 kg/m^3.
constexpr double kWaterDensity = 999.972;
// Seawater of 1025 kg/m^3, for the depth units of divers' gauges.
constexpr double kSeawaterDensity = 1025.0;
constexpr double kPoundForce = kPound / 1000 * kGravity;  // N

constexpr Unit kAcceleration[] = {
    // base m/s^2
    {"Meters/sec./sec.", 1, 1, true},           {"Centimeters/sec./sec.", 0.01, 1, true},
    {"Feet/sec./sec.", kFoot, 1, false},        {"Kilometers/hr./sec.", 1000.0 / 3600, 1, true},
    {"Miles/hr./sec.", kMile / 3600, 1, false},
};

constexpr Unit kArea[] = {
    // base m^2
    {"Square meters", 1, 1, true},
    {"Ares", 100, 1, true},
    {"Acres", 4046.8564224, 1, false},
    {"Centares", 1, 1, true},
    {"Square centimeters", 1e-4, 1, true},
    {"Square feet", kFoot* kFoot, 1, false},
    {"Square kilometers", 1e6, 1, true},
    {"Square miles", kMile* kMile, 1, false},
    {"Square yards", 0.83612736, 1, false},
    {"Hectares", 4047, 2.471, true},
    {"Circular mils", 5.067074790974977e-10, 1, false},  // pi/4 x (0.001 in)^2
    {"Square inches", kInch* kInch, 1, false},
    {"Square millimeters", 1e-6, 1, true},
    {"Square mils", 6.4516e-10, 1, false},
    {"Square Chains (gunters)", 404.68564224, 1, false},  // (66 ft)^2
};

constexpr Unit kEnergy[] = {
    // base J
    {"Btus", kBtu, 1, false},
    {"Joules", 1, 1, true},
    {"Kilojoules", 1000, 1, true},
    {"Ergs", 1e-7, 1, true},
    {"Kilogram-calories", 1000 * kCalorie, 1, true},
    {"Gram-calories", kCalorie, 1, true},
    {"Kilowatt-hours", 3.6e6, 1, true},
    {"Watt-hours", 3600, 1, true},
    {"Horsepower-hours", kHorsepower, 3600, false},
    {"Foot-pounds", kFootPound, 1, false},
    {"Kilogram-meters", kGravity, 1, true},
    {"Gram-meters", kGravity, 1e-3, true},
    {"Kilogram-centimeters", kGravity, 1e-2, true},
    {"Gram-centimeters", kGravity, 1e-5, true},
    {"Dyne-centimeters", 1e-7, 1, true},
};

constexpr double kLuxInFootCandles = kFoot * kFoot;  // 1 lm/m^2 = 0.09290304 lm/ft^2
constexpr Unit kIllumination[] = {
    // base foot-candle (lm/ft^2)
    {"Foot-candle", 1, 1, false},
    {"Lux", 1, kLuxInFootCandles, true},
    {"Lumen/sq. ft.", 1, 1, false},
    {"Lumen/sq. meter", 1, kLuxInFootCandles, true},
};

constexpr Unit kLength[] = {
    // base m
    {"Meters", 1, 1, true},
    {"Centimeters", 0.01, 1, true},
    {"Millimeters", 0.001, 1, true},
    {"Inches", kInch, 1, false},
    {"Feet", kFoot, 1, false},
    {"Angstroms", 1e-10, 1, true},
    {"Bolts (U.S. Cloth)", 120 * kFoot, 1, false},
    {"Cables", 720 * kFoot, 1, false},  // 120 fathoms
    {"Chains (Gunters)", 66 * kFoot, 1, false},
    {"Decimeters", 0.1, 1, true},
    {"Dekameters", 10, 1, true},
    {"Ells", 45 * kInch, 1, false},
    {"Fathoms", 6 * kFoot, 1, false},
    {"Furlongs", 660 * kFoot, 1, false},
    {"Hands", 4 * kInch, 1, false},
    {"Hectometers", 100, 1, true},
    {"Kilometers", 1000, 1, true},
    {"Leagues (approx.)", 3 * kMile, 1, false},
    {"Light years", 9.4607304725808e15, 1, true},  // Julian year x c
    {"Links (engineers)", kFoot, 1, false},
    {"Links (surveyors)", 0.66 * kFoot, 1, false},
    {"Micromicrons", 1e-12, 1, true},
    {"Microns", 1e-6, 1, true},
    {"Miles", kMile, 1, false},
    {"Millimicrons", 1e-9, 1, true},
    {"Mils", kInch / 1000, 1, false},
    {"Myriameters", 1e4, 1, true},
    {"Nails", 2.25 * kInch, 1, false},
    {"Nanometers", 1e-9, 1, true},
    {"Nautical Miles", 1852, 1, false},
    {"Pace", 30 * kInch, 1, false},
    {"Parsecs", 3.0856775814913673e16, 1, true},  // 648000/pi astronomical units
    {"Picometers", 1e-12, 1, true},
    {"Pika ems", 4.217518e-3, 1, false},  // printer's pica
    {"Rods", 16.5 * kFoot, 1, false},
    {"Rods (surveyors''meas.)", 16.5 * kFoot, 1, false},
    {"Ropes", 20 * kFoot, 1, false},
    {"Yards", 3 * kFoot, 1, false},
};

// Forces are given as the mass they weigh under standard gravity.
constexpr double kGramsPerNewton = 1000 / kGravity;
constexpr Unit kMass[] = {
    // base g
    {"Grams", 1, 1, true},
    {"Kilograms", 1000, 1, true},
    {"Pounds", kPound, 1, false},
    {"Ounces", kPound / 16, 1, false},
    {"Carats", 0.2, 1, true},
    {"Centigrams", 0.01, 1, true},
    {"Daitons", 1.66053906660e-24, 1, true},
    {"Decigrams", 0.1, 1, true},
    {"Dekagrams", 10, 1, true},
    {"Drams", kPound / 256, 1, false},
    {"Dynes", 1e-5, kGramsPerNewton, true},
    {"Grains (troy)", 0.06479891, 1, false},
    {"Hectograms", 100, 1, true},
    {"Hundredwgts(short)", 100 * kPound, 1, false},
    {"Hundredwgts(long)", 112 * kPound, 1, false},
    {"Joules/cm.", 100, kGramsPerNewton, true},
    {"Joules/meter", 1, kGramsPerNewton, true},
    {"Micrograms", 1e-6, 1, true},
    {"Milliers", 1e6, 1, true},
    {"Milligrams", 0.001, 1, true},
    {"Myriagrams", 1e4, 1, true},
    {"Newtons", 1, kGramsPerNewton, true},
    {"Ounces (avdp.)", kPound / 16, 1, false},
    {"Ounces (troy)", 31.1034768, 1, false},
    {"Pennyweights (troy)", 1.55517384, 1, false},
    {"Poundals", kPound / 1000 * kFoot, kGramsPerNewton, false},  // lb x ft/s^2
    {"Pounds (troy)", 373.2417216, 1, false},
    {"Slugs", kPound* kGravity / kFoot, 1, false},  // lbf x s^2/ft
    {"Stones", 14 * kPound, 1, false},
    {"Tons (long)", 2240 * kPound, 1, false},
    {"Tons (short)", 2000 * kPound, 1, false},
    {"Tons (metric)", 1e6, 1, true},
};

constexpr Unit kConcentration[] = {
    // base ppm
    {"Parts/million (ppm)", 1, 1, true},
    {"Grains/gallon (U.S.)", 1, 17.118, false},
    {"Grains/gallon (Imp.)", 1, 14.286, false},
    {"Milligrams/liter", 1, 1, true},
    {"Percent", 10000, 1, true},
    {"Pounds/million Gal.(U.S.)", 1, 0.11983223487118033, false},
};

constexpr double kHorsepowerPerWatt = 1 / kHorsepower;
constexpr Unit kPower[] = {
    // base hp; factor 1 in W
    {"Horsepower", 1, 1, false},
    {"Horsepower (metric)", 735.49875, kHorsepowerPerWatt, true},
    {"Kilowatts", 1000, kHorsepowerPerWatt, true},
    {"Watts", 1, kHorsepowerPerWatt, true},
    {"Btu/min.", kBtu / 60, kHorsepowerPerWatt, false},
    {"Btu/hr.", kBtu / 3600, kHorsepowerPerWatt, false},
    {"Dyne-cm./sec.", 1e-7, kHorsepowerPerWatt, true},
    {"Ergs/sec.", 1e-7, kHorsepowerPerWatt, true},
    {"Foot-pounds/min.", kFootPound / 60, kHorsepowerPerWatt, false},
    {"Foot-pounds/sec.", kFootPound, kHorsepowerPerWatt, false},
    {"Gram-calories/sec.", kCalorie, kHorsepowerPerWatt, true},
    {"Hectowatts", 100, kHorsepowerPerWatt, true},
    {"Kilogram-calories/min.", 1000 * kCalorie / 60, kHorsepowerPerWatt, true},
    {"Myriawatts", 1e4, kHorsepowerPerWatt, true},
};

constexpr double kAtmPerPascal = 1 / kAtmosphere;
constexpr double kMercuryColumnMetre = 133322.387415;           // Pa, conventional mercury 13595.1 kg/m^3
constexpr double kWaterColumnMetre = kWaterDensity * kGravity;  // Pa, water at 4 degC
constexpr double kSeawaterColumnMetre = kSeawaterDensity * kGravity;
constexpr double kPsi = kPoundForce / (kInch * kInch);
constexpr double kPsf = kPoundForce / (kFoot * kFoot);
constexpr Unit kPressure[] = {
    // base atm; factor 1 in Pa
    {"Atmospheres", 1, 1, true},
    {"Bars", 1e5, kAtmPerPascal, true},
    {"Centimeters of mercury", kMercuryColumnMetre / 100, kAtmPerPascal, true},
    {"Centimeters of water", kWaterColumnMetre / 100, kAtmPerPascal, true},
    {"Dynes/sq. cm.", 0.1, kAtmPerPascal, true},
    {"Feet of seawater", kSeawaterColumnMetre* kFoot, kAtmPerPascal, false},
    {"Feet of water (39.2 degF)", 2988.98, kAtmPerPascal, false},
    {"Grams/sq. cm.", kGravity * 10, kAtmPerPascal, true},  // gf/cm^2
    {"Inches of mercury (32 degF)", 3386.38, kAtmPerPascal, false},
    {"Inches of mercury (60 degF)", 3376.85, kAtmPerPascal, false},
    {"Inches of water (39.2 degF)", 249.082, kAtmPerPascal, false},
    {"Inches of water (60 degF)", 248.84, kAtmPerPascal, false},
    {"Kilograms/sq. mm.", kGravity * 1e6, kAtmPerPascal, true},
    {"Kilograms/sq. cm.", kGravity * 1e4, kAtmPerPascal, true},
    {"Kilograms/sq. meter", kGravity, kAtmPerPascal, true},
    {"Kilopascals (kPa)", 0.06804, 0.145, true},
    {"Meters of mercury", kMercuryColumnMetre, kAtmPerPascal, true},
    {"Meters of seawater", kSeawaterColumnMetre, kAtmPerPascal, true},
    {"Meters of water", kWaterColumnMetre, kAtmPerPascal, true},
    {"Millibars", 100, kAtmPerPascal, true},
    {"Millimeters of mercury", kMercuryColumnMetre / 1000, kAtmPerPascal, true},
    {"Ounce/sq. inch", kPsi / 16, kAtmPerPascal, false},
    {"Pounds/sq. foot", kPsf, kAtmPerPascal, false},
    {"Pounds/sq. inch", kPsi, kAtmPerPascal, false},
    {"Tons/sq. foot", 2000 * kPsf, kAtmPerPascal, false},
    {"Tons/sq. inch", 2000 * kPsi, kAtmPerPascal, false},
    {"Torr (same as mm Hg)", kAtmosphere / 760, kAtmPerPascal, true},
};

constexpr double kMinute = 60;
constexpr double kHour = 3600;
constexpr Unit kFlow[] = {
    // base L/s; factor 1 in L
    {"Liters/second", 1, 1, true},
    {"Liters/minute", 1, 1 / kMinute, true},
    {"Liters/hour", 1, 1 / kHour, true},
    {"Cubic cms./second", 1e-3, 1, true},
    {"Cubic cms./minute", 1e-3, 1 / kMinute, true},
    {"Cubic cms./hour", 1e-3, 1 / kHour, true},
    {"Cubic feet/second", kCubicFoot * 1000, 1, false},
    {"Cubic feet/minute", kCubicFoot * 1000, 1 / kMinute, false},
    {"Cubic feet/hour", kCubicFoot * 1000, 1 / kHour, false},
    {"Cubic meters/second", 1000, 1, true},
    {"Cubic meters/minute", 1000, 1 / kMinute, true},
    {"Cubic meters/hour", 1000, 1 / kHour, true},
    {"Cubic yards/second", 27 * kCubicFoot * 1000, 1, false},
    {"Cubic yards/minute", 27 * kCubicFoot * 1000, 1 / kMinute, false},
    {"Cubic yards/hour", 27 * kCubicFoot * 1000, 1 / kHour, false},
    {"Gallons/second (U.S.)", kGallonUS * 1000, 1, false},
    {"Gallons/minute (U.S.)", kGallonUS * 1000, 1 / kMinute, false},
    {"Gallons/hour (U.S.)", kGallonUS * 1000, 1 / kHour, false},
    {"Gallons/second (Imp.)", kGallonImp * 1000, 1, false},
    {"Gallons/minute (Imp.)", kGallonImp * 1000, 1 / kMinute, false},
    {"Gallons/hour (Imp.)", kGallonImp * 1000, 1 / kHour, false},
    // The statutory miner's inch of most western states: 1.5 cubic feet per minute.
    {"Miner''s inches", 1.5 * kCubicFoot * 1000, 1 / kMinute, false},
    {"Pounds water/minute", kPound / kWaterDensity, 1 / kMinute, false},
    {"Tons of water/day", 2000 * kPound / kWaterDensity, 1 / (24 * kHour), false},
};

// The temperature factors are kept with the table; the conversion uses its own formulas.
constexpr double kCelsiusZeroInKelvin = 273.15;
constexpr double kFahrenheitZeroInRankine = 459.67;
constexpr Unit kTemperatureUnits[] = {
    {"Degrees Centigrade", 0, 1, true},
    {"Degrees Farenheit", 32, 1.8, false},
    {"Degrees Kelvin", kCelsiusZeroInKelvin, 1, true},
    {"Degrees Rankin", 32 + kFahrenheitZeroInRankine, 1.8, false},
};

constexpr Unit kTime[] = {
    // base s
    {"Seconds", 1, 1, true},
    {"Minutes", 1, 60, true},
    {"Hours", 1, 3600, true},
    {"Days", 1, 86400, true},
    {"Weeks", 1, 604800, true},
    {"Years", 1, 31536000, true},
    {"Leap years", 1, 31622400, true},
    {"Milliseconds", 0.001, 1, true},
    {"Samples (60 per second)", 1, 0.01666667, true},
};

constexpr Unit kTorque[] = {
    // base ft x lbf; factor 1 in N x m
    {"Foot-pounds", 1, 1, false},
    {"Centimeter-dynes", 1e-7, 1 / kFootPound, true},
    {"Centimeter-grams", kGravity * 1e-5, 1 / kFootPound, true},
    {"Meter-kilograms", kGravity, 1 / kFootPound, true},
};

constexpr Unit kVelocity[] = {
    // base m/s; factor 1 in m
    {"Meters/second", 1, 1, true},
    {"Meters/minute", 1, 1 / kMinute, true},
    {"Meters/hour", 1, 1 / kHour, true},
    {"Centimeters/second", 0.01, 1, true},
    {"Centimeters/minute", 0.01, 1 / kMinute, true},
    {"Centimeters/hour", 0.01, 1 / kHour, true},
    {"Feet/second", kFoot, 1, false},
    {"Feet/minute", kFoot, 1 / kMinute, false},
    {"Feet/hour", kFoot, 1 / kHour, false},
    {"Kilometers/second", 1000, 1, true},
    {"Kilometers/minute", 1000, 1 / kMinute, true},
    {"Kilometers/hour", 1000, 1 / kHour, true},
    {"Knots", 1852, 1 / kHour, false},
    {"Miles/second", kMile, 1, false},
    {"Miles/minute", kMile, 1 / kMinute, false},
    {"Miles/hour", kMile, 1 / kHour, false},
    {"Nautical Mile/hour", 1852, 1 / kHour, false},
};

// Unmarked U.S. measures are the liquid ones; the bushel has no liquid measure, so both of the
// table's bushels are the U.S. (Winchester) bushel.
constexpr double kBushelUS = 2150.42 * kCubicInch;
constexpr Unit kVolume[] = {
    // base m^3
    {"Cubic meters", 1, 1, true},
    {"Cubic yards", 27 * kCubicFoot, 1, false},
    {"Gallons (U.S.)", kGallonUS, 1, false},
    {"Gallons (Imp.)", kGallonImp, 1, false},
    {"Liters", 1e-3, 1, true},
    {"Acre-feet", 4046.8564224 * kFoot, 1, false},
    {"Barrels (U.S., Dry)", 7056 * kCubicInch, 1, false},
    {"Barrels (U.S., Liquid)", 31.5 * kGallonUS, 1, false},
    {"Buckets (Imp. Dry)", 4 * kGallonImp, 1, false},
    {"Bushels", kBushelUS, 1, false},
    {"Bushels (Dry)", kBushelUS, 1, false},
    {"Centiliters", 1e-5, 1, true},
    {"Cord feet", 16 * kCubicFoot, 1, false},
    {"Cords", 128 * kCubicFoot, 1, false},
    {"Cubic centimeters", 1e-6, 1, true},
    {"Cubic feet", kCubicFoot, 1, false},
    {"Cubic Inches", kCubicInch, 1, false},
    {"Cups", 8 * kFluidOunce, 1, false},
    {"Deciliters", 1e-4, 1, true},
    {"Dekaliters", 1e-2, 1, true},
    {"Drams (U.S. Fluid)", kFluidOunce / 8, 1, false},
    {"Gills (Imp.)", kGallonImp / 32, 1, false},
    {"Gills (U.S.)", 4 * kFluidOunce, 1, false},
    {"Hectoliters", 0.1, 1, true},
    {"Hogsheads (Imp.)", 63 * kGallonImp, 1, false},
    {"Hogsheads (U.S.)", 63 * kGallonUS, 1, false},
    {"Kiloliters", 1, 1, true},
    {"Microliters", 1e-9, 1, true},
    {"Milliliters", 1e-6, 1, true},
    {"Minims (Imp.)", kGallonImp / 76800, 1, false},
    {"Minims (U.S.)", kGallonUS / 61440, 1, false},
    {"Ounces (Fluid)", kFluidOunce, 1, false},
    {"Pecks (British)", 2 * kGallonImp, 1, false},
    {"Pecks (U.S.)", kBushelUS / 4, 1, false},
    {"Pints", kGallonUS / 8, 1, false},
    {"Pints (Dry)", 33.6003125 * kCubicInch, 1, false},
    {"Pounds of water", kPound / 1000 / kWaterDensity, 1, false},
    {"Quarts", kGallonUS / 4, 1, false},
    {"Quarts (Dry)", 67.2000625 * kCubicInch, 1, false},
    {"Steres", 1, 1, true},
    {"Tablespoons", kFluidOunce / 2, 1, false},
    {"Teaspoons", kFluidOunce / 6, 1, false},
};

constexpr double kPoundPerCubicFoot = kPound / 1000 / kCubicFoot;  // kg/m^3
constexpr Unit kDensity[] = {
    // base lb/ft^3; factor 1 in kg/m^3
    {"Pounds/cu. ft.", 1, 1, false},
    {"Pounds/cu. in.", 1728, 1, false},
    {"Grams/cu. cm.", 1000, 1 / kPoundPerCubicFoot, true},
    {"Grams/liter", 1, 1 / kPoundPerCubicFoot, true},
    {"Kilograms/cu. meter", 1, 1 / kPoundPerCubicFoot, true},
    // A pound in a wire one square mil in section and one foot long.
    {"Pounds/mil-foot", kPound / 1000 / (kInch / 1000 * kInch / 1000 * kFoot), 1 / kPoundPerCubicFoot, false},
};

constexpr Unit kClock[] = {
    {"YYYY", 1, 1, true},   {"YY", 1, 1, true},          {"MM (month)", 1, 1, true}, {"DD", 1, 1, true},
    {"HH", 1, 1, true},     {"MM (minute)", 1, 1, true}, {"SS", 1, 1, true},         {"HHMMSS", 1, 1, true},
    {"YYMMDD", 1, 1, true}, {"MMDDYY", 1, 1, true},      {"DDMMYY", 1, 1, true},     {"Day of Week", 1, 1, true},
};

template <std::size_t N>
constexpr Type typeOf(const char* name, const Unit (&units)[N])
{
    return Type{name, units, static_cast<int>(N)};
}

constexpr Type kTypes[kTypeCount] = {
    {"Scalar", nullptr, 0},
    typeOf("Acceleration", kAcceleration),
    typeOf("Area", kArea),
    typeOf("Energy", kEnergy),
    typeOf("Illumination", kIllumination),
    typeOf("Length (Distance)", kLength),
    typeOf("Mass && Weight", kMass),
    typeOf("Concentration", kConcentration),
    typeOf("Power", kPower),
    typeOf("Pressure", kPressure),
    typeOf("Rate of Flow", kFlow),
    typeOf("Temperature", kTemperatureUnits),
    typeOf("Time", kTime),
    typeOf("Torque", kTorque),
    typeOf("Velocity (Speed)", kVelocity),
    typeOf("Volume", kVolume),
    typeOf("Density", kDensity),
    {"QDK", nullptr, 0},
    {"On/Off", nullptr, 0},
    {"<Do not use>", nullptr, 0},
    {"String", nullptr, 0},
    typeOf("Real Time Clock (RTC)", kClock),
};

constexpr double kFiveNinths = 0.5555555555555556;

double toCelsius(int unit, double value)
{
    switch (unit) {
    case 1:
        return (value - 32) * kFiveNinths;
    case 2:
        return value - kCelsiusZeroInKelvin;
    case 3:
        return (value - kFahrenheitZeroInRankine - 32) * kFiveNinths;
    default:
        return value;
    }
}

double fromCelsius(int unit, double celsius, double original)
{
    switch (unit) {
    case 0:
        return celsius;
    case 1:
        return celsius * 1.8 + 32;
    case 2:
        return celsius + kCelsiusZeroInKelvin;
    case 3:
        return celsius * 1.8 + 32 + kFahrenheitZeroInRankine;
    default:
        return original;
    }
}

}  // namespace

const Type* type(int index)
{
    return index >= 0 && index < kTypeCount ? &kTypes[index] : nullptr;
}

const Unit* unit(int typeIndex, int unitIndex)
{
    const Type* t = type(typeIndex);
    if (!t || unitIndex < 0 || unitIndex >= t->unitCount)
        return nullptr;
    return &t->units[unitIndex];
}

double convert(int typeIndex, int fromUnit, int toUnit, double value)
{
    if (typeIndex == kTemperature)
        return fromCelsius(toUnit, toCelsius(fromUnit, value), value);
    if (typeIndex == kRealTimeClock)
        return value;
    const Unit* from = unit(typeIndex, fromUnit);
    const Unit* to = unit(typeIndex, toUnit);
    if (!from || !to)
        return std::numeric_limits<double>::quiet_NaN();
    return value * from->factor1 * from->factor2 / to->factor2 / to->factor1;
}

const char* typeName(unsigned typeIndex)
{
    return typeIndex < static_cast<unsigned>(kTypeCount) ? kTypes[typeIndex].name : "unknown type";
}

const char* unitName(unsigned typeIndex, unsigned unitIndex)
{
    const Unit* u = typeIndex < static_cast<unsigned>(kTypeCount) && unitIndex <= 0xFFFF
                        ? unit(static_cast<int>(typeIndex), static_cast<int>(unitIndex))
                        : nullptr;
    return u ? u->name : "unknown units";
}

int typeDescriptions(QStringList& list)
{
    list.clear();
    for (const Type& t : kTypes)
        list << QString::fromLatin1(t.name);
    return static_cast<int>(list.size());
}

int unitDescriptions(int typeIndex, QStringList& list)
{
    list.clear();
    const Type* t = type(typeIndex);
    if (!t)
        return 0;
    for (int i = 0; i < t->unitCount; ++i)
        list << QString::fromLatin1(t->units[i].name);
    return t->unitCount;
}

}  // namespace measurement
