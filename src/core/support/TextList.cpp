#include "TextList.h"

namespace dualvex {

std::vector<std::string> SplitTextList(std::string_view data)
{
    std::vector<std::string> items;
    while (!data.empty()) {
        const std::size_t cut = data.find('\0');
        const std::string_view item = data.substr(0, cut);
        if (item.empty()) break;
        items.emplace_back(item);
        if (cut == std::string_view::npos) break;
        data.remove_prefix(cut + 1);
    }
    return items;
}

std::string JoinTextList(const std::vector<std::string>& items)
{
    std::string data;
    for (const std::string& item : items) {
        const std::string_view text(item.c_str());
        if (text.empty()) continue;
        data += text;
        data.push_back('\0');
    }
    data.push_back('\0');
    return data;
}

}  // namespace dualvex
