// File system access for loading: kind of a path, opening without ever blocking
// on special files, and reading or mapping whole regular files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/app/MemoryImage.h"

namespace dualvex {

enum class FileKind { Missing, Regular, Directory, Special };

// Follows symbolic links, like opening the path would.
FileKind GetFileKind(const std::string& path);

// Opens a regular file for reading without ever blocking on a special file;
// fd receives the descriptor (the caller closes it) and size its length.
[[nodiscard]] LoadStatus OpenRegularFile(const std::string& path, int& fd, std::uint64_t& size);

// Loads a file raw: a private copy below kMapThreshold, a read-only mapping from
// there on. Files of 4 GiB or more are refused, never truncated.
[[nodiscard]] LoadStatus LoadRawImage(const std::string& path, MemoryImage& out);

// Hands a read-only view of the whole file to use (any length, also 0); use
// returns false when it could not process the text (reported as CannotOpen).
[[nodiscard]] LoadStatus WithFileText(const std::string& path,
                                      const std::function<bool(const char*, std::size_t)>& use);

} // namespace dualvex
