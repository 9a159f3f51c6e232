// Finding the external hex editor and building its argument list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dualvex {

// The editor program: "Hexorra" beside this program, then "../Hexorra/Hexorra"
// relative to this program's folder, then "Hexorra" on the search path. The first
// candidate that is an existing regular file wins; empty when there is none.
std::string FindHexEditor(std::string_view programDir, std::string_view searchPath);

// Arguments for the editor: "-s:<offset - 11>" when the first visible offset is above
// 11, then the file path. They are passed as a list, never through a shell, so a path
// reaches the editor exactly as it is.
std::vector<std::string> HexEditorArguments(std::uint64_t firstVisible, const std::string& path);

} // namespace dualvex
