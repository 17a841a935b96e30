#pragma once

#include "model/drawing_surface.h"
#include "model/model_state.h"

namespace tesvid {

// How the force-line drawing reaches the user interface: the pass-progress bar and the
// event-loop yield during which Stop may set ModelState::StopRequested.
class ForceLineObserver {
  public:
    virtual ~ForceLineObserver() = default;
    virtual double ProgressMaximum() const { return 8; }
    virtual void SetProgressValue(double /*value*/) {}
    // Lets the event loop process pending events once; called after every seed node.
    virtual void Yield() {}
};

// FluxFn = VecPot * i and TraceMark = true on the nodes 1 .. N-1.
void PrepareForceLines(ModelState& m);

// The force lines over the drawing area (user scale 0..N): clears StopRequested, sets pen
// width 1 and copy mode, then traces the iso-line through every seed node i, j = 2 .. N-2
// (columns outer) that no line has come near yet, at FluxFn * 1.00001. Stop is honoured
// before each column; after each column the bar shows maximum * i / N. Does nothing when
// VecPot, FluxFn or TraceMark does not exist for GridSize.
void VisualizeForceLines(ModelState& m, DrawingSurface& picture1, bool drawFieldTicked,
                         ForceLineObserver& observer);

}  // namespace tesvid
