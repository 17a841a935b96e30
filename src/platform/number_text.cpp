#include "platform/number_text.h"

#include <QLocale>
#include <cmath>

#include "model/number_format.h"
#include "model/to_number.h"

namespace tesvid {

char LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 128) {
        return static_cast<char>(point.at(0).unicode());
    }
    return '.';
}

QString GeneralQText(double value) {
    return QString::fromStdString(GeneralText(value, LocaleDecimalSeparator()));
}

QString GeneralQTextSingle(float value) {
    return QString::fromStdString(GeneralTextSingle(value, LocaleDecimalSeparator()));
}

QString SignificantQText(double value, int digits) {
    if (value == 0 || !std::isfinite(value)) {
        return GeneralQText(value);
    }
    // Decimals that keep `digits` significant ones; a negative count rounds to tens, hundreds...
    const int decimals = digits - 1 - static_cast<int>(std::floor(std::log10(std::fabs(value))));
    if (decimals >= 0) {
        return GeneralQText(RoundHalfEven(value, std::min(decimals, 15)));
    }
    const double unit = std::pow(10.0, -decimals);
    return GeneralQText(RoundHalfEven(value / unit) * unit);
}

double ToNumber(const QString& text) {
    return ToNumber(std::string_view(text.toStdString()));
}

double LeadingNumber(const QString& text) {
    return LeadingNumber(std::string_view(text.toStdString()));
}

}  // namespace tesvid
