#include "solver/relax_pass.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "solver/relax_sweep.h"
#include "solver/sweep_team.h"

// The field equation and its discretisation
// -----------------------------------------
// In an axially symmetric arrangement the magnetic vector potential has only an azimuthal
// component A(r, z), and B = curl A gives
//     Br = -dA/dz,   Bz = (1/r) d(r A)/dr.
// Ampere's law, curl(nu curl A) = mu0 J with the relative reluctivity nu = 1/mu_r, becomes for
// that one component
//     d/dz(nu dA/dz) + d/dr(nu (1/r) d(r A)/dr) = -mu0 J.
// (A's sign follows the program's convention: Z runs down the picture, and a positive current
// density gives a negative Bz on the axis.)
// On the square grid r = i h, z = j h (h = GridStep in m, node (i, j)), the radial term is
// taken as a difference of the fluxes (1/r) d(rA)/dr through the cell faces at i +- 1/2:
//     [ ((i+1) A(i+1) - i A(i)) / (i + 1/2) - (i A(i) - (i-1) A(i-1)) / (i - 1/2) ] / h^2,
// which gives the radial weights (i+1)/(i+1/2) of A(i+1, j) and (i-1)/(i-1/2) of A(i-1, j)
// and the diagonal i/(i+1/2) + i/(i-1/2) + 2 (with the two axial neighbours). Multiplied by
// h^2, the node's equation is
//     sum of weighted neighbours - D A(i, j) = S(i, j)
// with S = mu0 J h^2 for a winding (SolverArrays::Source, T m) and the magnets' equivalent
// surface currents. Where nu is not 1 everywhere around the node, every link between two
// nodes carries nu of its lower-index end (the weighted stencil; the uniform one reads the
// per-column coefficients CoefRPlus, CoefRMinus, CoefDiag). The source is taken as the mean
// of the node's and its upper neighbour's, (S(i, j-1) + S(i, j)) / 2.
// The residual R = sum - D A - S drives the successive over-relaxation A += omega R / D, on
// red nodes (i + j even) and then black ones, in place.

namespace tesvid {

int IterationsPerPass(int gridSize) {
    return static_cast<int>(std::nearbyint(gridSize / 5.0));
}

namespace {

using relax::NodeKind;
using relax::NodeRun;

NodeKind KindOf(const SolverArrays& a, int i, int j) {
    if (a.UniformStencil(i, j) != 0) {
        return NodeKind::Uniform;
    }
    switch (a.Material(i, j)) {
        case MaterialCode::Iron:
            return NodeKind::Iron;
        case MaterialCode::MagnetS:
        case MaterialCode::MagnetN:
            return NodeKind::Magnet;
        default:
            return NodeKind::Weighted;
    }
}

relax::CurveConstants Curve(double mu, double bSat) {
    return {mu, bSat, 2 * mu, mu * mu};
}

// Relative time of relaxing a node of each kind (measured on the four-lane sweep), to share
// the columns of a half-sweep evenly between threads. Iron and magnet nodes move their
// reluctivity only when the pass has a reluctivity step.
double NodeCost(NodeKind kind, bool reluctivitySteps) {
    switch (kind) {
        case NodeKind::Uniform:
            return 1;
        case NodeKind::Weighted:
            return 1.4;
        case NodeKind::Iron:
        case NodeKind::Magnet:
            break;
    }
    return reluctivitySteps ? 6 : 1.4;
}

// Grids smaller than this are relaxed by one thread: a half-sweep is too short to share.
constexpr int kSmallestSharedGrid = 100;

// What a pass derives once from the material map: the runs of equally treated nodes in every
// column, the mean source of each node and its upper neighbour, and the columns each thread
// relaxes (first columns of the shares, and one past the last column).
struct PassPlan {
    std::vector<NodeRun> runs;
    std::vector<int> columnRuns;
    std::vector<double> sourceMean;
    std::vector<int> shares;

    PassPlan(const SolverArrays& a, int threads, bool reluctivitySteps) {
        const int n = a.Material.N();
        columnRuns.assign(static_cast<std::size_t>(n), 0);
        for (int i = 1; i <= n - 1; ++i) {
            int j0 = 1;
            NodeKind kind = KindOf(a, i, 1);
            for (int j = 2; j <= n; ++j) {
                const bool end = j == n;
                const NodeKind next = end ? kind : KindOf(a, i, j);
                if (end || next != kind) {
                    runs.push_back({j0, j - 1, kind});
                    j0 = j;
                    kind = next;
                }
            }
            columnRuns[static_cast<std::size_t>(i)] = static_cast<int>(runs.size());
        }
        sourceMean.assign(a.Source.Size(), 0.0);
        for (int i = 1; i <= n - 1; ++i) {
            for (int j = 1; j <= n - 1; ++j) {
                sourceMean[a.Source.Index(i, j)] = (a.Source(i, j - 1) + a.Source(i, j)) / 2;
            }
        }
        ShareColumns(n, threads, reluctivitySteps);
    }

    void ShareColumns(int n, int threads, bool reluctivitySteps) {
        std::vector<double> cost(static_cast<std::size_t>(n), 0.0);  // cost[i], i = 1 .. n-1
        double total = 0;
        for (int i = 1; i <= n - 1; ++i) {
            const int r0 = columnRuns[static_cast<std::size_t>(i - 1)];
            for (int r = r0; r < columnRuns[static_cast<std::size_t>(i)]; ++r) {
                cost[static_cast<std::size_t>(i)] +=
                    (runs[r].j1 - runs[r].j0 + 1) * NodeCost(runs[r].kind, reluctivitySteps);
            }
            total += cost[static_cast<std::size_t>(i)];
        }
        shares.assign(1, 1);
        double done = 0;
        for (int i = 1; i <= n - 1 && static_cast<int>(shares.size()) < threads; ++i) {
            done += cost[static_cast<std::size_t>(i)];
            if (done >= total * static_cast<double>(shares.size()) / threads && i < n - 1) {
                shares.push_back(i + 1);
            }
        }
        shares.push_back(n);
    }
};

// One iteration (both half-sweeps), shared between the team's threads when there is a team.
double Iteration(const relax::SweepInput& in, const PassPlan& plan, SweepTeam* team) {
    const int parts = static_cast<int>(plan.shares.size()) - 1;
    if (team == nullptr || parts < 2) {
        return relax::SweepIteration(in);
    }
    // A sweep stores whole groups of a column, writing the other colour's values back
    // unchanged, and reads both neighbour columns. So that no thread reads a column another is
    // writing, the first column of every share but the first (the seam) waits: the threads
    // sweep their shares without it, then the seams are swept one after the other. Nodes of
    // one colour do not depend on each other, so the order changes nothing but the sum.
    std::vector<double> partial(2 * static_cast<std::size_t>(parts), 0.0);
    double sum = 0;
    for (int colour = 0; colour < 2; ++colour) {
        team->Run([&](int part) {
            if (part < parts) {
                const int first = plan.shares[static_cast<std::size_t>(part)] + (part > 0 ? 1 : 0);
                const int last = plan.shares[static_cast<std::size_t>(part) + 1] - 1;
                if (first <= last) {
                    partial[2 * static_cast<std::size_t>(part) + colour] =
                        relax::SweepShare(in, colour, first, last);
                }
            }
        });
        for (int part = 1; part < parts; ++part) {
            const int seam = plan.shares[static_cast<std::size_t>(part)];
            sum += relax::SweepShare(in, colour, seam, seam);
        }
    }
    for (const double p : partial) {
        sum += p;
    }
    return sum;
}

// Open boundary. The area is cut out of unbounded space, so A on its first and last rows and
// its last column is not zero: after every iteration each boundary value continues the two
// nodes inside it,
//     A(boundary) = (1.5 - k) A(first inside) - (0.5 + k) A(second inside),
// that is the slope between them carried on for half a cell, less k times their difference,
// which lets the potential fall off outside the area. k shrinks with the grid (a finer grid
// puts the two inner nodes closer to the edge). The axis column keeps A = 0 (r A vanishes on
// the axis), and so does the corner A(N, 0).
double BoundaryDamping(int n) {
    switch (n) {
        case 50:
            return 0.02;
        case 100:
            return 0.01;
        case 200:
            return 0.006;
        case 400:
            return 0.004;
        default:
            return 0;
    }
}

void UpdateOpenBoundary(Grid2D<double>& a, int n) {
    const double k = BoundaryDamping(n);
    for (int i = 1; i <= n - 1; ++i) {
        a(i, 0) = (1.5 - k) * a(i, 1) - (0.5 + k) * a(i, 2);
        a(i, n) = (1.5 - k) * a(i, n - 1) - (0.5 + k) * a(i, n - 2);
    }
    for (int j = 1; j <= n; ++j) {
        a(n, j) = (1.5 - k) * a(n - 1, j) - (0.5 + k) * a(n - 2, j);
    }
}

void ReportPassEnd(const SolverArrays& a, const PassSettings& pass, CalculationObserver& observer) {
    observer.SetProgressValue(pass.passNumber);
    observer.SetErrorValue(ErrorIndicator(a.ResidualSum, a.SourceNorm));
    observer.Yield();
    observer.PassFinished(a);
}

}  // namespace

// Error indicator of a pass: E = ln(sum |R| / sum |S| + 0.1) + 2.5 (natural logarithm), from
// the residual sum of its last iteration. It is about 0.2 for a settled potential (the sum
// of residuals small against that of the sources) and grows by 2.3 for every factor of ten
// the residuals exceed the sources; it is shown on a bar of full scale 8.
double ErrorIndicator(double residualSum, double sourceNorm) {
    const double e = std::log(residualSum / sourceNorm + 0.1) + 2.5;
    // An undefined indicator (no source and no residual) shows as the full bar too.
    return e <= kErrorIndicatorFullScale ? e : kErrorIndicatorFullScale;
}

void RelaxPass(SolverArrays& a, const Project& project, const PassSettings& pass,
               CalculationObserver& observer, SweepTeam* team) {
    const int n = project.GridSize;
    if (ArraysFitGrid(a, n)) {
        const int threads = team != nullptr && n >= kSmallestSharedGrid ? team->Size() : 1;
        const PassPlan plan(a, threads, pass.reluctivityStep != 0);
        relax::SweepInput in{};
        in.n = n;
        in.gridStep = project.GridStep;
        in.omega = pass.omega;
        in.kMu = pass.reluctivityStep;
        in.sourceMean = plan.sourceMean.data();
        in.runs = plan.runs.data();
        in.columnRuns = plan.columnRuns.data();
        in.iron = Curve(project.SteelMu, project.SteelSaturationB);
        in.magnet = Curve(project.MagMuRec, project.MagCurveK);
        const int iterations = IterationsPerPass(n);
        for (int it = 1; it <= iterations && !observer.StopRequested(); ++it) {
            // An event handler may have replaced the arrays during the last yield: take their
            // addresses afresh, and give up the pass if they no longer fit the grid.
            if (!ArraysFitGrid(a, n)) {
                break;
            }
            in.vecPot = a.VecPot.Data();
            in.reluctivity = a.Reluctivity.Data();
            in.coefRPlus = a.CoefRPlus.data();
            in.coefRMinus = a.CoefRMinus.data();
            in.coefDiag = a.CoefDiag.data();
            a.ResidualSum = Iteration(in, plan, threads > 1 ? team : nullptr);
            UpdateOpenBoundary(a.VecPot, n);
            observer.Yield();
        }
    }
    a.LastReluctivityStep = pass.reluctivityStep;
    ReportPassEnd(a, pass, observer);
}

}  // namespace tesvid
