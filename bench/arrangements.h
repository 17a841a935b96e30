#pragma once

// The arrangements the benchmarks calculate, drawn in cells of a 50 grid and scaled to any grid
// size: an air-core coil, a coil in a saturating iron pot core, and an axially magnetised ring
// magnet with iron pole pieces.

#include "model/model.h"
#include "solver/material_map.h"

namespace bench {

using tesvid::Grid2D;
using tesvid::MaterialCode;
using tesvid::Model;

// Paints a block given in cells of a 50 grid, scaled to the material grid's size.
inline void Block(Grid2D<MaterialCode>& material, int i0, int i1, int j0, int j1,
                  MaterialCode code) {
    const int s = material.N() / 50;
    for (int i = i0 * s; i <= (i1 + 1) * s - 1; ++i) {
        for (int j = j0 * s; j <= (j1 + 1) * s - 1; ++j) {
            material(i, j) = code;
        }
    }
}

enum class Arrangement { AirCoil, PotCore, RingMagnet };

inline Grid2D<MaterialCode> Draw(Arrangement arrangement, int n) {
    Grid2D<MaterialCode> m(n);
    switch (arrangement) {
        case Arrangement::AirCoil:
            Block(m, 10, 14, 18, 32, MaterialCode::Coil1);
            break;
        case Arrangement::PotCore:
            // Post through the coil on the axis, end plates and an outer shell around it.
            Block(m, 0, 17, 12, 15, MaterialCode::Iron);
            Block(m, 0, 17, 35, 38, MaterialCode::Iron);
            Block(m, 0, 5, 16, 34, MaterialCode::Iron);
            Block(m, 14, 17, 16, 34, MaterialCode::Iron);
            Block(m, 7, 12, 17, 33, MaterialCode::Coil1);
            break;
        case Arrangement::RingMagnet:
            // Axially magnetised ring between two iron pole pieces.
            Block(m, 6, 14, 22, 27, MaterialCode::MagnetN);
            Block(m, 4, 15, 18, 21, MaterialCode::Iron);
            Block(m, 4, 15, 28, 31, MaterialCode::Iron);
            break;
    }
    return m;
}

inline Model BuildModel(Arrangement arrangement, int n) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.project.AreaSize = 100;
    m.project.GridStep = 100 * 0.001 / n;
    m.project.SteelMu = 1000;
    m.project.SteelSaturationB = 1.6;
    m.project.MagBr = 1.2;
    m.project.MagHc = 900e3;
    m.project.MagBHmax = 280e3;
    tesvid::FitMagnetCurve(m.project);
    m.project.Rjac0 = 0.995;
    m.project.Rjac1 = 0.9995;
    m.project.RjacFin = 0.95;
    m.project.MainSteps = 10;
    m.project.WireDiameter1 = 1;
    m.project.ReluctivityRelaxation = 0.05;
    // 2e7 A/m2 over the pot core's winding (12 x 34 mm) drives about 8 kA-turns round a closed
    // iron path of about 15 cm: the iron saturates.
    m.project.CurrentDensity1 = arrangement == Arrangement::PotCore ? 2e7 : 5e6;
    tesvid::BuildMaterialMap(m, Draw(arrangement, n));
    return m;
}

}  // namespace bench
