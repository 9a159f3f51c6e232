#include "core/hexview/HexSettingsStore.h"

#include "core/hexview/HexTypes.h"
#include "core/support/CSettingsKey.h"

#include <cstdint>

namespace dualvex {

namespace {

void ReadField(CSettingsKey& key, int& field, const char* name)
{
    std::int32_t value = field;
    if (key.ReadInt(value, name)) field = value;
}

} // namespace

bool LoadHexSettings(HexSettings& settings)
{
    CSettingsKey key;
    if (!key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead)) return false;
    ReadField(key, settings.addressLength, "AddressLength");
    ReadField(key, settings.insertSpace, "InsertSpace");
    ReadField(key, settings.extraSpace, "ExtraSpace");
    ReadField(key, settings.lineWidth, "LineWidth");
    ReadField(key, settings.raster, "Raster");
    ReadField(key, settings.statusbarMode, "StatusbarMode");
    ReadField(key, settings.widthRaster, "WidthRaster");
    ReadField(key, settings.invertBytes, "InvertBytes");
    ReadField(key, settings.outputFormat, "OutputFormat");
    ReadField(key, settings.selectionRaster, "SelectionRaster");
    std::uint32_t flags = settings.hexFlags;
    if (key.ReadInt(flags, "HexFlags"))
        settings.hexFlags = (settings.hexFlags & ~kHexStoredBits) | (flags & kHexStoredBits);
    (void)key.ReadInt(settings.hexFindFlags, "HexFindFlags");
    settings.Clamp();
    return true;
}

bool SaveHexSettings(const HexSettings& settings)
{
    CSettingsKey key;
    if (!key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate)) return false;
    const auto write = [&key](int value, const char* name) {
        return key.WriteInt(static_cast<std::uint32_t>(value), name);
    };
    bool ok = write(settings.addressLength, "AddressLength");
    ok = write(settings.insertSpace, "InsertSpace") && ok;
    ok = write(settings.extraSpace, "ExtraSpace") && ok;
    ok = write(settings.lineWidth, "LineWidth") && ok;
    ok = write(settings.raster, "Raster") && ok;
    ok = key.WriteInt(settings.hexFlags, "HexFlags") && ok;
    ok = write(settings.statusbarMode, "StatusbarMode") && ok;
    ok = write(settings.widthRaster, "WidthRaster") && ok;
    // "HexFindFlags" belongs to the process-wide search state, which writes it with
    // its lists when the search dialog closes; a pane's copy would overwrite it.
    ok = write(settings.invertBytes, "InvertBytes") && ok;
    ok = write(settings.outputFormat, "OutputFormat") && ok;
    ok = write(settings.selectionRaster, "SelectionRaster") && ok;
    return ok;
}

} // namespace dualvex
