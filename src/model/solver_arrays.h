#pragma once

#include <cstdint>
#include <vector>

#include "model/grid2d.h"
#include "model/material_code.h"

namespace tesvid {

// How the field is differentiated from a potential.
enum class FieldDifferences : std::uint8_t {
    // Forward differences, backward on the far edges: B half a cell off the node (the fixed
    // schedule's result, and every potential read from a file).
    OneSided,
    // Centred differences at the node, second-order one-sided ones where a neighbour is
    // missing (the result of a calculation until converged).
    Centred,
};

// The grid arrays of a calculation, all (0..N, 0..N) for the grid they were built for.
// Node (i, j): i is the radius index (0 = the axis), j the axial index (0 = top edge).
struct SolverArrays {
    std::int16_t MapGridSize = 0;  // the N the arrays were built for
    Grid2D<MaterialCode> Material;
    Grid2D<double> VecPot;       // A, the azimuthal vector potential, T m
    Grid2D<double> Source;       // mu0 J h^2 per node (coils) or the magnet's face term
    Grid2D<double> Reluctivity;  // nu = 1 / mu_r of each node's links
    // Set where the node and the neighbours its stencil reads all have nu = 1: the node is
    // relaxed with the per-column coefficients below.
    Grid2D<std::uint8_t> UniformStencil;
    std::vector<double> CoefRPlus;   // (0..N): weight of A(i+1, j) in the uniform stencil
    std::vector<double> CoefRMinus;  // (0..N): weight of A(i-1, j)
    std::vector<double> CoefDiag;    // (0..N): the diagonal
    double SourceNorm = 0;           // sum of |Source|, the error indicator's scale
    double ResidualSum = 0;          // sum of |residual| of the last iteration
    double LastReluctivityStep = 0;  // the reluctivity relaxation of the last pass (stored)
    // How EvaluateField differentiates VecPot: set by the calculation that wrote it.
    FieldDifferences Differences = FieldDifferences::OneSided;
};

// Br, Bz and |B| on every node, in tesla, for the grid of the potential they came from.
struct FieldArrays {
    Grid2D<float> Br;
    Grid2D<float> Bz;
    Grid2D<float> B;
};

// True when every grid array of the calculation exists for grid size n.
bool ArraysFitGrid(const SolverArrays& arrays, int n);

}  // namespace tesvid
