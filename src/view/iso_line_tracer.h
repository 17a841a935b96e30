#pragma once

#include <cstdint>

#include "model/drawing_surface.h"
#include "model/grid2d.h"
#include "view/force_lines.h"

namespace tesvid {

// One straight piece of an iso-line inside cell (i, j), in the surface's user coordinates.
struct IsoSegment {
    int i = 0;
    int j = 0;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class IsoSegmentSink {
  public:
    virtual ~IsoSegmentSink() = default;
    virtual void Segment(const IsoSegment& s) = 0;
};

// The inputs of one scan: the flux function, the proximity marks it clears, and the grid.
struct IsoLineGrid {
    const Grid2D<double>& fluxFunction;
    Grid2D<std::uint8_t>& traceMark;
    int n = 0;                // GridSize; both arrays must have n + 1 nodes a side
    float lineStep = 0;       // line spacing in percent of the area width
    double originOffset = 0;  // cell (i, j) starts at (i + originOffset, j + originOffset)
};

// Scans the cells i, j = 1 .. N-2 for the iso-line of `level`, sends every segment to the
// sink (per cell in the pair order (e1,e2), (e2,e3), (e3,e4), (e4,e1), (e1,e3), (e2,e4)) and
// clears TraceMark(i, j) of every cell with an edge parameter |t| below tol = N * lineStep / 100.
// An edge whose ends are equal is never crossed; it counts as t = 0 when the level equals them.
void TraceIsoLevel(const IsoLineGrid& grid, double level, IsoSegmentSink& sink);

// Screen member: draws on the drawing area (user scale 0..N) with the caller's draw mode and
// pen width, each cell's pieces in the palette colour of NodeColor(i, j) when the field map is
// shown, else white. Cells start half a cell up and left of their first node. The grids must
// exist for gridSize (NodeColor too when the field is shown).
void TraceIsoLine(ForceLineGrids& grids, int gridSize, float lineStep, DrawingSurface& picture1,
                  double level, bool drawFieldTicked);

// Printer member: draws on a page whose user scale has one unit per cell, in the page's
// foreground colour, with cells starting at their first node.
void TraceIsoLineOnPage(ForceLineGrids& grids, int gridSize, float lineStep, DrawingSurface& page,
                        double level);

}  // namespace tesvid
