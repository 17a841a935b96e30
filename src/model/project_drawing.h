#pragma once

#include "model/drawing_surface.h"
#include "model/model.h"

namespace tesvid {

// Paints the material map back onto the drawing area: every non-Vacuum node of Material (built
// on a grid of MapGridSize) becomes a filled square of the map's cell size, GridSize /
// MapGridSize user units, centred on the node's place in the current user scale, so the
// cross-section keeps its size and place across grid sizes. Vacuum paints nothing; the caller
// clears the area first. Leaves copy mode and the pen width of one grid cell.
void DrawProject(const Model& m, DrawingSurface& surface);

}  // namespace tesvid
