#pragma once

#include <optional>
#include <string>

#include "model/model.h"

namespace tesvid {

// The field table of "Export to TEXT": the heading "R, mm", "Z, mm", "Br, Tesla", "Bz, Tesla",
// "Bmodule, Tesla", then one line per inner node (i = 1..N-1 outer, j = 1..N-1 inner) with R and
// Z in mm in the print form (with its trailing space) and Br, Bz, |B| in tesla in the pattern
// "0.000e-00". Items lie in print zones of 14 columns: an item starts at the first zone start
// (column 1, 15, 29, ...) after the last column of the item before it, the gap filled with
// spaces; an item ending exactly at a zone's last column is followed directly by the next zone.
// Every line ends with CR LF. N is the grid of the field arrays (GridSize when they are missing,
// which exports zeros); when the field was evaluated on another grid than GridSize the node
// spacing is the area in force divided by that grid.
std::string FormatFieldTable(const Model& m, char decimalSeparator = '.');

// Writes the table through a temporary file renamed over the target; returns the reason of a
// failure.
std::optional<std::string> WriteFieldTable(const std::string& path, const Model& m,
                                           char decimalSeparator = '.');

}  // namespace tesvid
