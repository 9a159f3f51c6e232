// Hex panes at the edges: no data, one byte, the widest line in the narrowest
// window, images beyond 2 GiB with differences far past 64 MiB, scrolling
// notifications and the mouse.
#include "HexViewTestSupport.h"

#include "AnsiTestView.h"
#include "gui/textwnd/AnsiStyleSet.h"

#include <QSignalSpy>

#include <sys/mman.h>

using dualvex::CHexView;
using dualvex::HexNotify;
using dualvex::HexPos;
using dualvex::test::HexViewFixture;

namespace {

class HexViewEdge : public HexViewFixture {
  protected:
    void Keys(std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys)
    {
        for (const auto& [key, modifiers] : keys) QTest::keyClick(view.get(), key, modifiers);
        QApplication::processEvents();
    }
    void AllKeys()
    {
        Keys({{Qt::Key_Right, {}},
              {Qt::Key_Down, {}},
              {Qt::Key_PageDown, {}},
              {Qt::Key_End, {}},
              {Qt::Key_End, Qt::ControlModifier},
              {Qt::Key_Left, Qt::ShiftModifier},
              {Qt::Key_PageUp, {}},
              {Qt::Key_Home, Qt::ControlModifier},
              {Qt::Key_Tab, {}},
              {Qt::Key_Tab, {}},
              {Qt::Key_Tab, {}},
              {Qt::Key_A, {}},
              {Qt::Key_Backspace, {}}});
    }
};

TEST_F(HexViewEdge, PaneWithoutDataDrawsNothingAndTakesEveryKey)
{
    Show();
    EXPECT_EQ(view->LineCount(), 0);
    AllKeys();
    EXPECT_FALSE(view->Copy());
    EXPECT_FALSE(view->Undo());
    EXPECT_EQ(view->SetCursorPos(5, false), 0);
    const QImage image = Grab();
    const QColor base = view->StyleSet().BackgroundColor(0, view->palette());
    EXPECT_EQ(image.pixelColor(view->CellRect(3, 0).center()), base);
}

TEST_F(HexViewEdge, OneByteImageKeepsTheCursorOnItsByte)
{
    Bind(1);
    Show();
    AllKeys();
    EXPECT_EQ(view->GetCursorPos(false), 0);
    EXPECT_EQ(view->LineCount(), 1);
    view->SetCursorPos(0, false);
    QTest::keyClicks(view.get(), QStringLiteral("7e"));
    EXPECT_EQ(data[0], 0x7E);
}

TEST_F(HexViewEdge, WidestLineInTheNarrowestWindow)
{
    view->SetWidthMode(-256, 0, -1, 0);
    view->SetLayout({.width = 256, .extraSpace = 0, .insertSpace = 1, .digits = 8, .format = 0, .invert = 0});
    Bind(5000);
    Show(1, 1);
    AllKeys();
    view->resize(120, 60);
    QApplication::processEvents();
    EXPECT_EQ(view->Core().Layout().Width(), 256);
    QTest::keyClick(view.get(), Qt::Key_End);
    QApplication::processEvents();
    // The view follows the cursor to the end of the long line.
    EXPECT_GT(view->GetScrollPosition().column, 0);
    const QRect caretCell = view->CellRect(view->CursorCell().column, view->CursorCell().line);
    EXPECT_TRUE(QRect(0, 0, view->TextWidth(), view->TextHeight()).intersects(caretCell));
    (void)Grab();
}

TEST_F(HexViewEdge, ScrollingByTheUserIsNotifiedWithColumnAndLine)
{
    Bind(4096);
    Show(900, 200);
    QSignalSpy spy(view.get(), &CHexView::HexNotification);
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    HexNotify last;
    bool scrolled = false;
    for (const QList<QVariant>& signal : spy)
        if (signal.at(1).toInt() == dualvex::kNotifyScrolled)
            scrolled = true, last = signal.at(2).value<HexNotify>();
    ASSERT_TRUE(scrolled);
    EXPECT_EQ(last.first, view->GetScrollPosition().column);
    EXPECT_EQ(last.second, view->GetScrollPosition().line);
    EXPECT_GT(last.second, 0);
}

TEST_F(HexViewEdge, TopAddressCanStartInsideALine)
{
    Bind(4096);
    Show();
    view->SetTopAddress(5, false);
    EXPECT_EQ(view->GetTopPosition(false), 5);
    EXPECT_EQ(view->FirstVisiblePosition(true), 5);
    EXPECT_EQ(view->HexCellRect(5).top(), 0);
    EXPECT_EQ(view->HexCellRect(5).left(), view->CellRect(view->Core().Layout().HexStart(), 0).left());
    EXPECT_EQ(view->HexCellRect(4).top(), -view->CharHeight());
    EXPECT_EQ(view->VisibleByteCount(), 16 * view->VisibleLines());
}

TEST_F(HexViewEdge, ClickAndDragSelectWithTheMouse)
{
    Bind(256);
    Show();
    const QPoint from = view->HexCellRect(0x12).center() - QPoint(view->CharWidth() / 2, 0);
    const QPoint to = view->HexCellRect(0x15).center() - QPoint(view->CharWidth() / 2, 0);
    QSignalSpy spy(view.get(), &CHexView::HexNotification);
    dualvex::test::SendMouse(view.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
    EXPECT_EQ(view->GetCursorPos(false), 0x12);
    dualvex::test::SendMouse(view.get(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
    dualvex::test::SendMouse(view.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
    HexPos count = 0;
    EXPECT_EQ(view->GetSelection(false, &count), 0x12);
    EXPECT_EQ(count, 4);
    ASSERT_GE(spy.count(), 1);
    EXPECT_EQ(spy.last().at(2).value<HexNotify>(), (HexNotify{0x12, 0x15, 1}));
}

TEST_F(HexViewEdge, AutoFitWidthFollowsTheWindowAndKeepsTheTopByte)
{
    view->SetWidthMode(4, 0, -1, -1); // auto fit in multiples of 4
    Bind(100000);
    Show(900, 300);
    const int wide = view->Core().Layout().Width();
    EXPECT_EQ(wide % 4, 0);
    EXPECT_LE(view->Core().Layout().LineWidth(), view->VisibleColumns());
    view->SetTopAddress(4000, false);
    view->resize(500, 300);
    QApplication::processEvents();
    const int narrow = view->Core().Layout().Width();
    EXPECT_LT(narrow, wide);
    EXPECT_EQ(narrow % 4, 0);
    EXPECT_LE(view->Core().Layout().LineWidth(), view->VisibleColumns());
    EXPECT_EQ(view->GetTopPosition(false), 4000);
}

// Anonymous memory reserved without backing: reads give zeros and cost nothing.
class SparseMemory {
  public:
    explicit SparseMemory(std::size_t size) : m_size(size)
    {
        void* p =
            mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        m_data = p == MAP_FAILED ? nullptr : static_cast<std::uint8_t*>(p);
    }
    ~SparseMemory()
    {
        if (m_data != nullptr) munmap(m_data, m_size);
    }
    SparseMemory(const SparseMemory&) = delete;
    SparseMemory& operator=(const SparseMemory&) = delete;
    std::uint8_t* data() const { return m_data; }

  private:
    std::size_t m_size;
    std::uint8_t* m_data;
};

TEST_F(HexViewEdge, ImageNear4GiBShowsDifferencesFarBeyond64MiB)
{
    constexpr std::size_t kSize = 0xFFFFFFFFu;
    SparseMemory image(kSize);
    SparseMemory bits(kSize / 8 + 1);
    if (image.data() == nullptr || bits.data() == nullptr)
        GTEST_SKIP() << "cannot reserve 4 GiB of address space";
    const std::size_t far = 0xF0000010u;
    bits.data()[far / 8] |= static_cast<std::uint8_t>(1u << (far % 8));
    image.data()[far] = 0xAB;
    view->SetData(image.data(), static_cast<HexPos>(kSize), 0x10000000u, 0);
    view->SetDiffBits(bits.data(), -1);
    Show();
    view->SetCursorPos(static_cast<HexPos>(far) + 5, false); // the caret away from the checked cells
    view->SetTopAddress(static_cast<HexPos>(far) - 32, false);
    QApplication::processEvents();
    EXPECT_EQ(view->GetTopPosition(true), static_cast<HexPos>(far) - 32 + 0x10000000);
    const QImage shot = Grab();
    const dualvex::AnsiStyleSet& set = view->StyleSet();
    EXPECT_EQ(Background(shot, view->HexCellRect(static_cast<HexPos>(far))),
              set.BackgroundColor(dualvex::kAttrDiffHex, view->palette()));
    EXPECT_EQ(Background(shot, view->HexCellRect(static_cast<HexPos>(far) + 1)),
              set.BackgroundColor(0, view->palette()));
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->GetCursorPos(false), static_cast<HexPos>(kSize) - 1);
    EXPECT_EQ(view->GetCursorPos(true), static_cast<HexPos>(kSize) - 1 + 0x10000000);
    EXPECT_EQ(view->HexCommand(dualvex::kOpGetLength, 0), static_cast<std::int64_t>(kSize));
    (void)Grab();
}

} // namespace
