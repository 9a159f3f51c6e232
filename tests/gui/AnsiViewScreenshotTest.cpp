// Saves pictures of a sample view in a light and a dark palette under the build folder,
// for a person to look at. The checks read the pictures at cells found from the layout:
// the text stands out, and plain and marked cells carry their formats' backgrounds.
#include "AnsiTestView.h"
#include "DarkPalette.h"

#include "gui/textwnd/AnsiColorsDialog.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

#include <cstdlib>

using dualvex::test::AnsiTestView;
using dualvex::test::ShowView;

using dualvex::test::DarkPalette;

namespace {

// Share of pixels in the first row of cells that differ from the base colour.
double InkShare(const QImage& image, const QColor& base, int rowHeight)
{
    int ink = 0;
    int all = 0;
    for (int y = 0; y < rowHeight; ++y)
        for (int x = 0; x < image.width() / 3; ++x, ++all)
            if (image.pixelColor(x, y) != base) ++ink;
    return all == 0 ? 0.0 : double(ink) / all;
}

// A background pixel of a cell: its bottom row, just inside the left edge, away from the glyph.
QColor CellBackground(const QImage& image, const QRect& cell)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>((cell.left() + 1) * ratio),
                            static_cast<int>(cell.bottom() * ratio));
}

bool CloseTo(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 60;
}

} // namespace

TEST(AnsiViewScreenshot, LightAndDarkPalettesBothShowTheText)
{
    for (const auto& [name, palette] :
         {std::pair{QStringLiteral("light"), QPalette()}, std::pair{QStringLiteral("dark"), DarkPalette()}}) {
        SCOPED_TRACE(name.toStdString());
        AnsiTestView view(QStringLiteral("Shot"), 200, 400);
        view.setPalette(palette);
        view.SetMarginWidth(12);
        ShowView(view, 480, 260);
        view.setFocus();
        QApplication::processEvents();
        const QImage image = view.grab().toImage();
        const QString file = QStringLiteral(DUALVEX_BINARY_DIR "/ansiview_%1.png").arg(name);
        EXPECT_TRUE(image.save(file));
        const int rowHeight = static_cast<int>(view.CharHeight() * image.devicePixelRatio());
        const QImage text =
            image.copy(static_cast<int>(view.CellRect(0, 1).left() * image.devicePixelRatio()), rowHeight,
                       image.width(), rowHeight);
        EXPECT_GT(InkShare(text, palette.color(QPalette::Base), rowHeight), 0.03);
        // Each line is "line nnnnnn " in the plain format, then "MARK" in the marked one.
        const auto marked = static_cast<std::uint16_t>(view.MarkedFormat());
        const QColor plainBackground = view.StyleSet().BackgroundColor(0, view.palette());
        const QColor markedBackground = view.StyleSet().BackgroundColor(marked, view.palette());
        ASSERT_NE(plainBackground, markedBackground);
        for (const int column : {0, 11, 17})
            EXPECT_EQ(CellBackground(image, view.CellRect(column, 1)), plainBackground) << column;
        for (const int column : {12, 15})
            EXPECT_EQ(CellBackground(image, view.CellRect(column, 1)), markedBackground) << column;
    }
}

// The sample in the picture of the colour dialog shows the colours the dialog reports.
TEST(AnsiViewScreenshot, ColourDialogPictureShowsTheSampleColours)
{
    AnsiTestView view(QStringLiteral("ShotDialog"));
    dualvex::AnsiColorsDialog dialog(view.StyleSet().Formats(), view.StyleSet().BaseFont(),
                                     view.MarkedFormat(), nullptr);
    dialog.show();
    QApplication::processEvents();
    const QImage image = dialog.grab().toImage();
    EXPECT_TRUE(image.save(QStringLiteral(DUALVEX_BINARY_DIR "/ansiview_colors_dialog.png")));
    auto* sample = dialog.findChild<QLabel*>(QStringLiteral("sample"));
    ASSERT_NE(sample, nullptr);
    const qreal ratio = image.devicePixelRatio();
    const QRect area(sample->mapTo(&dialog, sample->contentsRect().topLeft()), sample->contentsRect().size());
    const QColor background = dialog.SampleBackground();
    const QColor text = dialog.SampleText();
    ASSERT_FALSE(CloseTo(background, text));
    const QPoint corner = (area.topLeft() + QPoint(2, 2)) * ratio;
    EXPECT_EQ(image.pixelColor(corner), background);
    bool inked = false;
    for (int y = area.top(); y <= area.bottom() && !inked; ++y)
        for (int x = area.left(); x <= area.right() && !inked; ++x)
            inked = CloseTo(image.pixelColor(QPoint(x, y) * ratio), text);
    EXPECT_TRUE(inked) << "the sample text is drawn in its colour";
}
