#pragma once

#include "model/drawing_surface.h"
#include "model/model.h"
#include "view/force_lines.h"

namespace tesvid {

// The page's user scale: one unit per grid cell, the area printed at 1:PrintScale, its origin
// a tenth of the scale width right of and a twentieth of the scale height below the printable
// area's top-left corner.
struct ReportScale {
    double left = 0, top = 0, width = 1, height = 1;
};
ReportScale ComputeReportScale(double paperWidthMm, double paperHeightMm, int gridSize,
                               float printScale, float areaSize);

// The drawing of the report on a page already scaled by ComputeReportScale: the dotted
// reference grid, the force lines seeded on the uniform-stencil nodes (in the air away from
// windings and iron) and the outline of every non-vacuum cell. Draws only the grid for arrays
// that do not exist for GridSize.
void DrawReportArea(const Model& m, DrawingSurface& page, ForceLineObserver& observer);

// The colour report's drawing, the alternative to DrawReportArea for colour printers and PDF,
// on a page scaled the same way (ComputeReportScale; node (i, j) at the page point (i, j)):
// - the |B| map: the area 0..N filled, each node's square (i +- 0.5, j +- 0.5, cut at the
//   area's edges) in the ramp colour of its level against the largest |B| (as on screen);
// - the force lines seeded like the line report's, each piece black or white, whichever
//   contrasts more with the map's colour at the node under it (pen width 2);
// - the outline between vacuum and every other material around the nodes' squares in dark
//   green (pen width 2), and the frame of the area in black;
// - the colour scale (DrawColorScaleBox) in a black frame right of the area (a gap of 4 % of
//   N), as tall as the area and wide enough for its labels in the page's font with the unit
//   ("1050.3 G"), numbers with decimalSeparator.
// The window's print command calls it in place of DrawReportArea when the colour report is
// chosen, then writes the same text block under the area. Draws only the frame when the field
// or Material does not exist for GridSize, and no force lines without the potential.
void DrawColorReportArea(const Model& m, DrawingSurface& page, ForceLineObserver& observer,
                         char decimalSeparator = '.');

}  // namespace tesvid
