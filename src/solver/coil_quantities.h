#pragma once

#include "model/grid2d.h"
#include "model/material_code.h"

namespace tesvid {

inline constexpr double kCopperResistivity = 1.75e-8;  // ohm metre

// What the drawing gives for one coil (the coil panel's derived figures).
struct CoilFigures {
    bool present = false;   // at least one inner node of this coil
    double area = 1e-200;   // winding cross-section, m2
    double ringLength = 0;  // summed circumference of the coil's node rings, m
    double current = 0;     // A (0 when the coil is not present)
    double turns = 0;
    double curDens = 0;  // A/m2
    double power = 0;    // W
};

struct CoilInputs {
    double gridStep = 0;                // m
    double current1 = 0, current2 = 0;  // A, as typed
    double dProv1 = 0, dProv2 = 0;      // mm
};

// Counts the coil nodes among the inner nodes 1..N-1 and derives turns, current densities and
// powers exactly as the coil panel does. A coil that is not present gets current 0. A coil
// whose wire diameter gives no finite positive number of turns (0, negative) shows 0 turns,
// density and power instead of dividing by zero (a calculation with it drawn is refused).
void ComputeCoilFigures(const Grid2D<MaterialCode>& material, const CoilInputs& in,
                        CoilFigures& coil1, CoilFigures& coil2);

}  // namespace tesvid
