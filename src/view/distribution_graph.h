#pragma once

#include <string>

#include "model/drawing_surface.h"
#include "model/model.h"
#include "model/raster_surface.h"

namespace tesvid {

// The R graph plots |B| along the radius on the probe's row ("R distribution"); the Z graph
// plots |B| down the probe's column ("Z distribution").
enum class GraphAxis { R, Z };

// The tick step of an axis from 0 to `range`: the smallest value of the form 1, 2 or 5 x 10^k
// that divides the range into at most maxIntervals intervals (taken as at least 1). 1 for a
// range that is not a positive finite number.
double NiceTickStep(double range, int maxIntervals);

// The text of a tick value on an axis with the given step: as many decimals as the step needs
// (none for 5 or 20, one for 0.5, three for 0.002), with the given decimal separator.
std::string TickText(double value, double step, char decimalSeparator = '.');

// Whether a graph can be drawn through (x, y): a point of the grid (0 <= x, y <= N) and a
// field that exists for GridSize.
bool GraphPointValid(const Model& m, double x, double y);

// Redraws the whole graph through the probe point (x, y) in grid units on a picture of
// widthPixels x heightPixels; the user scale becomes one unit per pixel. Text is measured with
// the picture's MeasureText and laid out for the picture's size:
// - a caption row: "|B| (G)" over the value axis at the left; at the right the probe's other
//   coordinate ("Z = 3 mm" on the R graph) in black and its coordinate along the graph
//   ("R = 9.25 mm") in red (on two rows when one is too narrow);
// - the plot frame with a dotted grid at the ticks; |B| in gauss upwards from 0, ticks at a
//   step of 1, 2 or 5 x 10^k, the top a whole number of steps with room above the peak; the
//   position along the line in mm to the right, from 0 to the area's size (N * GridStep);
// - the curve of |B| over the nodes 1 .. N-1 in blue, the red probe marker at the probe's
//   position along the line, and the line's true maximum written over its peak
//   ("Bmax=1050.3 G", one decimal, in blue) with a dot at the peak;
// - the axis caption ("R (mm)" or "Z (mm)") at the right end of the tick label row.
// Numbers use decimalSeparator (the window passes the locale's). Values that are not finite
// are left out of the curve and the maximum. The foreground colour is black afterwards.
// Draws nothing (and reads no array) when the point is not valid; on a picture too small for
// a plot it only clears.
void DrawDistributionGraph(const Model& m, DrawingSurface& picture, int widthPixels,
                           int heightPixels, GraphAxis axis, double x, double y,
                           char decimalSeparator = '.');

// The same on a raster picture, at its own pixel size. The graph windows call this with their
// picture's surface and the locale's separator on every probe move and after a resize.
void DrawDistributionGraph(const Model& m, RasterSurface& picture, GraphAxis axis, double x,
                           double y, char decimalSeparator = '.');

}  // namespace tesvid
