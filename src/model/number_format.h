#pragma once

#include <string>

namespace tesvid {

// Width in characters of the print zones that the items of a printed line start in (the text
// export, the printed report).
inline constexpr int kPrintZoneColumns = 14;

// Rounding with ties to the even neighbour: 2.5 gives 2, 3.5 gives 4, -2.5 gives -2.
double RoundHalfEven(double value);
// Rounds to a number of decimals (0..15). The exact binary value is rounded, so only values
// that are exact ties in binary (0.125 to 2 decimals) go to the even neighbour; 2.675, which is
// stored as 2.67499999..., gives 2.67.
double RoundHalfEven(double value, int decimals);

// General text form: the value rounded to 15 significant digits (7 for singles) with trailing
// zeros removed, no thousands separators. Fixed-point form while the decimal exponent e of the
// rounded value (value = d.ddd x 10^e) satisfies -5 < e < 15 (7 for singles); exponent form
// otherwise, with an upper-case E, a sign and at least two exponent digits:
// 0.0001 gives "0.0001", 0.00001 "1E-05", 123456789012345 "123456789012345", 1e15 "1E+15",
// 1.5e20 "1.5E+20". Zero (of either sign) gives "0"; a NaN "NaN", infinities "Inf" / "-Inf".
std::string GeneralText(double value, char decimalSeparator = '.');
std::string GeneralTextSingle(float value, char decimalSeparator = '.');

// Print form: the general text with a space in place of a plus sign and no 0 before the
// decimal separator below 1 (0.5 gives " .5", -0.25 gives "-.25", 0 gives " 0"); trailingSpace
// adds the one space that follows a number printed as an item of a line (2 gives " 2 ").
std::string PrintForm(double value, bool trailingSpace, char decimalSeparator = '.');
std::string PrintFormSingle(float value, bool trailingSpace, char decimalSeparator = '.');

// Pattern "0.0": at least one integer digit, exactly one decimal, rounded half to even on the
// exact value. A value that rounds to zero is written "0.0" without a sign.
std::string FormatFixed1(double value, char decimalSeparator = '.');
// Pattern "0.000e-00": one digit, three decimals, "e", a minus sign only for a negative exponent,
// at least two exponent digits: 0.01234 gives 1.234e-02, 1.5 gives 1.500e00, 0 gives 0.000e00,
// -0.321 gives -3.210e-01, 1e-100 gives 1.000e-100.
std::string FormatScientific3(double value, char decimalSeparator = '.');
// Pattern "0.0E+000": one digit, one decimal, "E", the exponent's sign and at least three
// digits: 0.1234 gives 1.2E-001, 0.0996 gives 1.0E-001, 0 gives 0.0E+000.
std::string FormatScientific1(double value, char decimalSeparator = '.');

}  // namespace tesvid
