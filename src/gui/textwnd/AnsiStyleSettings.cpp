#include "gui/textwnd/AnsiStyleSettings.h"

#include "core/support/CSettingsKey.h"
#include "gui/textwnd/AnsiStyleSet.h"

#include <charconv>
#include <string>

namespace dualvex {

namespace {

constexpr int kMaxColorEntries = 256;
constexpr std::size_t kMaxNameBytes = 1024;

// "<path>\<set name>", a trailing backslash of the path dropped.
std::string StylePath(const AnsiStyleSet& set, QString path)
{
    if (path.endsWith(QLatin1Char('\\'))) path.chop(1);
    return (path + QLatin1Char('\\') + set.Name()).toStdString();
}

// A colour entry's key is its id in decimal; anything else is not one of ours.
std::uint32_t EntryId(const std::string& name)
{
    std::uint32_t id = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), id);
    return error == std::errc() && end == name.data() + name.size() ? id : 0;
}

void ReadColorEntry(CSettingsKey& key, AnsiStyleSet& set)
{
    const std::uint32_t id = EntryId(key.LevelName(key.Depth()));
    std::string name;
    if (id == 0 || !key.ReadText(name, "Name")) return;
    if (name.size() > kMaxNameBytes) name.resize(kMaxNameBytes);
    std::uint32_t background = kSystemColor;
    std::uint32_t text = kSystemColor;
    std::int32_t fontStyle = 0;
    (void)key.ReadInt(background, "BG");
    (void)key.ReadInt(text, "TX");
    (void)key.ReadInt(fontStyle, "Font");
    if (!set.UpdateFormat(text, background, QString(), id, fontStyle))
        set.AddFormat(background, text, QString::fromStdString(name), id, fontStyle);
}

} // namespace

bool LoadStyleSettings(AnsiStyleSet& set, const QString& path, bool machine)
{
    set.KeyPath() = path;
    CSettingsKey key;
    const std::string full = StylePath(set, path);
    if (!key.Open(machine ? SettingsRoot::LocalMachine : SettingsRoot::CurrentUser, full.c_str(),
                  CSettingsKey::kModeRead))
        return false;
    QByteArray font(AnsiFontRecord::kStoredSize, '\0');
    if (key.Read(font.data(), AnsiFontRecord::kStoredSize, "Font", CSettingsKey::kBytes) &&
        key.DataSize() == AnsiFontRecord::kStoredSize)
        (void)set.FontRecord().FromBytes(font);
    if (!key.OpenSub("Colors", true)) return false;
    for (int i = 0; i < kMaxColorEntries && key.OpenSub(kSettingsNext, true); ++i) {
        ReadColorEntry(key, set);
        key.Close();
    }
    return true;
}

bool SaveStyleSettings(AnsiStyleSet& set, const QString& path)
{
    const QString base = path.isEmpty() ? set.KeyPath() : path;
    if (base.isEmpty()) return false;
    CSettingsKey key;
    const std::string full = StylePath(set, base);
    if (!key.Open(SettingsRoot::None, full.c_str(), CSettingsKey::kModeCreate)) return false;
    const QByteArray font = set.FontRecord().ToBytes();
    bool ok = key.Write(font.constData(), AnsiFontRecord::kStoredSize, "Font", CSettingsKey::kBytes);
    if (!key.OpenSub("Colors")) return false;
    for (const AnsiFormat& format : set.Formats()) {
        if (format.id == 0) continue;
        if (!key.OpenSub(std::to_string(format.id).c_str())) return false;
        ok = key.WriteInt(format.background, "BG") && ok;
        ok = key.WriteInt(format.text, "TX") && ok;
        ok = key.WriteText(format.name.toStdString(), "Name") && ok;
        ok = key.WriteInt(static_cast<std::uint32_t>(format.fontStyle), "Font") && ok;
        key.Close();
    }
    return key.CloseAll() && ok;
}

} // namespace dualvex
