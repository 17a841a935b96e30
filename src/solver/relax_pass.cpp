#include "solver/relax_pass.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "solver/relax_sweep.h"

namespace tesvid {

int IterationsPerPass(int gridSize) {
    return static_cast<int>(std::nearbyint(gridSize / 5.0));
}

namespace {

using relax::NodeKind;
using relax::NodeRun;

// True when every array the pass reads or writes exists for GridSize.
bool ArraysReady(const ModelState& m) {
    const int n = m.GridSize;
    if (n < 2) {
        return false;
    }
    const std::size_t nodes = static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1);
    const auto fits = [&](const auto& grid) { return grid.N() == n && grid.Size() == nodes; };
    const auto columns = static_cast<std::size_t>(n) + 1;
    return fits(m.VecPot) && fits(m.MuNode) && fits(m.Source) && fits(m.Material) &&
           fits(m.FixedMask) && m.CoefRPlus.size() >= columns && m.CoefRMinus.size() >= columns &&
           m.CoefDiag.size() >= columns;
}

NodeKind KindOf(const ModelState& m, int i, int j) {
    if (m.FixedMask(i, j) != 0) {
        return NodeKind::Uniform;
    }
    switch (m.Material(i, j)) {
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

// What a pass derives once from the material map: the runs of equally treated nodes in every
// column and the mean source of each node and its upper neighbour.
struct PassPlan {
    std::vector<NodeRun> runs;
    std::vector<int> columnRuns;
    std::vector<double> sourceMean;

    explicit PassPlan(const ModelState& m) {
        const int n = m.GridSize;
        columnRuns.assign(static_cast<std::size_t>(n), 0);
        for (int i = 1; i <= n - 1; ++i) {
            int j0 = 1;
            NodeKind kind = KindOf(m, i, 1);
            for (int j = 2; j <= n; ++j) {
                const bool end = j == n;
                const NodeKind next = end ? kind : KindOf(m, i, j);
                if (end || next != kind) {
                    runs.push_back({j0, j - 1, kind});
                    j0 = j;
                    kind = next;
                }
            }
            columnRuns[static_cast<std::size_t>(i)] = static_cast<int>(runs.size());
        }
        sourceMean.assign(m.Source.Size(), 0.0);
        for (int i = 1; i <= n - 1; ++i) {
            for (int j = 1; j <= n - 1; ++j) {
                sourceMean[m.Source.Index(i, j)] = (m.Source(i, j - 1) + m.Source(i, j)) / 2;
            }
        }
    }
};

// Extrapolation factor of the open boundary for the grid size.
double BoundaryFactor(int n) {
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

// The first and last rows, then the last column, extrapolated from the two nodes inside.
void UpdateOpenBoundary(Grid2D<double>& a, int n) {
    const double k = BoundaryFactor(n);
    for (int i = 1; i <= n - 1; ++i) {
        a(i, 0) = (1.5 - k) * a(i, 1) - (0.5 + k) * a(i, 2);
        a(i, n) = (1.5 - k) * a(i, n - 1) - (0.5 + k) * a(i, n - 2);
    }
    for (int j = 1; j <= n; ++j) {
        a(n, j) = (1.5 - k) * a(n - 1, j) - (0.5 + k) * a(n - 2, j);
    }
}

void ShowPassEnd(ModelState& m, CalculationObserver& observer) {
    observer.SetProgressValue(m.PassNo);
    double e = std::log(m.ErrSum / m.SourceNorm + 0.1) + 2.5;
    const double largest = observer.ErrorMaximum();
    if (!(e <= largest)) {
        e = largest;  // also an undefined indicator shows as the full bar
    }
    observer.SetErrorValue(e);
    observer.Yield();
    if (m.ShowIntermediate) {
        observer.ShowIntermediate();
    }
}

}  // namespace

void RelaxPass(ModelState& m, CalculationObserver& observer) {
    if (ArraysReady(m)) {
        const int n = m.GridSize;
        const PassPlan plan(m);
        relax::SweepInput in{};
        in.n = n;
        in.gridStep = m.GridStep;
        in.omega = m.Omega;
        in.kMu = m.KMuCur;
        in.sourceMean = plan.sourceMean.data();
        in.runs = plan.runs.data();
        in.columnRuns = plan.columnRuns.data();
        in.iron = Curve(m.SteelMu, m.SteelMaxB);
        in.magnet = Curve(m.MagMuRec, m.MagCurveK);
        const int iterations = IterationsPerPass(n);
        for (int it = 1; it <= iterations && !m.StopRequested; ++it) {
            // An event handler may have replaced the arrays during the last yield: take their
            // addresses afresh, and give up the pass if they no longer fit the grid.
            if (!ArraysReady(m) || m.GridSize != n) {
                break;
            }
            in.vecPot = m.VecPot.Data();
            in.muNode = m.MuNode.Data();
            in.coefRPlus = m.CoefRPlus.data();
            in.coefRMinus = m.CoefRMinus.data();
            in.coefDiag = m.CoefDiag.data();
            m.ErrSum = relax::SweepIteration(in);
            UpdateOpenBoundary(m.VecPot, n);
            observer.Yield();
        }
    }
    ShowPassEnd(m, observer);
}

}  // namespace tesvid
