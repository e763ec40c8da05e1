#pragma once

// Small rules the QC form uses while it fills its controls from the unit's points.

#include "numbertext.h"

#include <cstdint>
#include <functional>
#include <string>

class QTableWidget;

namespace qcreport {

// A mask or number text that is not a number: the toolkit's conversion error, which the
// toolkit's conversions (numtext::StrToInt, numtext::StrToFloat) raise.
using QCConversionError = numtext::ConversionError;

// A version point's 32 bits from its text: the unit's unsigned value, or the same bits in their
// signed form; QCConversionError for anything else.
std::uint32_t QCVersionBits(const std::string& text);

// The digit of the highest relay (bits 0x01..0x20 give "1".."6") or solenoid (bits
// 0x0100..0x8000 give "1".."8") an alarm's action mask switches; empty when it switches none.
std::string RelayMaskDigit(const std::string& maskText);
std::string SolenoidMaskDigit(const std::string& maskText);

// Reads a point's value text; the form passes DataBase::GetPointText.
using PointTextReader = std::function<std::string(int pointId)>;

// Puts the point's text into column 1 of the row (as eight upper-case hexadecimal digits when
// hex is set) and makes that cell read-only or editable; an empty text changes nothing.
void SetGridCellFromPoint(QTableWidget* grid, const PointTextReader& pointText, int pointId, int row, bool hex,
                          bool readOnly);

}  // namespace qcreport
