#include "core/hexview/HexSettingsStore.h"
#include "ConfigDir.h"
#include "core/hexview/HexTypes.h"
#include "core/support/CSettingsKey.h"

#include <gtest/gtest.h>

namespace dualvex {
namespace {

class HexSettingsStoreTest : public test::ConfigDirTest {
  protected:
    static void Store(std::uint32_t value, const char* name)
    {
        CSettingsKey key;
        ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate));
        ASSERT_TRUE(key.WriteInt(value, name));
    }
    static std::uint32_t Stored(const char* name)
    {
        CSettingsKey key;
        std::uint32_t value = 0xDEADBEEF;
        EXPECT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead));
        EXPECT_TRUE(key.ReadInt(value, name)) << name;
        return value;
    }
};

TEST_F(HexSettingsStoreTest, WithoutAKeyTheDefaultsStay)
{
    HexSettings settings;
    EXPECT_FALSE(LoadHexSettings(settings));
    EXPECT_EQ(settings.lineWidth, 16);
    EXPECT_EQ(settings.hexFlags, 0x018Eu);
}

TEST_F(HexSettingsStoreTest, RoundTripKeepsEveryValue)
{
    HexSettings saved;
    saved.lineWidth = 24;
    saved.extraSpace = 8;
    saved.insertSpace = 0;
    saved.raster = 16;
    saved.widthRaster = 8;
    saved.outputFormat = 2;
    saved.invertBytes = 3;
    saved.selectionRaster = 1;
    saved.statusbarMode = 0x8001;
    saved.addressLength = 8;
    saved.hexFlags = kHexAutoFit | kHexPersist;
    saved.hexFindFlags = 0x55;
    Store(0x1C, "HexFindFlags"); // what the search dialog stored
    ASSERT_TRUE(SaveHexSettings(saved));
    EXPECT_EQ(Stored("HexFlags"), saved.hexFlags);
    HexSettings loaded;
    ASSERT_TRUE(LoadHexSettings(loaded));
    EXPECT_EQ(loaded.lineWidth, 24);
    EXPECT_EQ(loaded.extraSpace, 8);
    EXPECT_EQ(loaded.insertSpace, 0);
    EXPECT_EQ(loaded.raster, 16);
    EXPECT_EQ(loaded.widthRaster, 8);
    EXPECT_EQ(loaded.outputFormat, 2);
    EXPECT_EQ(loaded.invertBytes, 3);
    EXPECT_EQ(loaded.selectionRaster, 1);
    EXPECT_EQ(loaded.statusbarMode, 0x8001);
    EXPECT_EQ(loaded.addressLength, 8);
    EXPECT_EQ(loaded.hexFindFlags, 0x1Cu) << "the search flags are the search state's, not the pane's";
    // Only auto fit, snapping and width raster come back from the flag word.
    EXPECT_EQ(loaded.hexFlags, (0x018Eu & ~kHexStoredBits) | kHexAutoFit);
}

TEST_F(HexSettingsStoreTest, OutOfRangeValuesAreClamped)
{
    Store(100000, "LineWidth");
    Store(99, "AddressLength");
    Store(static_cast<std::uint32_t>(-4), "Raster");
    Store(static_cast<std::uint32_t>(-8), "WidthRaster");
    Store(0xFFFF, "HexFlags");
    HexSettings settings;
    ASSERT_TRUE(LoadHexSettings(settings));
    EXPECT_EQ(settings.lineWidth, 256);
    EXPECT_EQ(settings.addressLength, 8);
    EXPECT_EQ(settings.raster, 1);
    EXPECT_EQ(settings.widthRaster, 1);
    EXPECT_EQ(settings.hexFlags, 0x018Eu);
}

TEST_F(HexSettingsStoreTest, LineWidthZeroLoadsAsSixteen)
{
    Store(0, "LineWidth");
    HexSettings settings;
    settings.lineWidth = 32;
    ASSERT_TRUE(LoadHexSettings(settings));
    EXPECT_EQ(settings.lineWidth, 16);
}

} // namespace
} // namespace dualvex
