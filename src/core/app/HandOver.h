// The file-list rules of the hand-over between two launches of the program.
#pragma once

#include <string>
#include <vector>

namespace dualvex {

// The later instance of a pair found a waiting partner: the partner's announced file
// comes first (when there is room and it is not empty), then this instance's own
// hand-over file (when there is still room).
void AddHandedOverFiles(std::vector<std::string>& files, const std::string& announcedPath,
                        const std::string& handOverFile);

// The waiting instance's dialog was confirmed: its non-empty paths, in order.
std::vector<std::string> FilesFromDialog(const std::string& first, const std::string& second);

} // namespace dualvex
