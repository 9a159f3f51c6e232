#include "core/app/HandOver.h"

namespace dualvex {

namespace {
constexpr std::size_t kMaxFiles = 2;
}

void AddHandedOverFiles(std::vector<std::string>& files, const std::string& announcedPath,
                        const std::string& handOverFile)
{
    if (files.size() < kMaxFiles && !announcedPath.empty()) files.push_back(announcedPath);
    if (files.size() < kMaxFiles && !handOverFile.empty()) files.push_back(handOverFile);
}

std::vector<std::string> FilesFromDialog(const std::string& first, const std::string& second)
{
    std::vector<std::string> files;
    if (!first.empty()) files.push_back(first);
    if (!second.empty()) files.push_back(second);
    return files;
}

} // namespace dualvex
