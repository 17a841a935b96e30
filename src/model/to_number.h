#pragma once

#include <string_view>

namespace tesvid {

// The one conversion of typed or stored text into a number.
//
// The first comma is read as a decimal point (a second comma ends the number). Blanks, tabs and
// line feeds are skipped wherever they occur ("1 000" is 1000). The leading number is taken:
// an optional sign, digits with at most one point, an optional exponent introduced by E or D
// (either case) with an optional sign; or, instead, a hexadecimal (&H) or octal (&O) integer
// of at most 32 bits. Reading stops at the first character that cannot continue the number.
// Text without a leading number, a number out of the double range and an &H / &O integer
// beyond 32 bits give 0. Never fails; zero is always returned as +0.
double ToNumber(std::string_view text);

// The plain leading-number parse: like ToNumber but a comma ends the number ("12,7" is 12).
double LeadingNumber(std::string_view text);

}  // namespace tesvid
