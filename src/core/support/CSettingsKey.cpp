#include "core/support/CSettingsKey.h"

#include <algorithm>
#include <cstring>

namespace dualvex {
namespace {

constexpr std::size_t kMaxPathLength = 1023;

struct RootName {
    std::string_view name;
    SettingsRoot root;
};

constexpr RootName kRootNames[] = {
    {"HKEY_CLASSES_ROOT", SettingsRoot::ClassesRoot},     {"HKEY_CURRENT_USER", SettingsRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", SettingsRoot::LocalMachine},   {"HKEY_USERS", SettingsRoot::Users},
    {"HKEY_CURRENT_CONFIG", SettingsRoot::CurrentConfig}, {"HKEY_DYN_DATA", SettingsRoot::DynData},
};

// Cuts a leading root name (any case, followed by "\" or the end) off path.
SettingsRoot TakeRootName(std::string_view& path)
{
    for (const RootName& entry : kRootNames) {
        if (path.size() < entry.name.size() ||
            !SameSettingsName(path.substr(0, entry.name.size()), entry.name))
            continue;
        const std::string_view rest = path.substr(entry.name.size());
        if (!rest.empty() && rest[0] != '\\') continue;
        path = rest.empty() ? rest : rest.substr(1);
        return entry.root;
    }
    return SettingsRoot::CurrentUser;
}

bool HasApplicationKey(SettingsRoot root)
{
    return root == SettingsRoot::CurrentUser || root == SettingsRoot::LocalMachine ||
           root == SettingsRoot::CurrentConfig;
}

// Bytes a value takes once terminated as the expected kind asks: one 0 after a
// text, two 0s after a list.
std::size_t TerminatedSize(std::string_view data, std::uint32_t type)
{
    const std::size_t n = data.size();
    if (type == CSettingsKey::kText || type == CSettingsKey::kExpandText)
        return (n == 0 || data[n - 1] != '\0') ? n + 1 : n;
    if (type == CSettingsKey::kList) {
        if (n == 0 || data[n - 1] != '\0') return n + 2;
        return (n >= 2 && data[n - 2] == '\0') ? n : n + 1;
    }
    return n;
}

// The texts of a stored list, up to the first empty one or the end of the data.
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

// Each text ends at its first zero byte; empty texts are left out, since an empty
// text ends the list. An empty list is the single 0 byte.
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

std::string JoinKeyPath(const std::string& base, const std::string& name)
{
    if (name.empty()) return base;
    return base.empty() ? name : base + '\\' + name;
}

} // namespace

std::string CSettingsKey::ApplicationKeyPath(std::string_view extra)
{
    std::string path = "Software\\Ql\\Dualvex";
    if (!extra.empty()) {
        path.push_back('\\');
        path += extra;
    }
    if (path.size() > kMaxPathLength) path.resize(kMaxPathLength);
    return path;
}

bool CSettingsKey::Fail(std::uint32_t error)
{
    m_lastError = error;
    return false;
}

bool CSettingsKey::CreateKey(const std::string& keyPath)
{
    if (!m_file->Update([&keyPath](SettingsTree& tree) { return tree.EnsureKey(keyPath); }, &m_tree))
        return false;
    m_changed = true;
    return true;
}

bool CSettingsKey::Open(SettingsRoot root, const char* path, std::uint32_t flags)
{
    CloseAll();
    m_mode = flags & 0x3F;
    std::string_view rest = path != nullptr ? std::string_view(path) : std::string_view();
    if (root == SettingsRoot::None) root = path != nullptr ? TakeRootName(rest) : SettingsRoot::CurrentUser;
    std::string keyPath(rest);
    if (path == nullptr && HasApplicationKey(root)) keyPath = ApplicationKeyPath();

    m_root = root;
    m_file = SettingsFile::ForRoot(root);
    if (!m_file) return Fail(kErrorCannotOpen);
    m_tree = m_file->Load();
    if (!m_tree.HasKey(keyPath) && (m_mode != kModeCreate || !CreateKey(keyPath))) {
        m_file.reset();
        m_tree = SettingsTree();
        return Fail(kErrorCannotOpen);
    }
    m_depth = 0;
    m_levels[0] = Level{keyPath, keyPath};
    m_lastError = 0;
    return true;
}

bool CSettingsKey::OpenSub(const char* name, bool noCreate)
{
    if (m_depth < 0) return Fail(kErrorNotOpen);
    if (m_depth == kMaxLevels - 1) return Fail(kErrorTooDeep);
    Level& top = Top();
    std::string subName;
    if (name == kSettingsNext) {
        const std::vector<std::string> names = m_tree.SubKeyNames(top.keyPath);
        if (top.subKeyIndex >= names.size()) return Fail(kErrorNoMoreItems);
        subName = names[top.subKeyIndex++];
    } else if (name != nullptr) {
        if (strnlen(name, kMaxNameLength + 1) > kMaxNameLength) return Fail(kErrorNotFound);
        subName = name;
    }
    m_valueName = subName;
    std::string keyPath = JoinKeyPath(top.keyPath, subName);
    if (!m_tree.HasKey(keyPath)) {
        if (m_mode != kModeCreate || noCreate) return Fail(kErrorCannotOpen);
        if (!CreateKey(keyPath)) return Fail(kErrorAccessDenied);
    }
    ++m_depth;
    Top() = Level{std::move(keyPath), std::move(subName)};
    m_lastError = 0;
    return true;
}

bool CSettingsKey::Close()
{
    if (m_depth < 0) return Fail(kErrorNotOpen);
    Top() = Level();
    if (--m_depth < 0) {
        if (m_changed) m_file->Sync();
        m_changed = false;
        m_file.reset();
        m_tree = SettingsTree();
    }
    m_lastError = 0;
    return true;
}

bool CSettingsKey::CloseAll()
{
    // Closing levels of this store cannot fail; a closed object has nothing to close.
    while (m_depth >= 0) Close();
    return true;
}

bool CSettingsKey::ResolveValueName(const char* name)
{
    if (name == kSettingsNext) {
        Level& top = Top();
        const SettingsTree::Key* key = m_tree.FindKey(top.keyPath);
        if (key == nullptr || top.valueIndex >= key->values.size()) return Fail(kErrorNoMoreItems);
        m_valueName = key->values[top.valueIndex++].first;
        return true;
    }
    if (name != nullptr && strnlen(name, kMaxNameLength + 1) > kMaxNameLength) return Fail(kErrorNotFound);
    m_valueName = name != nullptr ? name : "";
    return true;
}

const SettingsValue* CSettingsKey::FindValue(const char* name)
{
    if (!ResolveValueName(name)) return nullptr;
    const SettingsValue* value = m_tree.FindValue(Top().keyPath, m_valueName);
    if (value == nullptr) Fail(kErrorNotFound);
    return value;
}

bool CSettingsKey::FailRead(void* buffer, std::uint32_t size, std::uint32_t type, std::uint32_t error)
{
    // Texts and lists read as empty; integers and structures keep the caller's default.
    if (type == kText || type == kExpandText || type == kList) {
        const std::uint32_t zeros = type == kList ? 2 : 1;
        if (buffer != nullptr) std::memset(buffer, 0, std::min(zeros, size));
        m_dataSize = zeros;
    } else {
        m_dataSize = 0;
    }
    return Fail(error);
}

bool CSettingsKey::Read(void* buffer, std::uint32_t size, const char* name, std::uint32_t type)
{
    if (m_depth < 0) return Fail(kErrorNotOpen);
    if (buffer == nullptr) size = 0;
    const SettingsValue* value = FindValue(name);
    if (value == nullptr) return FailRead(buffer, size, type, m_lastError);
    m_valueType = value->type;
    const std::size_t length = value->data.size();
    if (length > size) return FailRead(buffer, size, type, kErrorMoreData);
    auto* out = static_cast<char*>(buffer);
    if (length != 0) std::memcpy(out, value->data.data(), length);
    const std::size_t terminated = TerminatedSize(value->data, type);
    if (terminated > size) {
        std::memset(out, 0, std::min<std::size_t>(type == kList ? 2 : 1, size));
        m_dataSize = 0;
        return Fail(kErrorMoreData);
    }
    std::fill(out + length, out + terminated, '\0');
    m_dataSize = static_cast<std::uint32_t>(terminated);
    m_lastError = 0;
    return true;
}

bool CSettingsKey::ReadAlloc(std::unique_ptr<char[]>& buffer, const char* name, std::uint32_t type)
{
    buffer.reset();
    if (m_depth < 0) return Fail(kErrorNotOpen);
    const SettingsValue* value = FindValue(name);
    if (value == nullptr) return false;
    buffer = std::make_unique<char[]>(value->data.size() + 4);
    std::copy(value->data.begin(), value->data.end(), buffer.get());
    m_valueType = value->type;
    m_dataSize = static_cast<std::uint32_t>(TerminatedSize(value->data, type));
    m_lastError = 0;
    return true;
}

bool CSettingsKey::ReadText(std::string& text, const char* name)
{
    std::unique_ptr<char[]> buffer;
    if (!ReadAlloc(buffer, name, kText)) return false;
    text.assign(buffer.get(), m_dataSize - 1);
    return true;
}

bool CSettingsKey::Write(const void* data, std::uint32_t size, const char* name, std::uint32_t type)
{
    if (m_depth < 0) return Fail(kErrorNotOpen);
    if (m_mode == kModeRead) return Fail(kErrorCannotOpen);
    if (data == nullptr) return Fail(kErrorNoData);
    if (!ResolveValueName(name)) return false;
    m_valueType = type;
    m_dataSize = size;
    SettingsValue value{type, std::string(static_cast<const char*>(data), size)};
    const std::string& keyPath = Top().keyPath;
    const std::string& valueName = m_valueName;
    const auto change = [&](SettingsTree& tree) { return tree.SetValue(keyPath, valueName, value); };
    if (!m_file->Update(change, &m_tree)) return Fail(kErrorAccessDenied);
    m_changed = true;
    m_lastError = 0;
    return true;
}

bool CSettingsKey::WriteList(const char* list, const char* name)
{
    std::uint32_t size = 0;
    if (list != nullptr) {
        const char* end = list;
        while (*end != '\0') end += std::strlen(end) + 1;
        size = static_cast<std::uint32_t>(end - list + 1);
    }
    return Write(list, size, name, kList);
}

bool CSettingsKey::ReadInt(std::uint32_t& value, const char* name)
{
    std::uint32_t read = value;
    if (!Read(&read, sizeof read, name, kInt)) return false;
    value = read;
    return true;
}

bool CSettingsKey::ReadInt(std::int32_t& value, const char* name)
{
    std::int32_t read = value;
    if (!Read(&read, sizeof read, name, kInt)) return false;
    value = read;
    return true;
}

bool CSettingsKey::WriteInt(std::uint32_t value, const char* name)
{
    return Write(&value, sizeof value, name, kInt);
}

bool CSettingsKey::WriteText(std::string_view text, const char* name)
{
    return Write(text.empty() ? "" : text.data(), static_cast<std::uint32_t>(text.size()), name, kText);
}

bool CSettingsKey::ReadList(std::vector<std::string>& items, const char* name)
{
    std::unique_ptr<char[]> buffer;
    if (!ReadAlloc(buffer, name, kList)) return false;
    items = SplitTextList(std::string_view(buffer.get(), m_dataSize));
    return true;
}

bool CSettingsKey::WriteList(const std::vector<std::string>& items, const char* name)
{
    const std::string data = JoinTextList(items);
    return Write(data.data(), static_cast<std::uint32_t>(data.size()), name, kList);
}

} // namespace dualvex
