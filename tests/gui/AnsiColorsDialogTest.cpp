#include "AnsiTestView.h"

#include "gui/textwnd/AnsiColorsDialog.h"
#include "gui/textwnd/AnsiPaletteGrid.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using dualvex::AnsiColorsDialog;
using dualvex::AnsiFormat;
using dualvex::AnsiPaletteGrid;
using dualvex::kSystemColor;
using dualvex::test::AnsiTestView;

namespace {

std::vector<AnsiFormat> SampleTable()
{
    return {{kSystemColor, kSystemColor, 1, 0, QStringLiteral("Standard")},
            {0x123456, 0x000000, 2, 0, QStringLiteral("Zebra")},
            {0x0000FF, 0xFFFFFF, 3, 1, QStringLiteral("alpha")}};
}

QStringList ListedNames(const AnsiColorsDialog& dialog)
{
    QStringList names;
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("formatList"));
    for (int row = 0; row < list->count(); ++row) names << list->item(row)->text();
    return names;
}

void ClickCell(AnsiColorsDialog& dialog, const QString& grid, int index)
{
    auto* palette = dialog.findChild<AnsiPaletteGrid*>(grid);
    QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, palette->CellRect(index).center());
}

// Runs `step` on the dialog once it is open as the active modal window.
template <typename Step> void WhenModal(Step step)
{
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<AnsiColorsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(*dialog);
    });
}

} // namespace

TEST(AnsiPaletteGrid, HoldsSixtyThreeCellsColumnByColumn)
{
    const auto& values = AnsiPaletteGrid::Values();
    EXPECT_EQ(values[0], kSystemColor);
    EXPECT_EQ(values[8], 0x400000u) << "end of the first column";
    EXPECT_EQ(values[9], 0x000000u) << "top of the second column";
    EXPECT_EQ(values[62], 0xFFC0C0u);
    AnsiPaletteGrid grid(true);
    EXPECT_EQ(grid.CellRect(10), QRect(grid.CellSize(), grid.CellSize(), grid.CellSize(), grid.CellSize()));
}

TEST(AnsiColorsDialog, ListsAllFormatsSortedAndDisablesTheFilterBoxWithoutBits)
{
    AnsiColorsDialog dialog(SampleTable(), QFont(), 1, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Farben einstellen"));
    EXPECT_EQ(ListedNames(dialog),
              (QStringList{QStringLiteral("alpha"), QStringLiteral("Standard"), QStringLiteral("Zebra")}));
    auto* onlyCurrent = dialog.findChild<QCheckBox*>(QStringLiteral("onlyCurrentBox"));
    EXPECT_FALSE(onlyCurrent->isEnabled());
    EXPECT_EQ(onlyCurrent->text(), QStringLiteral("Nur für aktelles Format"));
    EXPECT_EQ(dialog.CurrentFormat(), 1);
}

TEST(AnsiColorsDialog, FilterBitsListOnlyTheCurrentFormatsUnlessThatLeavesStandardAlone)
{
    const std::vector<std::uint8_t> some{0b110};
    AnsiColorsDialog dialog(SampleTable(), QFont(), 2, &some);
    EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("onlyCurrentBox"))->isChecked());
    EXPECT_EQ(ListedNames(dialog), (QStringList{QStringLiteral("alpha"), QStringLiteral("Zebra")}));
    const std::vector<std::uint8_t> standardOnly{0b001};
    AnsiColorsDialog fallback(SampleTable(), QFont(), 0, &standardOnly);
    EXPECT_EQ(ListedNames(fallback).size(), 3);
}

TEST(AnsiColorsDialog, AColourOutsideThePaletteSelectsTheLastCellAndSurvivesOk)
{
    AnsiColorsDialog dialog(SampleTable(), QFont(), 1, nullptr);
    EXPECT_EQ(dialog.findChild<AnsiPaletteGrid*>(QStringLiteral("backgroundPalette"))->Selected(), 62);
    EXPECT_EQ(dialog.findChild<AnsiPaletteGrid*>(QStringLiteral("textPalette"))->Selected(), 9);
    EXPECT_EQ(dialog.Formats()[1].background, 0x123456u);
    EXPECT_EQ(dialog.SampleBackground(), QColor(0x56, 0x34, 0x12)) << "red sits in the low byte";
}

TEST(AnsiColorsDialog, PaletteClicksAndStyleBoxesEditTheCurrentFormat)
{
    AnsiColorsDialog dialog(SampleTable(), QFont(), 1, nullptr);
    dialog.show();
    ClickCell(dialog, QStringLiteral("backgroundPalette"), 30); // 0000FF: red
    ClickCell(dialog, QStringLiteral("textPalette"), 0);        // the theme's text colour
    for (const auto* name : {"boldBox", "underlineBox"}) {
        auto* box = dialog.findChild<QCheckBox*>(QLatin1String(name));
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier,
                          QPoint(6, box->height() / 2)); // on the indicator
    }
    const AnsiFormat zebra = dialog.Formats()[1];
    EXPECT_EQ(zebra.background, 0x0000FFu);
    EXPECT_EQ(zebra.text, kSystemColor);
    EXPECT_EQ(zebra.fontStyle, 5);
    const QPalette sample = dialog.findChild<QLabel*>(QStringLiteral("sample"))->palette();
    EXPECT_EQ(sample.color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(sample.color(QPalette::WindowText), dialog.palette().color(QPalette::Text));

    dialog.SelectFormat(2);
    EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("boldBox"))->isChecked());
    EXPECT_FALSE(dialog.findChild<QCheckBox*>(QStringLiteral("underlineBox"))->isChecked());
    EXPECT_EQ(dialog.findChild<AnsiPaletteGrid*>(QStringLiteral("backgroundPalette"))->Selected(), 30);
}

TEST(AnsiColorsDialog, AnEmptyTableShowsTheGreyStandIn)
{
    AnsiColorsDialog dialog({}, QFont(), 0, nullptr);
    EXPECT_TRUE(ListedNames(dialog).isEmpty());
    EXPECT_EQ(dialog.SampleBackground(), QColor(0xC8, 0xC8, 0xC8));
    EXPECT_EQ(dialog.SampleText(), QColor(0xC8, 0xC8, 0xC8));
    EXPECT_TRUE(dialog.Formats().empty());
}

TEST(AnsiColorsDialog, DefineColourTakesTheChoosersColour)
{
    AnsiColorsDialog dialog(SampleTable(), QFont(), 2, nullptr);
    dialog.show();
    QTimer::singleShot(0, [] {
        auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        chooser->setCurrentColor(QColor(0x11, 0x22, 0x33));
        chooser->accept();
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("textDefine")), Qt::LeftButton);
    EXPECT_EQ(dialog.Formats()[2].text, 0x332211u);
    EXPECT_EQ(dialog.findChild<AnsiPaletteGrid*>(QStringLiteral("textPalette"))->Selected(), 62);
}

TEST(AnsiColorsDialog, OkWritesTheCopyBackAndCancelDropsIt)
{
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        std::vector<AnsiFormat> table = SampleTable();
        WhenModal([ok](AnsiColorsDialog& dialog) {
            dialog.SelectFormat(0);
            ClickCell(dialog, QStringLiteral("backgroundPalette"), 9); // black
            ok ? dialog.accept() : dialog.reject();
        });
        const int result = dualvex::EditColors(table, QFont(), 1, nullptr, nullptr);
        EXPECT_EQ(result, ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(table[0].background, ok ? 0x000000u : kSystemColor);
        EXPECT_EQ(table[1], SampleTable()[1]);
    }
}

TEST(AnsiColorsDialog, TheViewsCommandRecolursEveryViewOfTheSet)
{
    AnsiTestView view(QStringLiteral("Recolour"));
    AnsiTestView partner(QStringLiteral("Recolour"));
    const int marked = view.MarkedFormat();
    WhenModal([marked](AnsiColorsDialog& dialog) {
        dialog.SelectFormat(marked);
        ClickCell(dialog, QStringLiteral("backgroundPalette"), 15); // 008000: green
        dialog.accept();
    });
    EXPECT_EQ(view.OnColorsDialog(), QDialog::Accepted);
    EXPECT_EQ(partner.StyleSet().Format(marked).background, 0x008000u);
}
