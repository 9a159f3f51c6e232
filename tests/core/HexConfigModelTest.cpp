#include "core/hexview/HexConfigModel.h"
#include "core/hexview/HexViewCore.h"

#include <gtest/gtest.h>

namespace dualvex {
namespace {

TEST(HexConfigModelTest, FillsFromTheView)
{
    HexViewCore view;
    view.SetWidthMode(-24, 8, 0x8001, 1);
    view.SetLayout({.width = 24, .extraSpace = 0, .insertSpace = 0, .digits = 4, .format = 1, .invert = 1});
    const HexConfigState state = FillHexConfig(view);
    EXPECT_TRUE(state.fixedWidth);
    EXPECT_EQ(state.width, 24);
    EXPECT_TRUE(state.snapOn);
    EXPECT_EQ(state.snap, 8);
    EXPECT_FALSE(state.widthRasterOn);
    EXPECT_FALSE(state.extraSpaceOn);
    EXPECT_EQ(state.extraSpace, 4); // nothing sensible to show for "none"
    EXPECT_FALSE(state.insertSpace);
    EXPECT_EQ(state.digits, 4);
    EXPECT_EQ(state.format, 1);
    EXPECT_TRUE(state.invert);
    EXPECT_TRUE(state.selectionRaster);
    EXPECT_EQ(state.valueSize, 1);
    EXPECT_TRUE(state.positive);
    EXPECT_FALSE(state.hexDistances);
}

TEST(HexConfigModelTest, ValueSizeThreeShowsAsDWord)
{
    HexViewCore view;
    view.SetWidthMode(-16, 0, 3, -1);
    EXPECT_EQ(FillHexConfig(view).valueSize, 2);
}

TEST(HexConfigModelTest, ClampBringsEditsIntoRange)
{
    HexConfigState state;
    state.extraSpace = 0;
    state.width = 300;
    state.snap = -5;
    state.widthRaster = 1000;
    state.digits = 0;
    ClampHexConfig(state);
    EXPECT_EQ(state.extraSpace, 1);
    EXPECT_EQ(state.width, 256);
    EXPECT_EQ(state.snap, 1);
    EXPECT_EQ(state.widthRaster, 256);
    EXPECT_EQ(state.digits, 1);
    state.digits = 9;
    ClampHexConfig(state);
    EXPECT_EQ(state.digits, 8);
}

TEST(HexConfigModelTest, TheBoxJustCheckedWinsOverTheOther)
{
    HexConfigState state;
    state.fixedWidth = true;
    state.widthRasterOn = true;
    ClampHexConfig(state, HexConfigToggle::WidthRaster);
    EXPECT_FALSE(state.fixedWidth);
    EXPECT_TRUE(state.widthRasterOn);
    state.fixedWidth = true;
    ClampHexConfig(state, HexConfigToggle::FixedWidth);
    EXPECT_TRUE(state.fixedWidth);
    EXPECT_FALSE(state.widthRasterOn);
}

TEST(HexConfigModelTest, ByteFormatDisablesInversionAndSelectionRaster)
{
    HexConfigState state;
    state.format = 0;
    state.extraSpaceOn = false;
    state.fixedWidth = false;
    state.snapOn = true;
    HexConfigEnabled enabled = EnabledHexConfig(state);
    EXPECT_FALSE(enabled.invert);
    EXPECT_FALSE(enabled.selectionRaster);
    EXPECT_FALSE(enabled.extraSpace);
    EXPECT_FALSE(enabled.width);
    EXPECT_TRUE(enabled.snap);
    state.format = 2;
    enabled = EnabledHexConfig(state);
    EXPECT_TRUE(enabled.invert);
    EXPECT_TRUE(enabled.selectionRaster);
}

TEST(HexConfigModelTest, OkAppliesLayoutAndWidthMode)
{
    HexViewCore view;
    HexConfigState state;
    state.fixedWidth = true;
    state.width = 32;
    state.widthRasterOn = false;
    state.extraSpaceOn = false;
    state.snapOn = false;
    state.format = 2;
    state.invert = true;
    state.digits = 8;
    state.valueSize = 1;
    state.bigEndian = true;
    state.hexDistances = false;
    ApplyHexConfig(state, view);
    EXPECT_EQ(view.Layout().Width(), 32);
    EXPECT_EQ(view.GetSetting(kSettingExtraSpace), 0);
    EXPECT_EQ(view.Layout().ExtraSpace(), kHexNoRaster);
    EXPECT_EQ(view.GetSetting(kSettingInvert), 3);
    EXPECT_EQ(view.GetSetting(kSettingAddressLength), 8);
    EXPECT_EQ(view.GetSetting(kSettingStatusMode), 0x4001);
    EXPECT_EQ(view.GetSetting(kSettingFlags) & (kHexAutoFit | kHexSnapAddress | kHexWidthRaster), 0);
}

TEST(HexConfigModelTest, OkWithWidthRasterTurnsAutoFitOn)
{
    HexViewCore view;
    HexConfigState state;
    state.fixedWidth = false;
    state.widthRasterOn = true;
    state.widthRaster = 8;
    ApplyHexConfig(state, view);
    const int flags = view.GetSetting(kSettingFlags);
    EXPECT_NE(flags & kHexAutoFit, 0);
    EXPECT_NE(flags & kHexWidthRaster, 0);
    EXPECT_EQ(view.GetSetting(kSettingWidthRaster), 8);
}

} // namespace
} // namespace dualvex
