#pragma once

#include <optional>
#include <string>

#include <vector>

#include "model/grid2d.h"
#include "model/material_code.h"
#include "model/solver_arrays.h"

namespace tesvid {

// How a calculation decides when it is done.
enum class ScheduleKind {
    // The schedule of MainSteps + 4 relaxation passes, with its open boundary, source and field
    // evaluation, bit for bit as it has always been.
    Fixed,
    // Passes until the field has converged (see CalculationSettings::tolerance), with the
    // multipole open boundary, the sources where they are painted and the field evaluated at
    // the nodes with centred differences.
    Converge,
};

// The convergence measure of a pass: the largest change of the induction on any inner node
// during the pass, |B_after - B_before| (both components), divided by the largest |B| on the
// inner nodes after it. B is evaluated as the schedule evaluates the result (one-sided
// differences for the fixed schedule, centred ones for the calculation until converged).
//
// What it says about the error: a calculation until converged cuts the remaining error of the
// potential by a factor of ten or more in every pass (a Newton step on the whole grid), so the
// error left in B after a pass is smaller than the change that pass made. A change below the
// tolerance therefore bounds the iteration error of B on every node by tolerance * max |B|.
// (The grid's own discretisation error is another matter: see tools/accuracy.) In the fixed
// schedule a pass of over-relaxation removes only a part of the error; there the change is a
// lower bound of the remaining error, which is several times larger.
inline constexpr double kDefaultTolerance = 1e-5;
// The measure itself for two potentials of a grid of n cells (column-major (n + 1)^2 arrays)
// with step h: NaN when either holds a non-finite value on the inner nodes, 0 when B is 0.
double FieldChange(const std::vector<double>& before, const std::vector<double>& after, int n,
                   double h, FieldDifferences differences);

// Tells from the measure of pass after pass whether a calculation diverges: a change that is
// not finite, or one that at least doubled in each of five passes running (by 32 in all).
class DivergenceWatch {
  public:
    bool Diverged(double change);

  private:
    double previous_ = 0;
    int growing_ = 0;
};

// Below this the measure cannot be trusted: B is a difference of potentials of neighbouring
// nodes, which already loses two to three of the sixteen digits of a double on a 400 grid, and
// the rounding of the iteration itself leaves changes of about 1e-14 of max |B|.
inline constexpr double kSmallestTolerance = 1e-12;
// Passes a calculation until converged may run before it gives up.
inline constexpr int kDefaultPassLimit = 60;

// The choices a caller (the window, the batch tool) makes for one calculation. They belong to
// the program's settings, not to a project file.
struct CalculationSettings {
    ScheduleKind schedule = ScheduleKind::Converge;
    double tolerance = kDefaultTolerance;  // largest change of B per pass, relative to max |B|
    int passLimit = kDefaultPassLimit;     // most passes until converged (work limit)
    int threads = 1;                       // threads for the sweeps (at least 1)
};

// The fixed schedule run on one thread: what the program always did.
inline CalculationSettings FixedSchedule() {
    return CalculationSettings{ScheduleKind::Fixed, kDefaultTolerance, kDefaultPassLimit, 1};
}

// Why a tolerance cannot be used (not a positive number, below kSmallestTolerance, or above
// 1), or nothing. One sentence naming the value.
std::optional<std::string> ToleranceRefusal(double tolerance);

// How a calculation ended.
enum class CalculationEnding {
    Converged,     // the change of the last pass was below the tolerance
    NotConverged,  // the schedule (or the pass limit) ended first
    Stopped,       // the user pressed Stop: the arrays hold the partial result
    Diverged,      // the field grew without bound or became non-finite: arrays left as they were
};

struct CalculationOutcome {
    ScheduleKind schedule = ScheduleKind::Fixed;
    CalculationEnding ending = CalculationEnding::NotConverged;
    int passes = 0;         // passes run (a pass cut short by Stop counts)
    int plannedPasses = 0;  // the schedule's passes, or the pass limit
    double change = 0;      // measure of the last pass (see above); NaN when no pass ran
    double tolerance = kDefaultTolerance;
    // The open-boundary warning of the drawing (OpenBoundaryWarning), empty when there is none.
    std::string boundaryWarning;
};

// The result in words, for the window's status line and the batch tool's standard error:
// "Converged after 7 passes, change 4e-07.", "Not converged: the field still changed by 2.3 %
// in the last pass.", "Stopped after 5 of 14 passes: partial result.", "Diverged after 3
// passes: the field grew without bound; the previous result is kept."
std::string OutcomeSentence(const CalculationOutcome& outcome);

// A warning when iron, a magnet or a winding reaches the edge of the area (the two outer rows
// and columns at the top, bottom and outside; the axis is no edge): the open boundary assumes
// empty space outside, so there it is only approximate. Nothing when the drawing keeps clear.
std::optional<std::string> OpenBoundaryWarning(const Grid2D<MaterialCode>& material);

}  // namespace tesvid
