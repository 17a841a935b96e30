#pragma once

#include "model/model_state.h"

namespace tesvid::testing {

// A model with every grid array created (zero) for n cells over an area in mm, in the result
// view, with the first-start force-line step.
inline ModelState MakeViewModel(int n, float areaMm = 100) {
    ModelState m;
    m.GridSize = static_cast<std::int16_t>(n);
    m.MapGridSize = m.GridSize;
    m.AreaSize = areaMm;
    m.GridStep = areaMm * 0.001 / n;
    m.LineStep = 10;
    m.Material.Create(n);
    m.VecPot.Create(n);
    m.FluxFn.Create(n);
    m.Source.Create(n);
    m.MuNode.Create(n);
    m.FixedMask.Create(n);
    m.TraceMark.Create(n);
    m.NodeColor.Create(n);
    m.FieldBr.Create(n);
    m.FieldBz.Create(n);
    m.FieldB.Create(n);
    return m;
}

}  // namespace tesvid::testing
