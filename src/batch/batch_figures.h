#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/model.h"
#include "solver/engineering_figures.h"

namespace tesvid {

// The figures as one JSON object:
//   {"energy_J": W, "coil1": {...}, "coil2": {...}, "bodies": [...]}
// A coil that is not on the map is absent; each present coil holds "turns", "current_A",
// "flux_linkage_Wb", "inductance_H" (null at zero current), "resistance_ohm", "power_W" and
// "force_z_N". "energy_J" is null with a magnet on the map. "bodies" (present when asked for)
// lists {"node": [I, J], "material": "Iron", "nodes": count, "touches_edge": false,
// "force_z_N": F}. Numbers carry 9 significant digits; F_z > 0 points down the picture.
std::string FiguresJson(const EngineeringFigures& f, bool withBodies);

// Why the batch tool cannot give the figures (a line for standard error), or nothing.
// Before the calculation: a --force-on node outside the grid or at Vacuum.
std::optional<std::string> BatchBodyRefusal(const Model& m,
                                            const std::vector<std::pair<int, int>>& bodies,
                                            const std::string& projectName);
// After it: the model's own refusal, or no stored potential after --no-solve.
std::optional<std::string> BatchFiguresRefusal(const Model& m, bool noSolve,
                                               const std::string& projectName);

}  // namespace tesvid
