#include "core/support/SettingsTree.h"

#include <algorithm>

namespace dualvex {
namespace {

char FoldChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The map key of a path. Components are joined by '\0', which no name contains,
// so a key sorts directly before its sub-keys.
std::string FoldPath(std::string_view path)
{
    std::string folded;
    for (std::string_view part : SplitKeyPath(path)) {
        if (!folded.empty()) folded.push_back('\0');
        for (char c : part) folded.push_back(FoldChar(c));
    }
    return folded;
}

} // namespace

std::vector<std::string_view> SplitKeyPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t cut = path.find('\\');
        const std::string_view part = path.substr(0, cut);
        if (!part.empty()) parts.push_back(part);
        if (cut == std::string_view::npos) break;
        path.remove_prefix(cut + 1);
    }
    return parts;
}

bool SameSettingsName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

bool SettingsTree::HasKey(std::string_view path) const
{
    const std::string folded = FoldPath(path);
    return folded.empty() || m_keys.count(folded) != 0;
}

const SettingsTree::Key* SettingsTree::FindKey(std::string_view path) const
{
    const auto it = m_keys.find(FoldPath(path));
    return it == m_keys.end() ? nullptr : &it->second;
}

bool SettingsTree::EnsureKey(std::string_view path)
{
    bool created = false;
    std::string folded;
    std::string spelled;
    for (std::string_view part : SplitKeyPath(path)) {
        if (!folded.empty()) folded.push_back('\0');
        for (char c : part) folded.push_back(FoldChar(c));
        auto it = m_keys.find(folded);
        if (it == m_keys.end()) {
            std::string own = spelled.empty() ? std::string(part) : spelled + '\\' + std::string(part);
            it = m_keys.emplace(folded, Key{std::move(own), {}}).first;
            created = true;
        }
        spelled = it->second.path;
    }
    return created;
}

const SettingsValue* SettingsTree::FindValue(std::string_view path, std::string_view name) const
{
    const Key* key = FindKey(path);
    if (key == nullptr) return nullptr;
    for (const auto& [valueName, value] : key->values)
        if (SameSettingsName(valueName, name)) return &value;
    return nullptr;
}

bool SettingsTree::SetValue(std::string_view path, std::string_view name, SettingsValue value)
{
    EnsureKey(path);
    // The root always exists; it gets an entry of its own once it holds a value.
    Key& key = m_keys[FoldPath(path)];
    for (auto& [valueName, old] : key.values) {
        if (SameSettingsName(valueName, name)) {
            if (old == value) return false;
            old = std::move(value);
            return true;
        }
    }
    key.values.emplace_back(std::string(name), std::move(value));
    return true;
}

std::vector<std::string> SettingsTree::SubKeyNames(std::string_view path) const
{
    std::string prefix = FoldPath(path);
    if (!prefix.empty()) prefix.push_back('\0');
    std::vector<std::string> names;
    for (auto it = m_keys.lower_bound(prefix); it != m_keys.end(); ++it) {
        const std::string& folded = it->first;
        if (folded.compare(0, prefix.size(), prefix) != 0) break;
        if (folded.size() == prefix.size() || folded.find('\0', prefix.size()) != std::string::npos) continue;
        const std::string& spelled = it->second.path;
        const std::size_t cut = spelled.rfind('\\');
        names.push_back(cut == std::string::npos ? spelled : spelled.substr(cut + 1));
    }
    return names;
}

bool SettingsTree::HasSubKeys(std::string_view path) const
{
    std::string prefix = FoldPath(path);
    if (!prefix.empty()) prefix.push_back('\0');
    const auto it = m_keys.upper_bound(prefix);
    return it != m_keys.end() && it->first.compare(0, prefix.size(), prefix) == 0 &&
           it->first.size() > prefix.size();
}

} // namespace dualvex
