#pragma once

#include "model/drawing_surface.h"
#include "model/grid2d.h"
#include "model/material_code.h"

namespace tesvid {

// Reads the colour of every node (i, j), 0..n, at the surface point (i, j) and turns it into a
// material; any colour that is not one of the six material colours, and a point off the
// surface, is Vacuum.
Grid2D<MaterialCode> SampleMaterial(const DrawingSurface& surface, int n);

}  // namespace tesvid
