#include "solver/converged_calculation.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

#include "solver/field_problem.h"
#include "solver/multigrid.h"
#include "solver/relax_pass.h"

namespace tesvid {

namespace {

// The nested grids go down to this many cells.
constexpr int kCoarsestNestedGrid = 50;
// A nested grid is solved until a step changes B by less than this (its answer differs from
// the finer grid's by more anyway), or for at most so many steps: many on the coarsest, which
// starts from nothing, few on the others, which start from the grid below.
constexpr double kNestedTolerance = 1e-3;
constexpr int kCoarsestSteps = 30;
constexpr int kNestedSteps = 2;
// Keeps the error indicator's scale above zero when nothing drives the field.
constexpr double kSourceNormFloor = 1e-200;

int FaceSign(MaterialCode inner, MaterialCode here) {
    const auto is = [](MaterialCode m, MaterialCode c) { return m == c ? 1 : 0; };
    return (is(here, MaterialCode::MagnetS) - is(inner, MaterialCode::MagnetS)) -
           (is(here, MaterialCode::MagnetN) - is(inner, MaterialCode::MagnetN));
}

bool AllFinite(const std::vector<double>& v) {
    for (const double x : v) {
        if (!std::isfinite(x)) {
            return false;
        }
    }
    return true;
}

// Runs Newton steps on a nested grid until they settle; false when Stop was pressed.
bool SolveNested(FieldProblem& p, int steps, SweepTeam* team, const std::function<bool()>& stop) {
    for (int step = 0; step < steps; ++step) {
        if (stop()) {
            return false;
        }
        if (p.NewtonStep(team, stop) == FieldProblem::Step::Stalled) {
            return true;
        }
        const double change = FieldChange(p.PotentialBeforeStep(), p.Potential(), p.N(),
                                          p.Input().h, FieldDifferences::Centred);
        if (!(change >= kNestedTolerance)) {
            return true;  // settled (or not finite: the calculation's own grid will tell)
        }
    }
    return true;
}

}  // namespace

std::vector<double> PaintedSource(const Grid2D<MaterialCode>& material, const Project& project) {
    const int n = material.N();
    const double h = project.GridStep;
    const double face = project.MagHc * kMu0 * h;
    std::vector<double> s(material.Size(), 0.0);
    for (int j = 1; j <= n - 1; ++j) {
        for (int i = 1; i <= n - 1; ++i) {
            const MaterialCode here = material(i, j);
            if (here == MaterialCode::Coil1) {
                s[material.Index(i, j)] += project.CurrentDensity1 * kMu0 * h * h;
            }
            if (here == MaterialCode::Coil2) {
                s[material.Index(i, j)] += project.CurrentDensity2 * kMu0 * h * h;
            }
        }
        // The face between nodes i - 1 and i.
        for (int i = 1; i <= n; ++i) {
            const int sign = FaceSign(material(i - 1, j), material(i, j));
            if (sign == 0) {
                continue;
            }
            const double sheet = sign * face;
            const int inner = i - 1 >= 1 ? i - 1 : i;
            const int outer = i <= n - 1 ? i : i - 1;
            s[material.Index(inner, j)] += sheet / 2;
            s[material.Index(outer, j)] += sheet / 2;
        }
    }
    return s;
}

double ExpansionCentre(const Grid2D<MaterialCode>& material) {
    const int n = material.N();
    double weight = 0;
    double moment = 0;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const MaterialCode m = material(i, j);
            if (IsMagnetic(m) || IsCoil(m)) {
                weight += i + 0.5;
                moment += (i + 0.5) * j;
            }
        }
    }
    return weight > 0 ? moment / weight : n / 2.0;
}

CalculationOutcome RunUntilConverged(SolverArrays& arrays, const Project& project,
                                     const CalculationSettings& settings,
                                     CalculationObserver& observer, SweepTeam* team) {
    CalculationOutcome out;
    out.schedule = ScheduleKind::Converge;
    out.plannedPasses = settings.passLimit;
    out.tolerance = settings.tolerance;
    out.change = std::numeric_limits<double>::quiet_NaN();
    out.ending = CalculationEnding::NotConverged;

    const int n = project.GridSize;
    const double h = project.GridStep;
    observer.BeginCalculation();
    observer.SetProgressMaximum(settings.passLimit);
    observer.SetProgressValue(0.001);
    observer.SetErrorValue(kErrorIndicatorFullScale);
    observer.Yield();
    if (!ArraysFitGrid(arrays, n) || n < 4 || !(h > 0) || !std::isfinite(h)) {
        // Nothing to calculate on: the arrays stay, as a fixed pass leaves them.
        observer.ShowResult();
        observer.EndCalculation();
        return out;
    }
    out.boundaryWarning = OpenBoundaryWarning(arrays.Material).value_or("");

    FieldProblemInput input;
    input.n = n;
    input.h = h;
    input.zc = ExpansionCentre(arrays.Material);
    input.material = arrays.Material;
    input.source = PaintedSource(arrays.Material, project);
    input.reluctivity = arrays.Reluctivity.Vector();
    input.iron = {project.SteelMu, project.SteelSaturationB};
    input.magnet = {project.MagMuRec, project.MagCurveK};
    double sourceNorm = kSourceNormFloor;
    for (const double v : input.source) {
        sourceNorm += std::abs(v);
    }

    const auto stop = [&] {
        observer.Yield();
        return observer.StopRequested();
    };
    bool stopped = false;
    bool diverged = false;

    // The nested grids, from the coarsest up.
    std::vector<FieldProblemInput> chain;
    chain.push_back(std::move(input));
    while (chain.back().n / 2 >= kCoarsestNestedGrid && chain.back().n % 2 == 0) {
        chain.push_back(CoarserProblem(chain.back()));
    }
    std::vector<double> start;
    for (std::size_t k = chain.size() - 1; k >= 1 && !stopped; --k) {
        FieldProblem nested(chain[k]);
        if (!start.empty()) {
            ProlongateAdd(start, nested.N(), nested.Potential());
        }
        nested.Evaluate(team);
        stopped = !SolveNested(nested, start.empty() ? kCoarsestSteps : kNestedSteps, team, stop);
        start = std::move(nested.Potential());
    }
    chain.resize(1);

    FieldProblem p(std::move(chain.front()));
    if (!start.empty()) {
        ProlongateAdd(start, n, p.Potential());
    }
    const double startResidual = p.Evaluate(team);
    diverged = !std::isfinite(startResidual);
    if (startResidual == 0) {
        // Nothing drives a field (or the start is exact): A = 0 solves the equations.
        out.ending = CalculationEnding::Converged;
        out.change = 0;
    }

    SolverArrays work = arrays;
    DivergenceWatch watch;
    const bool settled = out.ending == CalculationEnding::Converged;
    for (int pass = 1; pass <= settings.passLimit && !stopped && !diverged && !settled; ++pass) {
        if (observer.StopRequested()) {
            stopped = true;
            break;
        }
        const FieldProblem::Step step = p.NewtonStep(team, stop);
        if (step == FieldProblem::Step::Stalled) {
            // No step lowers the residual any more: it is at the level of rounding. The last
            // pass that changed anything decides.
            if (out.passes > 0 && out.change < settings.tolerance) {
                out.ending = CalculationEnding::Converged;
            }
            break;
        }
        const double change =
            FieldChange(p.PotentialBeforeStep(), p.Potential(), n, h, FieldDifferences::Centred);
        out.passes = pass;
        out.change = change;
        if (watch.Diverged(change) || !std::isfinite(p.ResidualNorm())) {
            diverged = true;
            break;
        }

        observer.SetProgressValue(pass);
        observer.SetErrorValue(ErrorIndicator(p.ResidualSum(), sourceNorm));
        observer.Yield();
        work.VecPot.Vector() = p.Potential();
        work.Reluctivity.Vector() = p.Reluctivity();
        observer.PassFinished(work);
        observer.PassMeasured(pass, change);

        if (observer.StopRequested()) {
            stopped = true;
        } else if (change < settings.tolerance) {
            out.ending = CalculationEnding::Converged;
            break;
        }
    }

    if (diverged || !AllFinite(p.Potential())) {
        out.ending = CalculationEnding::Diverged;
        observer.EndCalculation();
        return out;
    }
    if (stopped) {
        out.ending = CalculationEnding::Stopped;
    }
    arrays.VecPot.Vector() = p.Potential();
    arrays.Reluctivity.Vector() = p.Reluctivity();
    arrays.ResidualSum = p.ResidualSum();
    arrays.SourceNorm = sourceNorm;
    arrays.LastReluctivityStep = 0;
    arrays.Differences = FieldDifferences::Centred;
    observer.ShowResult();
    observer.EndCalculation();
    return out;
}

}  // namespace tesvid
