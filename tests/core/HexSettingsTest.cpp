#include "core/hexview/HexSettings.h"
#include "HexViewTestUtil.h"
#include "core/hexview/HexViewCore.h"

#include <gtest/gtest.h>

#include <vector>

namespace dualvex {
namespace {

TEST(HexSettingsTest, ClampBringsStoredValuesIntoRange)
{
    HexSettings settings;
    settings.lineWidth = 100000;
    settings.addressLength = 99;
    settings.raster = -4;
    settings.widthRaster = -1;
    settings.extraSpace = -3;
    settings.outputFormat = 7;
    settings.invertBytes = 1;
    settings.insertSpace = 5;
    settings.selectionRaster = -2;
    settings.Clamp();
    EXPECT_EQ(settings.lineWidth, 256);
    EXPECT_EQ(settings.addressLength, 8);
    EXPECT_EQ(settings.raster, 1);
    EXPECT_EQ(settings.widthRaster, 1);
    EXPECT_EQ(settings.extraSpace, 0);
    EXPECT_EQ(settings.outputFormat, 3);
    EXPECT_EQ(settings.invertBytes, 7);
    EXPECT_EQ(settings.insertSpace, 1);
    EXPECT_EQ(settings.selectionRaster, 1);
}

TEST(HexSettingsTest, LineWidthBelowOneLoadsAsSixteen)
{
    for (int stored : {0, -5}) {
        HexSettings settings;
        settings.lineWidth = stored;
        settings.Clamp();
        EXPECT_EQ(settings.lineWidth, 16);
    }
}

TEST(HexSettingsTest, DefaultsSurviveClamp)
{
    HexSettings settings;
    settings.Clamp();
    EXPECT_EQ(settings.lineWidth, 16);
    EXPECT_EQ(settings.extraSpace, 4);
    EXPECT_EQ(settings.raster, 4);
    EXPECT_EQ(settings.addressLength, 6);
    EXPECT_EQ(settings.invertBytes, 0);
    EXPECT_EQ(settings.statusbarMode, 0x1002);
    EXPECT_EQ(settings.hexFlags, 0x018Eu);
}

TEST(HexSettingsTest, OutOfRangeSettingsGiveAWorkingView)
{
    std::vector<std::uint8_t> bytes = test::CountingBytes(1000);
    HexViewCore view;
    view.SetData(bytes.data(), 1000, 0, 0);
    HexSettings settings;
    settings.lineWidth = 100000;
    settings.addressLength = 99;
    settings.raster = -7;
    settings.widthRaster = -7;
    settings.hexFlags = 0;
    view.ApplySettings(settings);
    EXPECT_EQ(view.Layout().Width(), 256);
    EXPECT_EQ(view.Layout().HexStart(), 10);
    EXPECT_EQ(view.GetSetting(kSettingRaster), 1);
    HexLineText out;
    EXPECT_EQ(view.PrintLine(3, 0, out), view.Layout().LineWidth());
}

TEST(HexSettingsTest, StoredFlagsChangeOnlyTheWidthAndSnapBits)
{
    std::vector<std::uint8_t> bytes = test::CountingBytes(10);
    HexViewCore view;
    view.SetData(bytes.data(), 10, 0, kDataEditable);
    HexSettings settings;
    settings.hexFlags = 0xFFFF;
    view.ApplySettings(settings);
    EXPECT_FALSE(view.IsReadOnly());
    EXPECT_FALSE(view.IsModified());
    EXPECT_EQ(view.Flags() & 0x70u, 0u);
    settings.hexFlags = 0;
    view.ApplySettings(settings);
    EXPECT_EQ(view.Flags() & kHexStoredBits, 0u);
}

TEST(HexSettingsTest, SettingsRoundTripThroughTheView)
{
    HexViewCore view;
    HexSettings settings;
    settings.lineWidth = 24;
    settings.extraSpace = 0;
    settings.insertSpace = 0;
    settings.raster = 8;
    settings.widthRaster = 8;
    settings.invertBytes = 3;
    settings.outputFormat = 2;
    settings.selectionRaster = 1;
    settings.statusbarMode = 0x6001;
    settings.addressLength = 8;
    settings.hexFlags = kHexSnapAddress;
    settings.hexFindFlags = 0x55;
    view.ApplySettings(settings);
    const HexSettings back = view.Settings();
    EXPECT_EQ(back.lineWidth, 24);
    EXPECT_EQ(back.extraSpace, 0);
    EXPECT_EQ(back.insertSpace, 0);
    EXPECT_EQ(back.raster, 8);
    EXPECT_EQ(back.widthRaster, 8);
    EXPECT_EQ(back.invertBytes, 3);
    EXPECT_EQ(back.outputFormat, 2);
    EXPECT_EQ(back.selectionRaster, 1);
    EXPECT_EQ(back.statusbarMode, 0x6001);
    EXPECT_EQ(back.addressLength, 8);
    EXPECT_EQ(back.hexFlags & kHexStoredBits, kHexSnapAddress);
    EXPECT_EQ(back.hexFindFlags, 0x55u);
    EXPECT_EQ(view.Layout().Width(), 24);
}

TEST(HexSettingsTest, GetSettingIndexes)
{
    HexViewCore view;
    view.SetLayout({.width = 12, .extraSpace = 6, .insertSpace = 0, .digits = 5, .format = 1, .invert = 1});
    view.SetWidthMode(-12, 2, 0x2001, 1);
    const int expected[] = {12, 6, 0, 2, 4, -1, 0x2001, 5, 1, 1, 1};
    for (int i = 0; i <= 10; ++i) {
        if (i == kSettingFlags) continue;
        EXPECT_EQ(view.GetSetting(i), expected[i]) << i;
    }
    EXPECT_EQ(view.GetSetting(kSettingFlags), static_cast<int>(view.Flags()));
    EXPECT_EQ(view.GetSetting(11), 0);
    EXPECT_EQ(view.GetSetting(-1), 0);
}

TEST(HexSettingsTest, SetLayoutReturnsThePreviousWidthAndKeepsNegativeArguments)
{
    HexViewCore view;
    test::UseFixedWidth(view, 16);
    EXPECT_EQ(view.SetLayout({.width = 10, .format = 2}), 16);
    EXPECT_EQ(view.Layout().Width(), 8);
    EXPECT_EQ(view.Layout().ExtraSpace(), 4);
    EXPECT_EQ(view.SetLayout({.extraSpace = 3}), 8);
    EXPECT_EQ(view.Layout().ExtraSpace(), 4);
    EXPECT_EQ(view.Layout().Digits(), 6);
}

// Auto fit: the widest line that fits the visible columns.
TEST(HexSettingsTest, AutoFitWidthFormula)
{
    struct Case {
        const char* name;
        int columns;
        int widthRaster; // 0 free width
        int expect;
    };
    const Case cases[] = {
        {"80 columns", 80, 0, 16},
        {"120 columns", 120, 0, 25},
        {"120 columns in fours", 120, 4, 24},
        {"narrowest window", 1, 0, 1},
        {"very wide window", 5000, 0, 256},
    };
    std::vector<std::uint8_t> bytes = test::CountingBytes(100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HexViewCore view;
        view.SetData(bytes.data(), 100, 0, 0);
        view.SetWidthMode(c.widthRaster, 0, -1, -1);
        view.OnResize(c.columns, 20);
        EXPECT_EQ(view.Layout().Width(), c.expect);
        if (c.columns >= 80 && c.columns < 5000) {
            EXPECT_LE(view.Layout().LineWidth(), c.columns);
        }
    }
}

TEST(HexSettingsTest, AutoFitKeepsCursorSelectionAndTopOnTheirBytes)
{
    std::vector<std::uint8_t> bytes = test::CountingBytes(1000);
    HexViewCore view;
    view.SetData(bytes.data(), 1000, 0, 0);
    view.SetWidthMode(0, 0, -1, -1);
    view.OnResize(80, 20);
    view.SetTopAddress(160, false);
    view.SetCursorPos(200, false);
    view.SelectTo(210, false);
    view.OnResize(160, 20);
    EXPECT_NE(view.Layout().Width(), 16);
    EXPECT_EQ(view.GetTopPosition(false), 160);
    EXPECT_EQ(test::State(view), "200h [200,209]");
}

TEST(HexSettingsTest, FixedWidthIgnoresResizes)
{
    HexViewCore view;
    test::UseFixedWidth(view, 256);
    view.OnResize(1, 1);
    EXPECT_EQ(view.Layout().Width(), 256);
    EXPECT_EQ(view.GetSetting(kSettingLineWidth), 256);
    EXPECT_EQ(view.Flags() & (kHexAutoFit | kHexWidthRaster), 0u);
}

TEST(HexSettingsTest, SnapModeAndStatusMode)
{
    HexViewCore view;
    view.TakeUpdate();
    view.SetWidthMode(-16, 8, 0x1001, -1);
    EXPECT_NE(view.Flags() & kHexSnapAddress, 0u);
    EXPECT_EQ(view.GetSetting(kSettingRaster), 8);
    EXPECT_TRUE(view.TakeUpdate().statusChanged);
    EXPECT_EQ(view.StatusMode(), 0x1001);
    view.SetWidthMode(-16, 0, -1, -1);
    EXPECT_EQ(view.Flags() & kHexSnapAddress, 0u);
    EXPECT_EQ(view.GetSetting(kSettingRaster), 1);
    EXPECT_EQ(view.StatusMode(), 0x1001);
}

} // namespace
} // namespace dualvex
