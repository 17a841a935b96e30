#pragma once

#include "model/grid2d.h"
#include "model/material_code.h"
#include "model/model.h"

namespace tesvid {

// Re-creates every solver array for the project's GridSize (all zero), fills the per-column
// stencil coefficients and sets MapGridSize. The field arrays are left alone.
void CreateGridArrays(Model& m);

// Derives UniformStencil, Source and Reluctivity from the arrays' Material (arrays as CreateGridArrays
// makes them), using CurrentDensity1/2, MagHc, SteelMu, MagMuRec and GridStep. SteelMu and MagMuRec
// are divided by only where iron or a magnet is drawn. Arrays of mismatched sizes are left
// as they are.
void DeriveFromMaterial(Model& m);

// The whole material map from a sampled drawing: CreateGridArrays, Material = sampled
// (a grid of GridSize; of another size, the nodes both have, Vacuum elsewhere),
// DeriveFromMaterial.
void BuildMaterialMap(Model& m, const Grid2D<MaterialCode>& sampled);

// Fits the magnet curve coefficient to MagBr, MagHc, MagBHmax: writes MagCurveK and MagMuRec.
// Without a positive finite MagBr and MagHc there is no curve: both become 0 (a calculation
// with a magnet drawn is then refused, see CalculationRefusal).
void FitMagnetCurve(Project& p);

// The magnets' relative permeability parameter for a curve coefficient k.
double MagnetMuRec(double br, double hc, double k);

}  // namespace tesvid
