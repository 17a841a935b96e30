#include "options/option_checks.h"

#include <cmath>

#include "model/number_format.h"
#include "platform/number_text.h"

namespace tesvid {

bool MagnetRuleHolds(double br, double hcKiloAmperes, double bhmaxKiloJoules) {
    const double product = std::fabs(br) * std::fabs(hcKiloAmperes);
    const double bhmax = std::fabs(bhmaxKiloJoules);
    return !(bhmax > product || bhmax < product / 4);
}

QString MagnetRuleMessage() {
    return QString::fromUtf8(
        "BHmax must be between Br*Hc \u0438 Br*Hc/4\nPlease check the parameters");
}

std::optional<QString> UnusableOptionText(const QString& control, const QString& text) {
    const double value = ToNumber(text);
    auto positive = [&](const char* what) -> std::optional<QString> {
        if (std::isfinite(value) && value > 0) {
            return std::nullopt;
        }
        return QStringLiteral("%1 must be a positive number.").arg(QString::fromUtf8(what));
    };
    auto radius = [&](const char* which) -> std::optional<QString> {
        if (value >= 0 && value <= 1) {
            return std::nullopt;
        }
        return QStringLiteral("The %1 Jacoby radius must lie between 0 and 1.")
            .arg(QString::fromUtf8(which));
    };
    auto notZero = [&](const char* what) -> std::optional<QString> {
        if (std::isfinite(value) && value != 0) {
            return std::nullopt;
        }
        return QStringLiteral("The magnet's %1 must not be 0.").arg(QString::fromUtf8(what));
    };
    if (control == QLatin1String("TextAreaSize")) {
        return positive("The area dimension (mm)");
    }
    if (control == QLatin1String("TextSteelMu")) {
        return positive("The iron's Mu");
    }
    if (control == QLatin1String("TextDProv1")) {
        return positive("The wire diameter of coil 1 (mm)");
    }
    if (control == QLatin1String("TextDProv2")) {
        return positive("The wire diameter of coil 2 (mm)");
    }
    if (control == QLatin1String("TextRjac0")) {
        return radius("initial");
    }
    if (control == QLatin1String("TextRjac1")) {
        return radius("main");
    }
    if (control == QLatin1String("TextRjacFin")) {
        return radius("final");
    }
    if (control == QLatin1String("TextMainSteps")) {
        const double passes = RoundHalfEven(LeadingNumber(text));
        if (passes >= 0 && passes <= 32767) {
            return std::nullopt;
        }
        return QStringLiteral("The number of passes must lie between 0 and 32767.");
    }
    if (control == QLatin1String("TextMagBr")) {
        return notZero("Br");
    }
    if (control == QLatin1String("TextMagHc")) {
        return notZero("Hc");
    }
    return std::nullopt;
}

}  // namespace tesvid
