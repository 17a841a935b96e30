#pragma once

#include <optional>
#include <string>

#include "model/drawing_surface.h"
#include "model/geometry_editor.h"
#include "model/model.h"

namespace tesvid {

// The grid node under a pointer coordinate in user units: rounded half to even. A pointer far
// off the area (or not a number) gives a node off the grid.
int ProbeNode(float userCoordinate);

// The R and Z read-out of node (xr, yr) in mm, in single precision and general text form.
struct ProbeCoordinateTexts {
    std::string r;
    std::string z;
};
ProbeCoordinateTexts ProbeCoordinates(const Model& m, int xr, int yr);

// Whether (xr, yr) is a node of the field arrays as they are (they keep the size of the last
// field evaluation, which may differ from GridSize).
bool ProbeNodeHasField(const Model& m, int xr, int yr);

// |B|, Br and Bz of a node in gauss ("0.0" with the given decimal separator), or nothing for a
// node off the field arrays.
struct ProbeFieldTexts {
    std::string b;
    std::string br;
    std::string bz;
};
std::optional<ProbeFieldTexts> ProbeField(const Model& m, int xr, int yr,
                                          char decimalSeparator = '.');

// Moves the inverted cross-hair from (lastX, lastY) to (xr, yr): pen width 1, invert mode
// (both left so), lines across the whole area at row lastY, row yr, column lastX, column xr.
void MoveCrossHair(DrawingSurface& picture1, int gridSize, double lastX, double lastY, int xr,
                   int yr);

// The main-window parts the probe drives.
class ProbeTarget {
  public:
    virtual ~ProbeTarget() = default;
    virtual void SetFieldTexts(const ProbeFieldTexts& texts) = 0;
    // DrawDistributionGraph(x, y) of the R distribution window, then of the Z distribution window.
    virtual void DrawGraphs(double x, double y) = 0;
    // Shows both distribution windows, not modal, where they stand.
    virtual void ShowGraphWindows() = 0;
};

// Result-view part of a pointer move over the drawing area (after the coordinate read-out):
// nothing while the probe is frozen (pointer.Held); otherwise the cross-hair (with
// showCrossSections), the
// field texts and both graphs for a node of the field arrays, and the new last position.
// pointer.LastX, LastY hold the node of the cross-hair now on screen; (-1, -1) for none.
void ProbeMouseMove(const Model& m, bool showCrossSections, DrawingSurface& picture1,
                    PointerState& pointer, float x, float y, ProbeTarget& target,
                    char decimalSeparator = '.');

// Result-view mouse-down: freezes or releases the probe, shows both distribution windows and
// redraws their graphs through the last position.
void ProbeMouseDown(PointerState& pointer, ProbeTarget& target);

}  // namespace tesvid
