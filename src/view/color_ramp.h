#pragma once

#include "model/rgb.h"

namespace tesvid {

// The colour of a field level L (0 .. about 277): black through blue and magenta to white.
// Each component is rounded half to even and capped at 255.
Rgb RampColor(double level);

// The level of a value v against the largest value vmax: 60 * ln(1 + 100 v / vmax),
// 0 for a zero value and 60 * ln(101) (about 276.9) at the maximum.
double RampLevel(double value, double maximum);

}  // namespace tesvid
