// Saves pictures of a sample view in a light and a dark palette under the build folder,
// for a person to look at; the checks only make sure the text stands out in both.
#include "AnsiTestView.h"
#include "DarkPalette.h"

#include "gui/textwnd/AnsiColorsDialog.h"

#include <gtest/gtest.h>

#include <QImage>

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
    }
}

TEST(AnsiViewScreenshot, ColourDialogPicture)
{
    AnsiTestView view(QStringLiteral("ShotDialog"));
    dualvex::AnsiColorsDialog dialog(view.StyleSet().Formats(), view.StyleSet().BaseFont(), 1, nullptr);
    dialog.show();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.grab().save(QStringLiteral(DUALVEX_BINARY_DIR "/ansiview_colors_dialog.png")));
}
