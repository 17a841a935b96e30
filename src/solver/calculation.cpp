#include "solver/calculation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "solver/converged_calculation.h"
#include "solver/field_differences.h"
#include "solver/relax_pass.h"
#include "solver/sweep_team.h"

namespace tesvid {

// Successive over-relaxation converges fastest at omega = 2 / (1 + sqrt(1 - rho^2)) for an
// iteration matrix of spectral (Jacobi) radius rho. The radius the user types is meant for a
// 100-cell grid; 1 - rho shrinks in proportion to the cell size, so it is scaled by
// 100 / gridSize.
double OptimalOmega(double rjac, int gridSize) {
    const double rho = 1 - (1 - rjac) * 100 / gridSize;
    return 2 / (1 + std::sqrt(1 - rho * rho));
}

namespace {

// The largest number of main passes whose pass numbers (up to MainSteps + 4) still fit the
// 16-bit pass counter of the progress bar.
constexpr int kMostMainPasses = 32767 - 4;

// Keeps the error indicator's scale above zero when nothing drives the field.
constexpr double kSourceNormFloor = 1e-200;

double SumOfAbsoluteSources(const SolverArrays& a, int n) {
    double sum = kSourceNormFloor;
    if (a.Source.N() != n) {
        return sum;
    }
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            sum = sum + std::abs(a.Source(i, j));
        }
    }
    return sum;
}

// The fixed schedule, with its measure after every pass.
CalculationOutcome RunFixedSchedule(SolverArrays& arrays, const Project& project,
                                    const CalculationSettings& settings,
                                    CalculationObserver& observer, SweepTeam* team) {
    // A negative number of main passes runs none; the schedule is then the four fixed passes.
    const int mainPasses = std::clamp<int>(project.MainSteps, 0, kMostMainPasses);
    const int n = project.GridSize;
    const double relaxation = project.ReluctivityRelaxation;
    CalculationOutcome out;
    out.schedule = ScheduleKind::Fixed;
    out.plannedPasses = mainPasses + 4;
    out.tolerance = settings.tolerance;
    out.change = std::numeric_limits<double>::quiet_NaN();
    out.boundaryWarning = OpenBoundaryWarning(arrays.Material).value_or("");
    const bool measurable = ArraysFitGrid(arrays, n);
    // What the caller handed in, to give back when the calculation diverges.
    const std::vector<double> startPotential = arrays.VecPot.Vector();
    const std::vector<double> startReluctivity = arrays.Reluctivity.Vector();
    const double startResidual = arrays.ResidualSum;
    const double startStep = arrays.LastReluctivityStep;
    std::vector<double> before;
    DivergenceWatch watch;
    bool diverged = false;
    bool stopped = false;
    const auto run = [&](double omega, double reluctivityStep, int passNumber) {
        if (diverged) {
            return;
        }
        if (observer.StopRequested()) {
            stopped = true;
        } else {
            out.passes = passNumber;
        }
        if (measurable) {
            before = arrays.VecPot.Vector();
        }
        RelaxPass(arrays, project, PassSettings{omega, reluctivityStep, passNumber}, observer,
                  team);
        if (measurable && !stopped) {
            out.change = FieldChange(before, arrays.VecPot.Vector(), n, project.GridStep,
                                     FieldDifferences::OneSided);
            observer.PassMeasured(passNumber, out.change);
            diverged = watch.Diverged(out.change);
        }
    };

    observer.BeginCalculation();
    observer.SetProgressMaximum(mainPasses + 4);
    observer.SetProgressValue(0.001);
    observer.SetErrorValue(kErrorIndicatorFullScale);
    observer.Yield();
    arrays.SourceNorm = SumOfAbsoluteSources(arrays, n);

    // The schedule: a first pass with the iron's initial reluctivity, a second that starts
    // moving it at half the rate, the main passes, and two passes that bring the rate back
    // to zero, so that the last one relaxes the potential over a fixed reluctivity.
    run(OptimalOmega(project.Rjac0, n), 0, 1);
    run(OptimalOmega((project.Rjac0 + project.Rjac1) * 0.5, n), relaxation / 2, 2);
    const double mainOmega = OptimalOmega(project.Rjac1, n);
    for (int k = 1; k <= mainPasses; ++k) {
        if (observer.StopRequested()) {
            break;
        }
        run(mainOmega, relaxation, k + 2);
    }
    run(OptimalOmega((project.Rjac1 + project.RjacFin) * 0.5, n), relaxation / 2, mainPasses + 3);
    run(OptimalOmega(project.RjacFin, n), 0, mainPasses + 4);
    stopped = stopped || observer.StopRequested();

    if (diverged) {
        arrays.VecPot.Vector() = startPotential;
        arrays.Reluctivity.Vector() = startReluctivity;
        arrays.ResidualSum = startResidual;
        arrays.LastReluctivityStep = startStep;
        out.ending = CalculationEnding::Diverged;
        observer.EndCalculation();
        return out;
    }
    if (stopped) {
        out.ending = CalculationEnding::Stopped;
    } else if (out.change < settings.tolerance) {
        out.ending = CalculationEnding::Converged;
    } else {
        out.ending = CalculationEnding::NotConverged;
    }
    arrays.Differences = FieldDifferences::OneSided;
    observer.ShowResult();
    observer.EndCalculation();
    return out;
}

}  // namespace

CalculationOutcome Calculate(SolverArrays& arrays, const Project& project,
                             const CalculationSettings& settings, CalculationObserver& observer) {
    const int threads = std::max(settings.threads, 1);
    SweepTeam team(threads);
    SweepTeam* shared = threads > 1 ? &team : nullptr;
    if (settings.schedule == ScheduleKind::Converge) {
        return RunUntilConverged(arrays, project, settings, observer, shared);
    }
    return RunFixedSchedule(arrays, project, settings, observer, shared);
}

void RunCalculation(SolverArrays& arrays, const Project& project, CalculationObserver& observer) {
    Calculate(arrays, project, FixedSchedule(), observer);
}

// The induction from the potential, Br = -dA/dz and Bz = (1/r) d(rA)/dr, in the program's
// sign convention and with one-sided differences (forward inside, backward on the far edges):
//     Br(i, j) = (A(i, j+1) - A(i, j)) / h,
//     Bz(i, j) = A(i, j) / (i h) + (A(i+1, j) - A(i, j)) / h,
// |B| from the two stored single-precision values. On the axis Br = 0 and Bz, |B| repeat
// the values at i = 1; the corners stay 0.
void EvaluateField(Model& m) {
    const int n = std::max<int>(m.project.GridSize, 0);
    m.field.Br.Create(n);
    m.field.Bz.Create(n);
    m.field.B.Create(n);
    const double h = m.project.GridStep;
    const auto& a = m.arrays.VecPot;
    if (n < 2 || a.N() != n || !(h > 0) || !std::isfinite(h)) {
        return;  // no potential for this grid, or no step to differentiate over: field 0
    }
    auto& br = m.field.Br;
    auto& bz = m.field.Bz;
    auto& b = m.field.B;
    if (m.arrays.Differences == FieldDifferences::Centred) {
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                const field::Induction at = field::Centred(a.Data(), n, h, i, j);
                br(i, j) = static_cast<float>(at.br);
                bz(i, j) = static_cast<float>(at.bz);
                b(i, j) = static_cast<float>(std::hypot(at.br, at.bz));
            }
        }
        return;
    }
    const auto modulus = [&](int i, int j) {
        const double r = br(i, j);
        const double z = bz(i, j);
        b(i, j) = static_cast<float>(std::sqrt(z * z + r * r));
    };
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            br(i, j) = static_cast<float>((a(i, j + 1) - a(i, j)) / h);
            bz(i, j) = static_cast<float>(a(i, j) / (i * h) + (a(i + 1, j) - a(i, j)) / h);
            modulus(i, j);
        }
    }
    for (int i = 1; i <= n - 1; ++i) {
        br(i, 0) = static_cast<float>((a(i, 1) - a(i, 0)) / h);
        bz(i, 0) = static_cast<float>(a(i, 0) / (i * h) + (a(i + 1, 0) - a(i, 0)) / h);
        modulus(i, 0);
        br(i, n) = static_cast<float>((a(i, n) - a(i, n - 1)) / h);
        bz(i, n) = static_cast<float>(a(i, n) / (i * h) + (a(i + 1, n) - a(i, n)) / h);
        modulus(i, n);
    }
    for (int j = 1; j <= n - 1; ++j) {
        br(0, j) = 0;
        bz(0, j) = bz(1, j);
        b(0, j) = b(1, j);
        br(n, j) = static_cast<float>((a(n, j + 1) - a(n, j)) / h);
        bz(n, j) = static_cast<float>(a(n, j) / (n * h) + (a(n, j) - a(n - 1, j)) / h);
        modulus(n, j);
    }
}

}  // namespace tesvid
