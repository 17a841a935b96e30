#include "solver/material_sampling.h"

namespace tesvid {

Grid2D<MaterialCode> SampleMaterial(const DrawingSurface& surface, int n) {
    Grid2D<MaterialCode> material(n);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            material(i, j) = MaterialFromColor(surface.ReadPoint(i, j));
        }
    }
    return material;
}

}  // namespace tesvid
