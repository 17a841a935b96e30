#pragma once

#include <optional>
#include <string>

#include "model/model.h"

namespace tesvid {

// Whether this build can write result pictures.
bool ResultPictureSupported();

// Writes the result picture of an evaluated model as PNG: the |B| colour map with the region
// outlines and the force lines at 400 x 400 pixels, with the colour-scale strip beside it.
// Uses (and overwrites) the model's view arrays FluxFunction, TraceMark and NodeColor. Returns the
// reason of a failure.
std::optional<std::string> WriteResultPicture(const Model& m, const std::string& path);

}  // namespace tesvid
