#include "solver/coil_quantities.h"

#include <cmath>

namespace tesvid {

namespace {

// Turns, density and power of one coil once its nodes are counted.
void DeriveCoilFigures(CoilFigures& coil, double typedCurrent, double dProv, double s2) {
    coil.current = coil.present ? typedCurrent : 0;
    const double wireSquare = std::pow(dProv / 1000, 2);
    coil.turns = coil.area / wireSquare;
    if (!coil.present || !(dProv > 0) || !std::isfinite(coil.turns)) {
        // No winding, or a wire diameter that gives no finite number of turns: the coil
        // carries nothing rather than an infinite or undefined density.
        coil.turns = 0;
        coil.curDens = 0;
        coil.power = 0;
        return;
    }
    coil.curDens = (coil.turns * coil.current) / coil.area;
    coil.power =
        s2 > 0 ? std::pow(s2 * coil.curDens, 2) * ((kCopperResistivity * coil.ringLength) / s2) : 0;
}

}  // namespace

void ComputeCoilFigures(const Grid2D<MaterialCode>& material, const CoilInputs& in,
                        CoilFigures& coil1, CoilFigures& coil2) {
    coil1 = CoilFigures{};
    coil2 = CoilFigures{};
    const double h = in.gridStep;
    const int n = material.N();
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            const MaterialCode c = material(i, j);
            CoilFigures* coil = c == MaterialCode::Coil1   ? &coil1
                                : c == MaterialCode::Coil2 ? &coil2
                                                           : nullptr;
            if (coil != nullptr) {
                coil->present = true;
                coil->area = std::pow(h, 2) + coil->area;
                coil->ringLength = h * (i * 6.28) + coil->ringLength;
            }
        }
    }
    const double s2 = std::pow(h, 2);
    DeriveCoilFigures(coil1, in.current1, in.dProv1, s2);
    DeriveCoilFigures(coil2, in.current2, in.dProv2, s2);
}

}  // namespace tesvid
