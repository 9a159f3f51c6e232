#include "core/app/TitleShortening.h"

#include <vector>

namespace dualvex {

namespace {

constexpr std::size_t kKeptLeading = 2;
constexpr std::string_view kEllipsis = ".../";

std::vector<std::string_view> SplitComponents(std::string_view rest)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start < rest.size()) {
        std::size_t end = rest.find('/', start);
        if (end == std::string_view::npos) end = rest.size();
        parts.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Join(std::string_view root, const std::vector<std::string_view>& head,
                 const std::vector<std::string_view>& tail)
{
    std::string text(root);
    for (std::string_view part : head) (text += part) += '/';
    text += kEllipsis;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (i > 0) text += '/';
        text += tail[i];
    }
    return text;
}

} // namespace

std::string ShortenPath(const std::string& path, int maxWidth,
                        const std::function<int(std::string_view)>& measure)
{
    if (measure(path) <= maxWidth) return path;
    const std::string_view all(path);
    const std::string_view root = all.substr(0, all.starts_with('/') ? 1 : 0);
    const std::vector<std::string_view> parts = SplitComponents(all.substr(root.size()));
    if (parts.size() <= kKeptLeading + 1) return path;

    std::vector<std::string_view> head(parts.begin(), parts.begin() + kKeptLeading);
    // Drop middle components one at a time, nearest to the kept head first.
    for (std::size_t from = kKeptLeading + 1; from < parts.size(); ++from) {
        const std::vector<std::string_view> tail(parts.begin() + static_cast<std::ptrdiff_t>(from),
                                                 parts.end());
        std::string text = Join(root, head, tail);
        if (measure(text) <= maxWidth) return text;
    }
    // Not even the head fits: give it up before the file name.
    const std::vector<std::string_view> last{parts.back()};
    while (!head.empty()) {
        head.pop_back();
        std::string text = Join(root, head, last);
        if (measure(text) <= maxWidth || head.empty()) return text;
    }
    return Join(root, head, last);
}

} // namespace dualvex
