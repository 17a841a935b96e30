#pragma once

namespace tesvid {

struct SolverArrays;

// The full scale of the error indicator: larger values are shown as this.
inline constexpr double kErrorIndicatorFullScale = 8;

// How a calculation reports to whoever started it (the window, the batch tool, a test): the
// busy state, the pass count and progress, the error indicator, the potential after every pass
// and the end. The calculation asks it one thing: whether the user has asked it to stop.
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
    // End of a pass: the potential so far (for the intermediate view).
    virtual void PassFinished(const SolverArrays& /*arrays*/) {}
    // The passes are done: show the result.
    virtual void ShowResult() {}
};

}  // namespace tesvid
