// In-memory tree of settings keys and typed values, one tree per settings root.
//
// Key paths are backslash-separated names below the root ("" is the root itself).
// Like the registry they stand in for, keys and value names match without regard
// to ASCII case and keep the spelling they were first created with. Empty path
// components are ignored, so "A\\B\" names the same key as "A\B".
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dualvex {

struct SettingsValue {
    std::uint32_t type = 0;
    std::string data; // the stored bytes, exactly as written

    bool operator==(const SettingsValue&) const = default;
};

using NamedSettingsValue = std::pair<std::string, SettingsValue>;

class SettingsTree {
  public:
    struct Key {
        std::string path;                       // spelling kept from creation
        std::vector<NamedSettingsValue> values; // in the order they were first set

        bool operator==(const Key&) const = default;
    };

    bool HasKey(std::string_view path) const;
    // Creates the key and every missing key above it; true when anything was created.
    bool EnsureKey(std::string_view path);
    // The key's own spelling, or nullptr when it does not exist.
    const Key* FindKey(std::string_view path) const;

    const SettingsValue* FindValue(std::string_view path, std::string_view name) const;
    // Creates the key when needed; an existing value keeps its name's spelling and
    // position. True when the tree changed.
    bool SetValue(std::string_view path, std::string_view name, SettingsValue value);

    // Names of the direct sub-keys, in case-insensitive order.
    std::vector<std::string> SubKeyNames(std::string_view path) const;
    bool HasSubKeys(std::string_view path) const;

    // Every key, ordered so that a key comes before its sub-keys.
    const std::map<std::string, Key>& Keys() const { return m_keys; }

    bool operator==(const SettingsTree&) const = default;

  private:
    std::map<std::string, Key> m_keys; // by folded path: lower-case components joined by '\0'
};

// Splits a key path into its non-empty components.
std::vector<std::string_view> SplitKeyPath(std::string_view path);
bool SameSettingsName(std::string_view a, std::string_view b);

} // namespace dualvex
