// The settings of a hex pane: saved when it goes and loaded by the next one, the
// "Konfiguration" dialog's rules, and OK applying the values with notification 11254.
#include "HexViewTestSupport.h"
#include "gui/support/CommandIds.h"

#include "core/hexview/HexSettingsStore.h"
#include "gui/hexview/HexConfigDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

using dualvex::CHexView;
using dualvex::HexConfigDialog;
using dualvex::HexConfigState;
using dualvex::test::ClearStoredSettings;
using dualvex::test::HexViewFixture;

namespace {

template <typename T> T* Control(QWidget& dialog, int id)
{
    T* control = dialog.findChild<T*>(QStringLiteral("c%1").arg(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
}

TEST(HexViewSettings, APaneSavesWhatTheNextPaneLoads)
{
    ClearStoredSettings();
    {
        CHexView first;
        first.SetWidthMode(-24, 8, 0x8002, 1);
        first.SetLayout(
            {.width = 24, .extraSpace = 8, .insertSpace = 0, .digits = 4, .format = 1, .invert = 1});
    }
    CHexView second;
    EXPECT_EQ(second.GetSetting(dualvex::kSettingLineWidth), 24);
    EXPECT_EQ(second.Core().Layout().Width(), 24);
    EXPECT_EQ(second.GetSetting(dualvex::kSettingRaster), 8);
    EXPECT_EQ(second.GetSetting(dualvex::kSettingAddressLength), 4);
    EXPECT_EQ(second.GetSetting(dualvex::kSettingFormat), 1);
    EXPECT_EQ(second.GetSetting(dualvex::kSettingInvert), 1);
    EXPECT_EQ(second.GetSetting(dualvex::kSettingStatusMode), 0x8002);
    EXPECT_EQ(second.GetSetting(dualvex::kSettingFlags) & dualvex::kHexAutoFit, 0);
    ClearStoredSettings();
}

TEST(HexViewSettings, StoredFlagsNeverMakeAPaneReadOnly)
{
    ClearStoredSettings();
    dualvex::HexSettings settings;
    settings.hexFlags = 0xFFFF;
    settings.lineWidth = 100000;
    settings.addressLength = 99;
    settings.raster = -3;
    ASSERT_TRUE(dualvex::SaveHexSettings(settings));
    std::vector<std::uint8_t> bytes(32);
    CHexView view;
    view.SetData(bytes.data(), 32, 0, dualvex::kDataEditable);
    EXPECT_FALSE(view.IsReadOnly());
    EXPECT_FALSE(view.IsModified());
    EXPECT_LE(view.GetSetting(dualvex::kSettingAddressLength), 8);
    EXPECT_GE(view.GetSetting(dualvex::kSettingRaster), 1);
    ClearStoredSettings();
}

TEST(HexConfigDialogTest, ShowsTheStateWithTheRightCaptions)
{
    HexConfigState state;
    state.format = 0;
    HexConfigDialog dialog(state);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Konfiguration"));
    EXPECT_EQ(Control<QCheckBox>(dialog, 1045)->text(), QStringLiteral("Fixe Breite von "));
    EXPECT_EQ(Control<QCheckBox>(dialog, 1125)->text(), QStringLiteral("Big Edinan Format"));
    EXPECT_EQ(Control<QRadioButton>(dialog, 1130)->text(), QStringLiteral("QWord"));
    EXPECT_EQ(Control<QLineEdit>(dialog, 1075)->text(), QStringLiteral("16"));
    EXPECT_FALSE(Control<QCheckBox>(dialog, 1129)->isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(dialog, 1131)->isEnabled());
}

TEST(HexConfigDialogTest, ChoosingWordEnablesInversionAndSelectionRaster)
{
    HexConfigDialog dialog(HexConfigState{});
    dialog.show();
    QTest::mouseClick(Control<QRadioButton>(dialog, 1050), Qt::LeftButton);
    EXPECT_TRUE(Control<QCheckBox>(dialog, 1129)->isEnabled());
    EXPECT_TRUE(Control<QCheckBox>(dialog, 1131)->isEnabled());
    EXPECT_EQ(dialog.State().format, 1);
}

TEST(HexConfigDialogTest, CheckingWidthRasterClearsFixedWidth)
{
    HexConfigState state;
    state.fixedWidth = true;
    state.widthRasterOn = false;
    HexConfigDialog dialog(state);
    dialog.show();
    QTest::mouseClick(Control<QCheckBox>(dialog, 1097), Qt::LeftButton);
    EXPECT_FALSE(Control<QCheckBox>(dialog, 1045)->isChecked());
    EXPECT_FALSE(Control<QLineEdit>(dialog, 1075)->isEnabled());
    QTest::mouseClick(Control<QCheckBox>(dialog, 1045), Qt::LeftButton);
    EXPECT_FALSE(Control<QCheckBox>(dialog, 1097)->isChecked());
    EXPECT_TRUE(Control<QLineEdit>(dialog, 1075)->isEnabled());
}

TEST(HexConfigDialogTest, LeavingAnEditShowsTheClampedValue)
{
    HexConfigDialog dialog(HexConfigState{});
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QLineEdit* width = Control<QLineEdit>(dialog, 1075);
    width->setFocus();
    width->setText(QStringLiteral("300"));
    Control<QLineEdit>(dialog, 1106)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(width->text(), QStringLiteral("256"));
    QLineEdit* digits = Control<QLineEdit>(dialog, 1106);
    digits->setText(QStringLiteral("0"));
    width->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(digits->text(), QStringLiteral("1"));
}

class HexViewConfig : public HexViewFixture {};

TEST_F(HexViewConfig, OkAppliesTheValuesAndNotifies)
{
    Bind(1024);
    Show();
    QSignalSpy spy(view.get(), &CHexView::HexNotification);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<HexConfigDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        Control<QLineEdit>(*dialog, 1075)->setText(QStringLiteral("8"));
        Control<QRadioButton>(*dialog, 1050)->click();
        dialog->accept();
    });
    EXPECT_TRUE(view->OnCommand(dualvex::cmd::HexSettings));
    EXPECT_EQ(view->Core().Layout().Width(), 8);
    EXPECT_EQ(view->GetSetting(dualvex::kSettingFormat), 1);
    ASSERT_GE(spy.count(), 1);
    EXPECT_EQ(spy.last().at(1).toInt(), dualvex::kNotifySettings);
}

TEST_F(HexViewConfig, CancelChangesNothing)
{
    QSignalSpy spy(view.get(), &CHexView::HexNotification);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<HexConfigDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        Control<QLineEdit>(*dialog, 1075)->setText(QStringLiteral("8"));
        dialog->reject();
    });
    view->ConfigDialog();
    EXPECT_EQ(view->Core().Layout().Width(), 16);
    EXPECT_EQ(spy.count(), 0);
}

} // namespace
