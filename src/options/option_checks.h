#pragma once

#include <QString>
#include <optional>

namespace tesvid {

// Whether the magnet constants as typed (Br in T, Hc in kA/m, BHmax in kJ/m3, signs ignored)
// keep the energy product between Br*Hc/4 and Br*Hc, bounds included.
bool MagnetRuleHolds(double br, double hcKiloAmperes, double bhmaxKiloJoules);

// The two-line message of a failed magnet rule.
QString MagnetRuleMessage();

// Why the text of an options field cannot be used by the calculation, or nothing when it can.
// Checks the fields whose values the solver divides by or needs in a range: the area
// (positive), iron Mu (positive), the wire diameters (positive), the three Jacobi radii
// (0 to 1), the number of passes (0 to 32767 once rounded) and the magnet's Br and Hc (not 0).
// Other fields are always usable. control is the field's control name ("TextAreaSize").
std::optional<QString> UnusableOptionText(const QString& control, const QString& text);

}  // namespace tesvid
