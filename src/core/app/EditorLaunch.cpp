#include "core/app/EditorLaunch.h"

#include <filesystem>
#include <system_error>

namespace dualvex {

namespace {

constexpr const char* kEditorName = "Hexorra";
constexpr std::uint64_t kContextBytes = 11;

bool IsRegularFile(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string FindOnSearchPath(std::string_view searchPath)
{
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos) end = searchPath.size();
        const std::string_view dir = searchPath.substr(start, end - start);
        if (!dir.empty()) {
            const auto candidate = std::filesystem::path(dir) / kEditorName;
            if (IsRegularFile(candidate)) return candidate.string();
        }
        start = end + 1;
    }
    return {};
}

} // namespace

std::string FindHexEditor(std::string_view programDir, std::string_view searchPath)
{
    const std::filesystem::path dir(programDir);
    for (const auto& candidate : {dir / kEditorName, dir / ".." / kEditorName / kEditorName})
        if (IsRegularFile(candidate)) return candidate.lexically_normal().string();
    return FindOnSearchPath(searchPath);
}

std::vector<std::string> HexEditorArguments(std::uint64_t firstVisible, const std::string& path)
{
    std::vector<std::string> args;
    if (firstVisible > kContextBytes) args.push_back("-s:" + std::to_string(firstVisible - kContextBytes));
    args.push_back(path);
    return args;
}

} // namespace dualvex
