#include "AnsiTestView.h"

#include "core/support/CSettingsKey.h"

#include <gtest/gtest.h>

#include <QFontDialog>
#include <QTimer>

#include "gui/textwnd/AnsiColorsDialog.h"
#include "gui/textwnd/AnsiPaletteGrid.h"

using dualvex::AnsiColorsDialog;
using dualvex::AnsiPaletteGrid;
using dualvex::CSettingsKey;
using dualvex::kSettingsNext;
using dualvex::kSystemColor;
using dualvex::SettingsRoot;
using dualvex::test::AnsiTestView;

namespace {

const QString kAppKey = QStringLiteral("Software\\Ql\\Dualvex");

// Each test uses a set name of its own, so stored values never meet.
QString SetName()
{
    return QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
}

std::string KeyOf(const QString& set, const char* rest = "")
{
    return (kAppKey + QLatin1Char('\\') + set).toStdString() + rest;
}

void WriteEntry(SettingsRoot root, const std::string& path, const char* id, const char* name,
                std::uint32_t bg, std::uint32_t tx, std::uint32_t font)
{
    CSettingsKey key;
    ASSERT_TRUE(key.Open(root, (path + "\\Colors").c_str(), CSettingsKey::kModeCreate));
    ASSERT_TRUE(key.OpenSub(id));
    if (name != nullptr) {
        ASSERT_TRUE(key.WriteText(name, "Name"));
    }
    ASSERT_TRUE(key.WriteInt(bg, "BG"));
    ASSERT_TRUE(key.WriteInt(tx, "TX"));
    ASSERT_TRUE(key.WriteInt(font, "Font"));
}

} // namespace

TEST(AnsiStyleSettings, FontAndFormatsRoundTripThroughTheStore)
{
    const QString name = SetName();
    {
        AnsiTestView view(name);
        view.AddFormat(0x112233, 0x445566, QStringLiteral("Grün"), 40, 2);
        view.AddFormat(0x778899, kSystemColor, QStringLiteral("ohne Id"), 0, 0);
        view.SetFont(21, QStringLiteral("DejaVu Sans Mono"));
        ASSERT_TRUE(view.SaveSettings(kAppKey + QLatin1Char('\\')));
    }
    AnsiTestView view(name);
    EXPECT_EQ(view.StyleSet().FormatCount(), 2) << "a fresh set";
    EXPECT_FALSE(view.LoadSettings(kAppKey, true)) << "nothing stored for the machine";
    EXPECT_TRUE(view.LoadSettings(kAppKey, false));
    const auto& set = view.StyleSet();
    EXPECT_EQ(set.FontRecord().height, 21);
    EXPECT_EQ(set.FontRecord().face, QStringLiteral("DejaVu Sans Mono"));
    ASSERT_EQ(set.FormatCount(), 3) << "stored formats come back, id-less ones are not stored";
    EXPECT_EQ(set.Format(2).name, QStringLiteral("Grün"));
    EXPECT_EQ(set.Format(2).background, 0x112233u);
    EXPECT_EQ(set.Format(2).text, 0x445566u);
    EXPECT_EQ(set.Format(2).id, 40u);
    EXPECT_EQ(set.Format(2).fontStyle, 2);
    EXPECT_EQ(set.Format(view.MarkedFormat()).background, 0x0000FFu) << "an existing id keeps its entry";
    EXPECT_TRUE(view.SaveSettings()) << "the loaded path is remembered";
}

TEST(AnsiStyleSettings, UserValuesOverrideTheMachineLayer)
{
    const QString name = SetName();
    WriteEntry(SettingsRoot::LocalMachine, KeyOf(name), "1", "Standard", 0x010101, 0x020202, 0);
    WriteEntry(SettingsRoot::LocalMachine, KeyOf(name), "2", "Marke", 0x030303, 0x040404, 4);
    WriteEntry(SettingsRoot::CurrentUser, KeyOf(name), "2", "Marke", 0x050505, 0x060606, 1);
    AnsiTestView view(name);
    EXPECT_TRUE(view.LoadSettings(kAppKey, true));
    EXPECT_TRUE(view.LoadSettings(kAppKey, false));
    const auto& set = view.StyleSet();
    EXPECT_EQ(set.Format(0).background, 0x010101u) << "only the machine has this one";
    EXPECT_EQ(set.Format(view.MarkedFormat()).background, 0x050505u);
    EXPECT_EQ(set.Format(view.MarkedFormat()).text, 0x060606u);
    EXPECT_EQ(set.Format(view.MarkedFormat()).fontStyle, 1);
}

TEST(AnsiStyleSettings, BadStoredValuesAreSkippedOrClamped)
{
    const QString name = SetName();
    WriteEntry(SettingsRoot::CurrentUser, KeyOf(name), "abc", "Wort", 1, 1, 0);
    WriteEntry(SettingsRoot::CurrentUser, KeyOf(name), "0", "Null", 1, 1, 0);
    WriteEntry(SettingsRoot::CurrentUser, KeyOf(name), "12", nullptr, 1, 1, 0);
    WriteEntry(SettingsRoot::CurrentUser, KeyOf(name), "13", "Gut", 7, 8, 99);
    {
        CSettingsKey key;
        ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, KeyOf(name).c_str(), CSettingsKey::kModeCreate));
        dualvex::AnsiFontRecord huge;
        huge.height = 100000;
        huge.face = QStringLiteral("DejaVu Sans Mono");
        const QByteArray bytes = huge.ToBytes();
        ASSERT_TRUE(key.Write(bytes.constData(), 44, "Font", CSettingsKey::kBytes));
    }
    AnsiTestView view(name);
    EXPECT_TRUE(view.LoadSettings(kAppKey, false));
    const auto& set = view.StyleSet();
    ASSERT_EQ(set.FormatCount(), 3) << "entries without a number id or a name are skipped";
    EXPECT_EQ(set.Format(2).name, QStringLiteral("Gut"));
    EXPECT_EQ(set.FontRecord().height, 48) << "a stored size beyond the chooser's range is clamped";
    EXPECT_LT(view.CharHeight(), 80);
}

TEST(AnsiStyleSettings, ASetWithoutAPathIsNotSaved)
{
    AnsiTestView view(SetName());
    EXPECT_FALSE(view.SaveSettings());
}

TEST(AnsiStyleSettings, ColourDialogOkSavesTheSet)
{
    const QString name = SetName();
    AnsiTestView view(name);
    view.LoadSettings(kAppKey, false);
    const int marked = view.MarkedFormat();
    QTimer::singleShot(0, [marked] {
        auto* dialog = qobject_cast<AnsiColorsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->SelectFormat(marked);
        auto* grid = dialog->findChild<AnsiPaletteGrid*>(QStringLiteral("textPalette"));
        QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, grid->CellRect(32).center()); // 00FFFF
        dialog->accept();
    });
    ASSERT_EQ(view.OnColorsDialog(), QDialog::Accepted);
    CSettingsKey key;
    ASSERT_TRUE(
        key.Open(SettingsRoot::CurrentUser, KeyOf(name, "\\Colors\\2").c_str(), CSettingsKey::kModeRead));
    std::uint32_t text = 0;
    EXPECT_TRUE(key.ReadInt(text, "TX"));
    EXPECT_EQ(text, 0x00FFFFu);
}

TEST(AnsiFontDialog, OffersFixedPitchFontsAndResizesEveryViewOfTheSet)
{
    const QString name = SetName();
    AnsiTestView view(name);
    AnsiTestView partner(name);
    view.LoadSettings(kAppKey, false);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QFontDialog::MonospacedFonts));
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPointSize(20); // the chooser speaks points; the record keeps pixels
        font.setBold(true);
        dialog->setCurrentFont(font);
        dialog->accept();
    });
    view.FontDialog();
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSize(20);
    const int pixels = QFontInfo(chosen).pixelSize();
    EXPECT_EQ(view.StyleSet().FontRecord().height, pixels);
    EXPECT_EQ(view.StyleSet().FontRecord().style, 8u) << "bold, italic and underline are not kept";
    EXPECT_EQ(partner.CharHeight(), view.CharHeight());
    CSettingsKey key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, KeyOf(name).c_str(), CSettingsKey::kModeRead));
    QByteArray stored(44, '\0');
    ASSERT_TRUE(key.Read(stored.data(), 44, "Font", CSettingsKey::kBytes));
    dualvex::AnsiFontRecord record;
    ASSERT_TRUE(record.FromBytes(stored));
    EXPECT_EQ(record.height, pixels) << "the choice was saved";
}
