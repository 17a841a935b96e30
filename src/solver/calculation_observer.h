#pragma once

namespace tesvid {

struct SolverArrays;

// The full scale of the error indicator: larger values are shown as this.
inline constexpr double kErrorIndicatorFullScale = 8;

// How a calculation reports to whoever started it (the window, the batch tool, a test): the
// busy state, the pass count and progress, the error indicator, the potential after every pass
// and the end. The calculation asks it one thing: whether the user has asked it to stop.
// Every call comes from the thread that runs the calculation, which may be a worker thread:
// the calculation shares nothing else with its caller than the arrays handed to it, so an
// observer that reaches a window from there must pass what it reports on to the window's
// thread (and StopRequested must read a flag that is safe to read from another thread).
class CalculationObserver {
  public:
    virtual ~CalculationObserver() = default;

    virtual void BeginCalculation() {}
    virtual void EndCalculation() {}
    // The number of passes the schedule will run, before the first.
    virtual void SetProgressMaximum(double /*maximum*/) {}
    // The pass just finished (its pass number), or 0.001 before the first.
    virtual void SetProgressValue(double /*value*/) {}
    // The error indicator, at most kErrorIndicatorFullScale.
    virtual void SetErrorValue(double /*value*/) {}
    // Called after every iteration and at the end of every pass: a chance to process events.
    virtual void Yield() {}
    // Tested before every iteration and every main pass.
    virtual bool StopRequested() const { return false; }
    // End of a pass: the potential so far (for the intermediate view). Called on the thread
    // that runs the calculation; the arrays are the calculation's own (a working copy when it
    // runs until converged) and hold still only during the call: copy what you need.
    virtual void PassFinished(const SolverArrays& /*arrays*/) {}
    // End of a pass, after PassFinished: the pass number and its convergence measure (the
    // largest change of B in the pass relative to the largest |B|, see solver/convergence.h).
    virtual void PassMeasured(int /*pass*/, double /*change*/) {}
    // The passes are done: show the result.
    virtual void ShowResult() {}
};

}  // namespace tesvid
