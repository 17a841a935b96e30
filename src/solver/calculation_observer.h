#pragma once

namespace tesvid {

// How a calculation reaches the user interface: the two bars, the busy cursors, the
// event-loop yield (during which Stop may set ModelState::StopRequested), the intermediate
// potential view and the result command that ends every calculation.
class CalculationObserver {
  public:
    virtual ~CalculationObserver() = default;

    virtual void BeginCalculation() {}  // busy cursors on
    virtual void EndCalculation() {}    // cursors back
    virtual void SetProgressMaximum(double /*maximum*/) {}
    virtual double ProgressMaximum() const { return 8; }
    virtual void SetProgressValue(double /*value*/) {}
    virtual double ErrorMaximum() const { return 8; }
    virtual void SetErrorValue(double /*value*/) {}
    // Lets the event loop process pending events once.
    virtual void Yield() {}
    // End of a pass with ShowIntermediate set: draw the potential view.
    virtual void ShowIntermediate() {}
    // The passes are done: run the result command (evaluate the field and draw it).
    virtual void ShowResult() {}
};

}  // namespace tesvid
