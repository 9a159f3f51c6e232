// Positions of images between 2 GiB and 4 GiB - 1. The view borrows its
// data, so a sparse anonymous mapping stands in for a loaded image: only
// the pages the test touches are ever backed by memory.
#include "HexViewTestUtil.h"
#include "core/hexview/HexViewCore.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <cstdint>
#include <string>

namespace dualvex {
namespace {

class SparseBuffer {
  public:
    explicit SparseBuffer(std::size_t size) : m_size(size)
    {
        void* p =
            mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        m_data = p == MAP_FAILED ? nullptr : static_cast<std::uint8_t*>(p);
    }
    ~SparseBuffer()
    {
        if (m_data != nullptr) munmap(m_data, m_size);
    }
    SparseBuffer(const SparseBuffer&) = delete;
    SparseBuffer& operator=(const SparseBuffer&) = delete;
    std::uint8_t* Data() const { return m_data; }

  private:
    std::size_t m_size;
    std::uint8_t* m_data;
};

constexpr HexPos kLength = 0xFFFFFFFFLL; // the largest image the loader accepts
constexpr HexPos k2G = 0x80000000LL;

class HexLargeImageTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (m_image.Data() == nullptr || m_bits.Data() == nullptr)
            GTEST_SKIP() << "no address space for 4 GiB";
        test::UseFixedWidth(m_view, 16);
        m_view.SetLayout({.digits = 8});
        m_view.SetData(m_image.Data(), kLength, 0, kDataEditable);
    }

    std::string Line(HexPos line)
    {
        HexLineText out;
        m_view.PrintLine(line, 0, out);
        return test::Text(out);
    }
    std::string Attrs(HexPos line)
    {
        HexLineText out;
        m_view.PrintLine(line, 0, out);
        return test::Attributes(out);
    }

    SparseBuffer m_image{static_cast<std::size_t>(kLength)};
    SparseBuffer m_bits{static_cast<std::size_t>((kLength + 71) / 8)};
    HexViewCore m_view;
};

TEST_F(HexLargeImageTest, LinesAroundTwoAndFourGiB)
{
    m_image.Data()[k2G - 1] = 0xAB;
    m_image.Data()[k2G] = 0xCD;
    m_image.Data()[kLength - 1] = 0xEF;
    EXPECT_EQ(m_view.Layout().LineCount(), 0x10000000LL);
    EXPECT_EQ(Line(k2G / 16 - 1).substr(0, 10), "7FFFFFF0  ");
    EXPECT_EQ(Line(k2G / 16 - 1).substr(10 + 48, 2), "AB");
    EXPECT_EQ(Line(k2G / 16).substr(0, 12), "80000000  CD");
    const std::string last = Line(0x0FFFFFFF);
    EXPECT_EQ(last.substr(0, 10), "FFFFFFF0  ");
    EXPECT_EQ(last.substr(10 + 45, 7), "EF     ");
    EXPECT_EQ(Line(0x10000000), "");
}

TEST_F(HexLargeImageTest, CursorAndScrollingAtTheEnd)
{
    EXPECT_EQ(m_view.SetCursorPos(kLength - 1, false), 1);
    EXPECT_EQ(m_view.Cursor().y, 0x0FFFFFFF);
    EXPECT_EQ(m_view.SetCursorPos(kLength, false), 0);
    m_view.SetCursor(0, -0x08000000, kCursorRelative);
    EXPECT_EQ(m_view.GetCursor(false), kLength - 1 - k2G);
    m_view.SetCursor(0, 0x7FFFFFFF, kCursorRelative);
    EXPECT_EQ(test::State(m_view), std::to_string(kLength - 1) + "l");
    m_view.SetTopAddress(k2G + 5, false);
    EXPECT_EQ(m_view.GetTopPosition(false), k2G + 5);
    EXPECT_EQ(m_view.Layout().Offset(), 11);
    m_view.SetTopAddress(kLength + 100, false);
    EXPECT_EQ(m_view.GetTopPosition(false), kLength - 1);
    EXPECT_EQ(m_view.Command(kOpGetLength, 0), kLength);
    EXPECT_EQ(m_view.Command(kOpGetTop, 0), kLength - 1);
}

TEST_F(HexLargeImageTest, AbsoluteAddressesBeyondFourGiB)
{
    m_view.SetData(m_image.Data(), kLength, 0xFFFFFFF0u, 0);
    m_view.SetCursorPos(0xFFFFFFF0LL + kLength - 1, true);
    EXPECT_EQ(m_view.GetCursor(false), kLength - 1);
    EXPECT_EQ(m_view.GetCursor(true), 0xFFFFFFF0LL + kLength - 1);
    EXPECT_EQ(Line(0x0FFFFFFF).substr(0, 8), "FFFFFFE0");
}

TEST_F(HexLargeImageTest, SelectionMarksAndCopyAcrossTwoGiB)
{
    m_view.SetCursorPos(k2G - 2, false);
    m_view.SelectTo(k2G + 2, false);
    HexPos count = 0;
    EXPECT_EQ(m_view.GetSelection(false, &count), k2G - 2);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(m_view.CopyText(), ":00 00 00 00");
    m_view.SelectTo(kLength, false);
    m_view.GetSelection(false, &count);
    EXPECT_EQ(count, kHexCopyCap);
    HexPos start = 0;
    m_view.GetSelectionEx(&start, &count, false, 0);
    EXPECT_EQ(count, k2G + 1);
    m_view.ClearSelection();
    EXPECT_EQ(m_view.SetMark(0, kLength - 4, 4), 0);
    EXPECT_EQ(m_view.Range(1).Upper(), kLength - 1);
    const std::string attrs = Attrs(0x0FFFFFFF);
    const HexLayout& layout = m_view.Layout();
    EXPECT_EQ(attrs[layout.HexColumn(10)], '2');
    for (int cell = 11; cell <= 14; ++cell) EXPECT_EQ(attrs.substr(layout.HexColumn(cell), 2), "44") << cell;
    EXPECT_EQ(attrs.substr(layout.CharStart() + 10, 6), "044440");
}

// Differences far behind 64 MiB are shown: the count is the image length.
TEST_F(HexLargeImageTest, DifferenceMarksForTheWholeImage)
{
    std::uint8_t* bits = m_bits.Data();
    bits[(k2G + 1) / 8] |= 1 << ((k2G + 1) % 8);
    bits[(kLength - 1) / 8] |= 1 << ((kLength - 1) % 8);
    m_view.SetDifferenceBits(bits, -1);
    HexPos count = 0;
    m_view.GetDifferenceBits(&count);
    EXPECT_EQ(count, kLength);
    EXPECT_EQ(Attrs(k2G / 16).substr(10, 6), "222552");
    EXPECT_EQ(Attrs(k2G / 16).substr(62, 3), "060");
    const std::string last = Attrs(0x0FFFFFFF);
    EXPECT_EQ(last.substr(m_view.Layout().HexColumn(14) - 1, 4), "2552");
    EXPECT_EQ(last.substr(m_view.Layout().CharStart() + 13, 3), "060");
}

TEST_F(HexLargeImageTest, EditingAndUndoAtTheLastByte)
{
    m_view.SetCursorPos(kLength - 1, false);
    m_view.TypeChar('4');
    m_view.TypeChar('2');
    EXPECT_EQ(m_image.Data()[kLength - 1], 0x42);
    EXPECT_TRUE(m_view.Undo());
    EXPECT_TRUE(m_view.Undo());
    EXPECT_EQ(m_image.Data()[kLength - 1], 0);
    EXPECT_FALSE(m_view.IsModified());
    m_view.SetCursorPos(kLength - 2, false);
    EXPECT_TRUE(m_view.PasteHex("11 22 33"));
    EXPECT_EQ(m_image.Data()[kLength - 1], 0x22);
}

TEST_F(HexLargeImageTest, OneByteLinesCountPastTwoToTheThirtyOne)
{
    m_view.SetLayout({.width = 1, .format = 0});
    EXPECT_EQ(m_view.Layout().LineCount(), kLength);
    m_view.SetCursorPos(k2G + 7, false);
    EXPECT_EQ(m_view.Cursor().y, k2G + 7);
    EXPECT_EQ(Line(k2G + 7).substr(0, 8), "80000007");
}

} // namespace
} // namespace dualvex
