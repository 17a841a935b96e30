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

}  // namespace tesvid
