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

bool FollowsRule(TextRule rule, const QString& text) {
    const double value = ToNumber(text);
    switch (rule) {
        case TextRule::Any:
            return true;
        case TextRule::Positive:
            return std::isfinite(value) && value > 0;
        case TextRule::UnitInterval:
            return value >= 0 && value <= 1;
        case TextRule::PassCount: {
            const double passes = RoundHalfEven(LeadingNumber(text));
            return passes >= 0 && passes <= 32767;
        }
        case TextRule::NotZero:
            return std::isfinite(value) && value != 0;
    }
    return false;
}

}  // namespace tesvid
