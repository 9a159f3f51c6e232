// Pictures of a hex pane with differences, a mark and a selection in a light and a
// dark palette, saved under the build folder for a person to look at. The checks
// make sure every kind of cell keeps its text readable on both, and read each kind's
// background in the picture at cells found from the layout.
#include "DarkPalette.h"
#include "HexViewTestSupport.h"

#include "gui/hexview/HexLinePainter.h"

using dualvex::HexPos;
using dualvex::test::DiffBits;
using dualvex::test::HexViewFixture;

using dualvex::test::DarkPalette;

namespace {

bool CloseTo(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 60;
}

class HexViewScreenshot : public HexViewFixture {};

TEST_F(HexViewScreenshot, LightAndDarkPanesKeepEveryFormatReadable)
{
    Bind(1024);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 37 + (i >> 3));
    const std::vector<std::uint8_t> bits = DiffBits(1024, {5, 6, 7, 40, 41, 42, 43, 90, 200, 201});
    view->SetDiffBits(bits.data(), -1);
    view->SetMark(0, 36, 12);
    view->SetCursorPos(70, false);
    view->SelectTo(100, false);
    for (const auto& [name, palette] :
         {std::pair{QStringLiteral("light"), QPalette()}, std::pair{QStringLiteral("dark"), DarkPalette()}}) {
        SCOPED_TRACE(name.toStdString());
        view->setPalette(palette);
        Show(760, 300);
        const QImage image = Grab();
        EXPECT_TRUE(image.save(QStringLiteral(DUALVEX_BINARY_DIR "/hexview_%1.png").arg(name)));
        dualvex::HexLinePainter painter;
        painter.Prepare(view->StyleSet(), palette);
        for (int attr = 0; attr < dualvex::HexLinePainter::kAttributes; ++attr)
            EXPECT_GE(dualvex::ContrastRatio(painter.TextColor(attr), painter.BackgroundColor(attr)), 3.0)
                << attr;
        // The hex digits of a plain cell are drawn in the readable colour.
        const QRect cell = view->HexCellRect(1);
        bool inked = false;
        const QColor ink = painter.TextColor(dualvex::kAttrHex);
        for (int y = cell.top(); y <= cell.bottom() && !inked; ++y)
            for (int x = cell.left(); x <= cell.right() && !inked; ++x)
                inked = CloseTo(image.pixelColor(x, y), ink);
        EXPECT_TRUE(inked);
        // The selection covers marks and differences, a mark covers differences.
        const struct {
            HexPos index;
            bool chars;
            int attribute;
        } cells[] = {
            {1, false, dualvex::kAttrHex},        {5, false, dualvex::kAttrDiffHex},
            {5, true, dualvex::kAttrDiffText},    {36, false, dualvex::kAttrMark},
            {41, false, dualvex::kAttrMark},      {80, false, dualvex::kAttrSelection},
            {90, false, dualvex::kAttrSelection}, {200, false, dualvex::kAttrDiffHex},
        };
        for (const auto& c : cells) {
            SCOPED_TRACE(std::to_string(c.index) + (c.chars ? " chars" : " hex"));
            const QRect rect = c.chars ? view->CharCellRect(c.index) : view->HexCellRect(c.index);
            EXPECT_EQ(Background(image, rect), painter.BackgroundColor(c.attribute));
        }
    }
}

// At 200 % the cells are drawn at twice the pixels: backgrounds end on cell edges and
// the glyphs stay within their cells.
TEST_F(HexViewScreenshot, DoubleScaleKeepsCellsSharp)
{
    Bind(512);
    const std::vector<std::uint8_t> bits = DiffBits(512, {17, 18});
    view->SetDiffBits(bits.data(), -1);
    Show(600, 200);
    QImage image(view->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    view->render(&image);
    EXPECT_TRUE(image.save(QStringLiteral(DUALVEX_BINARY_DIR "/hexview_light_200.png")));
    const QRect cell = view->HexCellRect(17);
    const QColor diff = view->StyleSet().BackgroundColor(dualvex::kAttrDiffHex, view->palette());
    const QColor plain = view->StyleSet().BackgroundColor(0, view->palette());
    // The first device pixel of the cell has the mark, the one before it not.
    EXPECT_EQ(image.pixelColor(cell.left() * 2, cell.bottom() * 2 + 1), diff);
    EXPECT_EQ(image.pixelColor(cell.left() * 2 - 1, cell.bottom() * 2 + 1), plain);
}

} // namespace
