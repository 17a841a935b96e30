#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tesvid {

// Writes the bytes to a temporary file in the target's folder, flushes it and renames it over
// the target, so the previous file survives any failure. Returns the reason of a failure.
std::optional<std::string> WriteFileAtomically(const std::string& path, const void* data,
                                               std::size_t size);

}  // namespace tesvid
