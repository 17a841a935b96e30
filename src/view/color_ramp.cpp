#include "view/color_ramp.h"

#include <cmath>
#include <cstdint>

#include "model/number_format.h"

namespace tesvid {

namespace {

std::uint8_t RampComponent(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded > 0)) {
        return 0;  // also a NaN level
    }
    return rounded >= 255 ? 255 : static_cast<std::uint8_t>(rounded);
}

}  // namespace

Rgb RampColor(double level) {
    return Rgb{RampComponent(1.5 * level), RampComponent(level), RampComponent(3 * (1.5 * level))};
}

double RampLevel(double value, double maximum) {
    return 60 * std::log(1 + (value * 100) / maximum);
}

}  // namespace tesvid
