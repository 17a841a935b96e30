#pragma once

#include <QString>

namespace tesvid {

// Whether the magnet constants as typed (Br in T, Hc in kA/m, BHmax in kJ/m3, signs ignored)
// keep the energy product between Br*Hc/4 and Br*Hc, bounds included.
bool MagnetRuleHolds(double br, double hcKiloAmperes, double bhmaxKiloJoules);

// What an options text must be for the calculation to use it: anything, a positive number (a
// value the solver divides by), a number from 0 to 1 (a Jacobi radius), a number of passes (0 to
// 32767 once rounded), or a number other than 0.
enum class TextRule { Any, Positive, UnitInterval, PassCount, NotZero };

bool FollowsRule(TextRule rule, const QString& text);

}  // namespace tesvid
