#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/grid2d.h"
#include "model/material_code.h"

namespace tesvid {

inline constexpr double kMu0 = 1.256e-6;
inline constexpr int kCommentLength = 200;

// The one shared block of model data: parameters, run flags and the grid arrays.
// Grid node (i, j): i is the radius index (0 = the axis), j the axial index (0 = top edge).
struct ModelState {
    // Grid and area.
    std::int16_t GridSize = 0;
    std::int16_t MapGridSize = 0;
    float AreaSize = 0;  // mm
    double GridStep = 0;  // m

    // Coils.
    double Current1 = 0, Current2 = 0;  // A
    double CurDens1 = 0, CurDens2 = 0;  // A/m2
    double MaxTok1 = 0, MaxTok2 = 0;    // A, full scale of the sliders
    double DProv1 = 0, DProv2 = 0;      // mm, wire diameters

    // Materials.
    double SteelMu = 0;    // initial relative permeability of iron
    double SteelMaxB = 0;  // T
    double MagBr = 0;      // T
    double MagHc = 0;      // A/m
    double MagBHmax = 0;   // J/m3
    double MagCurveK = 0;  // T
    double MagMuRec = 0;

    // Solver schedule.
    double Rjac0 = 0, Rjac1 = 0, RjacFin = 0;
    double Omega = 0;
    double KMu = 0;
    double KMuCur = 0;
    std::int16_t MainSteps = 0;
    std::int16_t PassNo = 0;
    double SourceNorm = 0;
    double ErrSum = 0;

    // Output.
    float PrintScale = 0;
    float LineStep = 0;
    // Exactly kCommentLength bytes in ISO 8859-1, padded with spaces.
    std::string Comments = std::string(kCommentLength, ' ');

    // Flags.
    bool EditorMode = false;
    bool StopRequested = false;
    bool ShowIntermediate = false;
    bool ShowCrossSections = false;
    bool PointerHold = false;

    // Grid arrays, (0..N, 0..N) unless noted.
    Grid2D<MaterialCode> Material;
    Grid2D<double> VecPot;
    Grid2D<double> FluxFn;
    Grid2D<double> Source;
    Grid2D<double> MuNode;
    Grid2D<std::uint8_t> FixedMask;
    Grid2D<std::uint8_t> TraceMark;
    Grid2D<std::int16_t> NodeColor;
    std::vector<double> CoefRPlus;   // (0..N)
    std::vector<double> CoefRMinus;  // (0..N)
    std::vector<double> CoefDiag;    // (0..N)
    Grid2D<float> FieldBr;  // created by EvaluateField, at the grid size of that call
    Grid2D<float> FieldBz;
    Grid2D<float> FieldB;
};

// Pen width in pixels of one grid cell on the 400-pixel drawing area.
constexpr int PenWidthFor(int gridSize) { return gridSize > 0 ? 400 / gridSize : 1; }

constexpr bool IsSupportedGridSize(int n) { return n == 50 || n == 100 || n == 200 || n == 400; }

}  // namespace tesvid
