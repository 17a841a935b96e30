#pragma once

#include <string>

namespace tesvid {

// Rounding with ties to the even neighbour.
double RoundHalfEven(double value);
double RoundHalfEven(double value, int decimals);

// General text form: the shortest text that reads back to the value at 15 significant digits
// (7 for singles), no thousands separators, exponent form only for very large or very small
// values (1E-05, 1.5E+20).
std::string GeneralText(double value, char decimalSeparator = '.');
std::string GeneralTextSingle(float value, char decimalSeparator = '.');

// Print form: the general text with a space in place of a plus sign and no 0 before the
// decimal separator below 1 (0.5 gives " .5", -0.25 gives "-.25"); trailingSpace adds the one
// space that follows a number printed as an item of a line.
std::string PrintForm(double value, bool trailingSpace, char decimalSeparator = '.');
std::string PrintFormSingle(float value, bool trailingSpace, char decimalSeparator = '.');

// Pattern "0.0": at least one integer digit, exactly one decimal.
std::string FormatFixed1(double value, char decimalSeparator = '.');
// Pattern "0.000e-00": 1.234e-02, 1.500e00, 0.000e00.
std::string FormatScientific3(double value, char decimalSeparator = '.');
// Pattern "0.0E+000": 1.2E-001.
std::string FormatScientific1(double value, char decimalSeparator = '.');

}  // namespace tesvid
