#pragma once

#include <QString>

namespace tesvid {

// The locale's decimal separator, for every number shown to a person ('.' when the locale's
// separator is not a single plain character).
char LocaleDecimalSeparator();

// The number text forms and ToNumber over Qt texts, with the locale's decimal separator.
QString GeneralQText(double value);
QString GeneralQTextSingle(float value);
// The general text form of the value rounded to a number of significant digits (half to even):
// 6.1400065 to 4 digits gives "6.14", 12345.6 gives "12350".
QString SignificantQText(double value, int digits);
double ToNumber(const QString& text);
double LeadingNumber(const QString& text);

}  // namespace tesvid
