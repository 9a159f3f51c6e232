// The settings store: a stack of up to 11 open keys with typed reads and writes.
//
// Each component reads its options when it is created and writes them back when it
// is destroyed, each time through a CSettingsKey of its own that lives on the stack:
//
//     CSettingsKey key;
//     key.Open(SettingsRoot::CurrentUser, nullptr, 0);     // "Software\Ql\Dualvex", read only
//     key.OpenSub("CppCopyDlg");
//     std::uint32_t lineSize = 16;                           // default first ...
//     key.ReadInt(lineSize, "LineSize");                     // ... stored value over it
//
// Nothing fails loudly: a missing key or value leaves the caller's default, a failed
// save is silent. Every operation records its outcome in LastError().
//
// The keys live in one text file per root (see SettingsFile). An open key reads the
// file as it was at Open or at the key's last write. Each write or key creation is
// applied at once to the newest file under its lock, so nothing another instance
// wrote meanwhile is lost; the file is flushed to disk when the last level closes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/support/SettingsFile.h"
#include "core/support/SettingsTree.h"

namespace dualvex {

// Name marker: the next item of the current level's enumeration.
inline const char* const kSettingsNext = reinterpret_cast<const char*>(~std::uintptr_t{0});

class CSettingsKey {
  public:
    // Open modes (the low 6 bits of the open flags).
    static constexpr std::uint32_t kModeRead = 0;
    static constexpr std::uint32_t kModeWrite = 1;
    static constexpr std::uint32_t kModeCreate = 2;

    // Value kinds.
    static constexpr std::uint32_t kText = 1;
    static constexpr std::uint32_t kExpandText = 2;
    static constexpr std::uint32_t kBytes = 3;
    static constexpr std::uint32_t kInt = 4;
    static constexpr std::uint32_t kList = 7;

    // The store's own error codes, and the platform codes it sets.
    static constexpr std::uint32_t kErrorNotOpen = 22549;
    static constexpr std::uint32_t kErrorTooDeep = 22550;
    static constexpr std::uint32_t kErrorCannotOpen = 22551;
    static constexpr std::uint32_t kErrorNoData = 22552;
    static constexpr std::uint32_t kErrorNotFound = 2;
    static constexpr std::uint32_t kErrorAccessDenied = 5;
    static constexpr std::uint32_t kErrorMoreData = 234;
    static constexpr std::uint32_t kErrorNoMoreItems = 259;

    static constexpr int kMaxLevels = 11;
    static constexpr std::size_t kMaxNameLength = 256;

    CSettingsKey() = default;
    ~CSettingsKey() { CloseAll(); }
    CSettingsKey(const CSettingsKey&) = delete;
    CSettingsKey& operator=(const CSettingsKey&) = delete;

    // "Software\Ql\Dualvex", or "Software\Ql\Dualvex\<extra>" when extra is given.
    static std::string ApplicationKeyPath(std::string_view extra = {});

    // Closes what is open, then opens path below root as level 0. A null root takes
    // the root from a leading root name ("HKEY_LOCAL_MACHINE\...", any case) or is
    // the current user; a null path is the application key.
    bool Open(SettingsRoot root, const char* path, std::uint32_t flags);
    // Opens a sub-key of the current key as the next level (name may be kSettingsNext);
    // in create mode a missing sub-key is created unless noCreate.
    bool OpenSub(const char* name, bool noCreate = false);
    bool Close();
    bool CloseAll();

    // Names: a text, nullptr for the unnamed default value, or kSettingsNext.
    // type is the kind the caller expects; it decides the termination of texts
    // (one 0) and lists (two 0s), not which values may be read.
    bool Read(void* buffer, std::uint32_t size, const char* name, std::uint32_t type);
    // The buffer holds the value plus 4 bytes, terminated as by Read; the caller owns it.
    bool ReadAlloc(std::unique_ptr<char[]>& buffer, const char* name, std::uint32_t type);
    // The stored text without its terminator; text keeps its value when nothing is stored.
    bool ReadText(std::string& text, const char* name);
    bool Write(const void* data, std::uint32_t size, const char* name, std::uint32_t type);
    // list: zero-terminated texts closed by an empty text.
    bool WriteList(const char* list, const char* name);

    // Typed helpers; a read leaves the variable unchanged when nothing is stored.
    bool ReadInt(std::uint32_t& value, const char* name);
    bool ReadInt(std::int32_t& value, const char* name);
    bool WriteInt(std::uint32_t value, const char* name);
    bool WriteText(std::string_view text, const char* name);
    // List items end at their first zero byte; empty items are left out.
    bool ReadList(std::vector<std::string>& items, const char* name);
    bool WriteList(const std::vector<std::string>& items, const char* name);

    bool IsOpen() const { return m_depth >= 0; }
    int Depth() const { return m_depth; }
    std::uint32_t Mode() const { return m_mode; }
    SettingsRoot Root() const { return m_root; }
    std::uint32_t LastError() const { return m_lastError; }
    // The last value or sub-key name used, and the type and size of the last value.
    const std::string& ValueName() const { return m_valueName; }
    std::uint32_t ValueType() const { return m_valueType; }
    std::uint32_t DataSize() const { return m_dataSize; }
    // The path or name by which a level was opened.
    const std::string& LevelName(int level) const
    {
        return m_levels.at(static_cast<std::size_t>(level)).name;
    }

  private:
    struct Level {
        std::string keyPath; // below the root
        std::string name;
        std::uint32_t valueIndex = 0;
        std::uint32_t subKeyIndex = 0;
    };

    Level& Top() { return m_levels[static_cast<std::size_t>(m_depth)]; }
    bool Fail(std::uint32_t error);
    bool CreateKey(const std::string& keyPath);
    bool ResolveValueName(const char* name);
    const SettingsValue* FindValue(const char* name);
    bool FailRead(void* buffer, std::uint32_t size, std::uint32_t type, std::uint32_t error);

    std::string m_valueName;
    std::uint32_t m_valueType = 0;
    std::uint32_t m_dataSize = 0;
    std::array<Level, kMaxLevels> m_levels;
    int m_depth = -1;
    std::uint32_t m_mode = 0;
    SettingsRoot m_root = SettingsRoot::None;
    std::uint32_t m_lastError = 0;
    std::optional<SettingsFile> m_file;
    bool m_changed = false; // flushed to disk when the last level closes
    SettingsTree m_tree;    // the file as this key last read or wrote it
};

} // namespace dualvex
