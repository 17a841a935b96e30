#pragma once

#include <cstdint>
#include <string>

namespace tesvid {

inline constexpr int kCommentLength = 200;

// What the user sets for a calculation: the grid, the coils, the material laws, the solver
// schedule and the output settings. A project file stores most of it (see io/project_file.h);
// the rest lives in the settings.
struct Project {
    // Grid and area.
    std::int16_t GridSize = 0;  // N: nodes 0..N a side
    float AreaSize = 0;         // mm, the side of the square area
    double GridStep = 0;        // h = AreaSize / N, m

    // Coils. The current density is derived from the painted winding (solver/coil_quantities.h).
    double Current1 = 0, Current2 = 0;                  // A, current in one wire
    double CurrentDensity1 = 0, CurrentDensity2 = 0;    // A/m2, over the winding's cross-section
    double SliderFullScale1 = 0, SliderFullScale2 = 0;  // A, the current sliders' full scale
    double WireDiameter1 = 0, WireDiameter2 = 0;        // mm

    // Iron: B = f(H) with initial relative permeability SteelMu, saturating at SteelSaturationB.
    double SteelMu = 0;
    double SteelSaturationB = 0;  // T
    // Magnets: remanence, coercivity and energy product as typed; the curve constants fitted
    // to them (solver/material_map.h).
    double MagBr = 0;      // T
    double MagHc = 0;      // A/m
    double MagBHmax = 0;   // J/m3
    double MagCurveK = 0;  // T, saturation induction of the fitted magnet curve
    double MagMuRec = 0;   // initial relative permeability of the fitted magnet curve

    // Solver schedule: Jacobi radii (meant for a 100-cell grid) of the first, main and last
    // passes, the reluctivity relaxation factor and the number of main passes.
    double Rjac0 = 0, Rjac1 = 0, RjacFin = 0;
    double ReluctivityRelaxation = 0;
    std::int16_t MainSteps = 0;

    // Output.
    float PrintScale = 0;
    float LineStep = 0;  // gauss between two force lines' levels of r A
    // Exactly kCommentLength bytes in ISO 8859-1, padded with spaces.
    std::string Comments = std::string(kCommentLength, ' ');

    bool operator==(const Project&) const = default;
};

// Pen width in pixels of one grid cell on the 400-pixel drawing area.
constexpr int PenWidthFor(int gridSize) { return gridSize > 0 ? 400 / gridSize : 1; }

constexpr bool IsSupportedGridSize(int n) { return n == 50 || n == 100 || n == 200 || n == 400; }

// The grid sizes in the order the options dialog lists them.
inline constexpr int kGridSizes[] = {50, 100, 200, 400};

}  // namespace tesvid
