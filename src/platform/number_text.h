#pragma once

#include <QString>

namespace tesvid {

// The locale's decimal separator for the general text form of numbers ('.' when the locale's
// separator is not a single plain character).
char LocaleDecimalSeparator();

// The number text forms and ToNumber over Qt texts.
QString GeneralQText(double value);
QString GeneralQTextSingle(float value);
double ToNumber(const QString& text);
double LeadingNumber(const QString& text);

}  // namespace tesvid
