#pragma once

#include <QString>

// The tape group's arithmetic. The unit keeps the tape advance as a stain width per drive pulse
// (feet in imperial units, meters in metric) and a number of pulses; the user gives the drive
// capstan's diameter (inches or millimetres), and a turn of the capstan is 256 pulses.
namespace tapeadvance {

constexpr int kPulsesPerTurn = 256;

// The width per pulse of a capstan diameter, in single precision as the unit keeps it.
float widthPerPulse(double diameter, bool imperial);
// The capstan diameter a width per pulse from the unit gives back (one over pi exactly, so an
// accepted diameter comes back slightly different).
double diameterOf(double widthPerPulse, bool imperial);

// A diameter or an alarm limit converted when the units switch.
float convertDiameter(double diameter, bool toMetric);
float convertLength(double length, bool toMetric);
// The largest diameter or length whose converted value single precision still holds. A diameter
// that single precision holds always gives a width per pulse that it holds too.
double largestConvertibleDiameter(bool toMetric);
double largestConvertibleLength(bool toMetric);

// The texts the group shows.
QString diameterText(double diameter);  // "0.0000"
QString limitText(double limit);        // "0.00"
QString generalText(double value);      // the toolkit's general float text

QString capstanCaption(bool imperial);     // "Capstan Diameter (inches)" / "(mm)"
QString tapeLengthCaption(bool imperial);  // "Tape Length Remaining (feet)" / "(meter)"

}  // namespace tapeadvance
