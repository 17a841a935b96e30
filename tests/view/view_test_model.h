#pragma once

#include "model/model.h"

namespace tesvid::testing {

// A model with every grid array created (zero) for n cells over an area in mm, in the result
// view, with the first-start force-line step.
inline Model MakeViewModel(int n, float areaMm = 100) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.arrays.MapGridSize = m.project.GridSize;
    m.project.AreaSize = areaMm;
    m.project.GridStep = areaMm * 0.001 / n;
    m.project.LineStep = 10;
    m.arrays.Material.Create(n);
    m.arrays.VecPot.Create(n);
    m.FluxFunction.Create(n);
    m.arrays.Source.Create(n);
    m.arrays.Reluctivity.Create(n);
    m.arrays.UniformStencil.Create(n);
    m.TraceMark.Create(n);
    m.NodeColor.Create(n);
    m.field.Br.Create(n);
    m.field.Bz.Create(n);
    m.field.B.Create(n);
    return m;
}

}  // namespace tesvid::testing
