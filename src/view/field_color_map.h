#pragma once

#include <string>

#include "model/drawing_surface.h"
#include "model/model.h"
#include "model/raster_surface.h"
#include "view/force_lines.h"

namespace tesvid {

// Force-line colour over a node of the given level: 0 (black) above level 200, else 15 (white).
int NodeColorForLevel(double level);

// The largest FieldB over all nodes, starting from 1e-200 so that a field-free model never
// divides by zero.
double FieldMaximum(const Grid2D<float>& fieldB);

// Value of the colour-scale label n (0 = bottom .. 5 = top) in gauss for a maximum in tesla:
// (e^(0.92 n) - 1) percent of the maximum.
double ColorScaleLabelValue(int n, double bmaxTesla);

// Whether node (i, j) is on the grid and not Vacuum: the side of a region outline that is
// outlined.
bool SolidNode(const Grid2D<MaterialCode>& material, int i, int j);

// Inverts, once each, the pixels of the border between vacuum and all other materials: the
// outline that remains when every non-vacuum cell's square (i - 0.5 .. i + 0.5) is outlined in
// invert mode and shared edges cancel. Nodes off the grid count as vacuum. Drawing it twice
// restores the picture. The surface's user scale must be 0..N.
void DrawRegionOutlines(const Grid2D<MaterialCode>& material, RasterSurface& picture1);

// Black or white, whichever contrasts more (by the ratio of relative luminances) with every
// background colour from `darkest` to `brightest`.
Rgb TextColorOver(Rgb darkest, Rgb brightest);

// The colour scale in a box of the surface's user units: the ramp from level 0 at the bottom to
// level 276 at the top in 401 touching rows, and the six labels ColorScaleLabelValue(n) (gauss,
// "0.0" with the given decimal separator), each centred on the height of its level (n / 5 of
// the box up from the bottom) but kept inside the box, right-aligned on a common edge that
// centres the widest label, each in black or white, whichever stands out on the ramp colours
// behind it. The labels carry the unit ("1050.3 G") when the widest fits in 90 % of the box's
// width; otherwise the unit "G" stands alone halfway between the two top labels. Text is
// measured with the surface's MeasureText. Copy mode and pen width 1 afterwards.
void DrawColorScaleBox(DrawingSurface& s, double left, double top, double width, double height,
                       double bmaxTesla, char decimalSeparator = '.');

// The colour scale over the whole strip (user scale 10 x 400). The window passes the locale's
// decimal separator.
void DrawColorScale(DrawingSurface& picture3, double bmaxTesla, char decimalSeparator = '.');

// The |B| colour map over the drawing area with the region outlines, and the colour scale in
// the strip (labels with decimalSeparator); NodeColor of the grids is set to the force-line
// colour over every node. Draws nothing when the field and Material do not both exist for
// GridSize.
void DrawFieldColorMap(const Model& m, ForceLineGrids& grids, RasterSurface& picture1,
                       DrawingSurface& picture3, char decimalSeparator = '.');

}  // namespace tesvid
