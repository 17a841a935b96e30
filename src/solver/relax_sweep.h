#pragma once

// One red-black iteration of the vector-potential relaxation (both half-sweeps, without the
// boundary update), over plain arrays. Several builds of the same sweep exist: one for any
// processor and, on x86-64, one with two-lane SSE2 vectors and one with four-lane AVX2 vectors.
// All of them perform, node by node, exactly the same floating-point operations in the same
// order, so they give the same potential and reluctivity to the last bit; only the order in
// which the residuals are summed into the error sum differs.
//
// This header is included by translation units compiled with different instruction sets:
// it declares nothing but plain structs and functions.

#include <cstdint>

namespace tesvid::relax {

// How a node is relaxed.
enum class NodeKind : std::uint8_t {
    Uniform,   // UniformStencil set: per-column stencil coefficients
    Weighted,  // reluctivity-weighted stencil, reluctivity not relaxed (coils, next to iron)
    Iron,      // weighted stencil, reluctivity relaxed towards the iron curve
    Magnet,    // weighted stencil, reluctivity relaxed towards the magnet curve
};

// Nodes j0 .. j1 (inclusive) of one column, all of one kind.
struct NodeRun {
    int j0;
    int j1;
    NodeKind kind;
};

// Constants of one magnetic material's reluctivity curve.
struct CurveConstants {
    double mu;        // initial relative permeability m
    double bSat;      // curve induction b, T
    double twoMu;     // 2 * m
    double muSquare;  // m * m
};

struct SweepInput {
    int n;                     // GridSize: nodes 0..n a side, column-major, stride n + 1
    double gridStep;           // h, m
    double omega;              // over-relaxation factor of the pass
    double kMu;                // reluctivity relaxation factor of the pass (0: nu stays)
    double* vecPot;            // A
    double* reluctivity;       // nu
    const double* sourceMean;  // (S(i, j-1) + S(i, j)) / 2 per node
    const double* coefRPlus;   // per column
    const double* coefRMinus;
    const double* coefDiag;
    const NodeRun* runs;    // the runs of all inner columns, column 1 first
    const int* columnRuns;  // runs of column i: columnRuns[i - 1] .. columnRuns[i] - 1
    CurveConstants iron;
    CurveConstants magnet;
};

// The sweeps; each returns the sum of the absolute residuals of the iteration.
double SweepIterationScalar(const SweepInput& in);
double SweepIterationSse2(const SweepInput& in);
double SweepIterationAvx(const SweepInput& in);
// The nodes of one colour (0: i + j even, 1: odd) in the columns i0 .. i1 only: the share of
// one thread in a half-sweep. Every node gets exactly the operations it gets in the whole
// iteration, so any split of the columns gives the same potential and reluctivity.
double SweepShareScalar(const SweepInput& in, int colour, int i0, int i1);
double SweepShareSse2(const SweepInput& in, int colour, int i0, int i1);
double SweepShareAvx(const SweepInput& in, int colour, int i0, int i1);

// Whether the vector builds exist in this program (they need an x86-64 compiler).
bool Sse2SweepBuilt();
bool AvxSweepBuilt();

enum class SweepBuild : std::uint8_t { Scalar, Sse2, Avx };

// The fastest build this processor runs, unless one was chosen with SelectSweepBuild.
SweepBuild ActiveSweepBuild();
// Chooses a build (tests compare the builds with each other); a build that this program or
// processor lacks falls back to the fastest available one.
void SelectSweepBuild(SweepBuild build);
// Back to the automatic choice.
void SelectFastestSweepBuild();
// Runs the active build.
double SweepIteration(const SweepInput& in);
double SweepShare(const SweepInput& in, int colour, int i0, int i1);

}  // namespace tesvid::relax
