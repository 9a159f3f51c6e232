// What a hex pane paints: the colour of each kind of cell, checked at the cell
// rectangles the layout gives, and pictures in a light and a dark palette.
#include "HexViewTestSupport.h"

#include "gui/textwnd/AnsiStyleSet.h"

#include <QScrollBar>

using dualvex::CHexView;
using dualvex::HexPos;
using dualvex::test::DiffBits;
using dualvex::test::HexViewFixture;

namespace {

class HexViewPaint : public HexViewFixture {};

TEST_F(HexViewPaint, DifferenceSelectionAndMarkCellsShowTheirFormats)
{
    Bind(256);
    const std::vector<std::uint8_t> bits = DiffBits(256, {3, 40, 41});
    view->SetDiffBits(bits.data(), -1);
    view->SetMark(0, 40, 4); // covers the differing 40, 41
    view->SetCursorPos(20, false);
    view->SelectTo(24, false); // 20..23
    Show();
    const QImage image = Grab();
    const dualvex::AnsiStyleSet& set = view->StyleSet();
    const QPalette& palette = view->palette();
    const struct {
        const char* what;
        HexPos index;
        int format;
    } cases[] = {{"plain", 0, 0},
                 {"difference", 3, 5},
                 {"mark over difference", 40, 4},
                 {"mark", 43, 4},
                 {"selection", 21, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QColor expected = set.BackgroundColor(static_cast<std::uint16_t>(c.format), palette);
        EXPECT_EQ(Background(image, view->HexCellRect(c.index)), expected);
        const int charFormat = c.format == 5 ? 6 : c.format;
        EXPECT_EQ(Background(image, view->CharCellRect(c.index)),
                  set.BackgroundColor(static_cast<std::uint16_t>(charFormat), palette));
    }
}

TEST_F(HexViewPaint, ScrollRangeCoversExactlyTheLines)
{
    Bind(1024); // 64 lines
    Show(900, 200);
    QScrollBar* bar = view->GetScrollBar(1);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(view->LineCount(), 64);
    EXPECT_EQ(view->ColumnCount(), view->Core().Layout().LineWidth());
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    QApplication::processEvents();
    // The last line ends the page: it is fully shown, and nothing is scrolled past it.
    EXPECT_LE(view->CellRect(0, 63).bottom(), view->TextHeight());
    EXPECT_GT(view->CellRect(0, 64).bottom(), view->TextHeight());
}

} // namespace
