#pragma once

#include "model/drawing_surface.h"
#include "model/model.h"

namespace tesvid {

// The R graph plots |B| along the radius on the probe's row ("R distribution"); the Z graph
// plots |B| down the probe's column ("Z distribution").
enum class GraphAxis { R, Z };

// Full scale of a graph whose largest value is bmax: the mantissa d.d of bmax in the form
// "0.0E+000" gives Smax = 10^e * (d + 1), so 0.1234 gives 0.2 and 0.0996 gives 0.2.
double GraphFullScale(double bmax);

// Whether a graph can be drawn through (x, y): a point of the grid (0 <= x, y <= N) and a
// field that exists for GridSize.
bool GraphPointValid(const Model& m, double x, double y);

// Redraws the whole graph through the probe point (x, y) in grid units: user scale 1.01 N,
// a dotted 10 x 10 grid, |B| over indices 1 .. N-1 in the foreground colour, the red probe
// marker, the full-scale and position labels and the outline; the foreground colour is blue
// afterwards. The labels' numbers have the given decimal separator. Draws nothing (and reads no
// array) when the point is not valid.
void DrawDistributionGraph(const Model& m, DrawingSurface& picture, GraphAxis axis, double x,
                           double y, char decimalSeparator = '.');

}  // namespace tesvid
