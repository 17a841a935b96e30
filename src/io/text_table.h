#pragma once

#include <optional>
#include <string>

#include "model/model_state.h"

namespace tesvid {

// The field table of "Export to TEXT": heading and (N - 1)^2 node lines in 14-column print
// zones, each line ended by CR LF.
std::string FormatFieldTable(const ModelState& m, char decimalSeparator = '.');

// Writes the table through a temporary file renamed over the target; returns the reason of a
// failure.
std::optional<std::string> WriteFieldTable(const std::string& path, const ModelState& m,
                                           char decimalSeparator = '.');

}  // namespace tesvid
