#include "platform/number_text.h"

#include <QLocale>

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

double ToNumber(const QString& text) {
    return ToNumber(std::string_view(text.toStdString()));
}

double LeadingNumber(const QString& text) {
    return LeadingNumber(std::string_view(text.toStdString()));
}

}  // namespace tesvid
