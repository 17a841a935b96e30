#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tesvid {

// Writes the bytes to a new temporary file in the target's folder, flushes and syncs it, and
// renames it over the target, so a reader sees either the old file or the complete new one and
// the previous file survives any failure. When the target is a symbolic link the file it points
// to is replaced. A new file gets the usual permissions (0666 less the umask); a replaced file
// keeps its permission bits. On failure the temporary file is removed and the reason is
// returned as one line naming the target, such as
// "cannot create /dir/name.tvd: Permission denied".
std::optional<std::string> WriteFileAtomically(const std::string& path, const void* data,
                                               std::size_t size);

}  // namespace tesvid
