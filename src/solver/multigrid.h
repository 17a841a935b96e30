#pragma once

#include <cstddef>
#include <vector>

#include "solver/multipole_boundary.h"
#include "solver/relax_sweep.h"

namespace tesvid {

class SweepTeam;

// Full weighting of a fine grid's values (n cells, column-major) onto the grid of n / 2 cells,
// each fine value weighted by its radius, i / (2 I): the equations are symmetric with the
// radius as weight, and this is the transpose of the bilinear interpolation in that weight.
// A fine node next to the open boundary gives its whole share to the coarse node inside it:
// the coarse boundary is no unknown of its own but follows that node through the fitted
// expansion. Coarse boundary and axis values are 0.
void RestrictWeighted(const std::vector<double>& fine, int n, std::vector<double>& coarse);

// Adds the bilinear interpolation of a grid of n / 2 cells to every node of a grid of n.
void ProlongateAdd(const std::vector<double>& coarse, int n, std::vector<double>& fine);

// Geometric multigrid for the potential equation with the reluctivity held fixed.
//
// Every grid of the hierarchy (n, n/2, n/4, ... down to a grid of at most 32 cells or an odd
// one) carries the equation of the relaxation in link form: node (i, j) is tied to its four
// neighbours by links whose reluctivity nuR (radial link i -> i+1) and nuZ (axial link
// j -> j+1) belongs to the link's lower-index end,
//     nuR(i) (i+1)/(i+1/2) A(i+1) + nuR(i-1) (i-1)/(i-1/2) A(i-1) + nuZ(j) A(j+1) + nuZ(j-1) A(j-1)
//     - [nuR(i) i/(i+1/2) + nuR(i-1) i/(i-1/2) + nuZ(j) + nuZ(j-1)] A = f,
// f = S on the finest grid (S = mu0 J h^2) and the restricted residual on the coarser ones. On
// the finest grid nuR = nuZ = the node's reluctivity, which is the relaxation's own stencil.
// A coarse link takes the mean reluctivity of the fine links it covers: the two in series
// along it, on the three fine rows (or columns) across it (weights 1/4, 1/2, 1/4). Where iron
// and air share a coarse link this makes the coarse grid stiffer than the fine one, so a
// coarse correction never overshoots; the Krylov method around the cycle (FlexibleGmres) makes
// up for the corrections it leaves short.
//
// One cycle: a red-black Gauss-Seidel iteration (on the finest grid the relaxation's own sweep,
// relax_sweep.h, without over-relaxation or reluctivity steps), the residual restricted to the
// next grid (RestrictWeighted), the cycle there, the correction interpolated back (bilinear)
// and added, one more iteration. The coarsest grid gets 20 over-relaxed iterations. After every
// iteration on every grid the open boundary is fitted anew (MultipoleBoundary): the correction
// obeys the same boundary condition as the potential.
class Multigrid {
  public:
    // n: cells a side of the finest grid; zc: centre of the boundary expansion, node units.
    Multigrid(int n, double zc);

    int N() const { return levels_.front().n; }

    // Takes the reluctivity of every finest node (the finest links); the coarser links are
    // derived from them when the next Precondition needs them.
    void SetReluctivity(const std::vector<double>& nu);

    // z = an approximate solution of L z = r with the open boundary (one cycle from z = 0);
    // r and z are (n + 1)^2 arrays, r read on the inner nodes only. team may be null.
    void Precondition(const std::vector<double>& r, std::vector<double>& z, SweepTeam* team);

    // Fits the open boundary of x, then y = L x on the inner nodes (0 elsewhere).
    void Apply(std::vector<double>& x, std::vector<double>& y, SweepTeam* team);

    // Fits and writes the open boundary of x.
    void FitBoundary(std::vector<double>& x) const;

  private:
    struct Level {
        int n = 0;
        std::vector<double> a;    // potential (finest) or correction
        std::vector<double> f;    // right-hand side (coarser grids)
        std::vector<double> r;    // residual
        std::vector<double> nuR;  // radial link reluctivity (finest grid: of the node)
        std::vector<double> nuZ;  // axial link reluctivity (empty on the finest grid)
        MultipoleBoundary boundary;
    };

    void Coarsen();
    void CoarsenLinks(const Level& fine, Level& coarse);
    void Smooth(std::size_t level, const double* f, SweepTeam* team, double omega);
    void Residual(Level& l, const double* f, SweepTeam* team);
    void CycleFrom(std::size_t level, const double* f, SweepTeam* team);

    std::vector<Level> levels_;
    bool coarsened_ = false;
    // The finest grid's sweep: its runs of uniform and weighted nodes and stencil coefficients.
    relax::SweepInput sweep_{};
    std::vector<relax::NodeRun> runs_;
    std::vector<int> columnRuns_;
    std::vector<double> coefRPlus_, coefRMinus_, coefDiag_;
};

}  // namespace tesvid
