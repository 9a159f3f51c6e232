// Shortening a path for a pane's title line.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace dualvex {

// Returns `path` when it fits `maxWidth` as measured by `measure`; otherwise keeps the
// root and the first two components and replaces components after them by ".../"
// (as many as needed, starting with the one after the kept ones). When even that does
// not fit, the kept components go too; the file name itself always stays.
std::string ShortenPath(const std::string& path, int maxWidth,
                        const std::function<int(std::string_view)>& measure);

} // namespace dualvex
