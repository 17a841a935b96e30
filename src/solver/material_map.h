#pragma once

#include "model/grid2d.h"
#include "model/material_code.h"
#include "model/model_state.h"

namespace tesvid {

// Re-creates every grid array for ModelState::GridSize (all zero), fills the per-column
// stencil coefficients and sets MapGridSize. The field arrays are left alone.
void CreateGridArrays(ModelState& m);

// Derives FixedMask, Source and MuNode from ModelState::Material (which must have
// GridSize + 1 nodes a side), using CurDens1/2, MagHc, SteelMu, MagMuRec and GridStep.
void DeriveFromMaterial(ModelState& m);

// The whole material map from a sampled drawing: CreateGridArrays, Material = sampled
// (a grid of GridSize), DeriveFromMaterial.
void BuildMaterialMap(ModelState& m, const Grid2D<MaterialCode>& sampled);

// Fits the magnet curve coefficient to MagBr, MagHc, MagBHmax: writes MagCurveK and MagMuRec.
void FitMagnetCurve(ModelState& m);

// The magnets' relative permeability parameter for a curve coefficient k.
double MagnetMuRec(double br, double hc, double k);

}  // namespace tesvid
