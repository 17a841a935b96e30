#pragma once

#include <string_view>

namespace tesvid {

// The one conversion of typed or stored text into a number: the first comma is read as a
// decimal point, blanks are skipped, the leading number is taken (with an optional exponent
// E or D, or an &H / &O integer); text without a leading number, or out of range, gives 0.
double ToNumber(std::string_view text);

// The plain leading-number parse: like ToNumber but a comma ends the number.
double LeadingNumber(std::string_view text);

}  // namespace tesvid
