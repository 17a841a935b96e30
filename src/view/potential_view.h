#pragma once

#include "model/model.h"
#include "model/raster_surface.h"

namespace tesvid {

// |VecPot| over the drawing area (user scale 0..N) with the colour ramp of the field map;
// no outlines, no scale, no NodeColor. Leaves the draw mode and pen width as they are.
// Draws nothing when VecPot does not exist for GridSize.
void DrawPotentialView(const Model& m, RasterSurface& picture1);

}  // namespace tesvid
