#include <gtest/gtest.h>

#include "core/app/DiffNavigation.h"

#include <string>
#include <vector>

using namespace dualvex;

namespace {

// Builds two images from markup: '.' equal byte, 'x' differing byte.
class Fixture {
  public:
    explicit Fixture(const std::string& markup) : m_a(markup.size(), 0), m_b(markup.size(), 0)
    {
        for (std::size_t i = 0; i < markup.size(); ++i)
            if (markup[i] == 'x') m_b[i] = 1;
        EXPECT_TRUE(m_diff.Compare(m_a.data(), static_cast<ImageLength>(m_a.size()), m_b.data(),
                                   static_cast<ImageLength>(m_b.size())));
    }
    const DiffSet& Diff() const { return m_diff; }

  private:
    std::vector<std::uint8_t> m_a, m_b;
    DiffSet m_diff;
};

} // namespace

//                                  0         1         2
//                                  0123456789012345678901234
const std::string kThreeRanges = "..xxx....xx.....x.......";

TEST(NavigateDiff, MovesFromEachPosition)
{
    Fixture f(kThreeRanges);
    const struct {
        DiffMove move;
        ImageLength cursor;
        std::optional<ImageLength> expected;
    } cases[] = {
        {DiffMove::First, 0, 2},
        {DiffMove::First, 3, std::nullopt},
        {DiffMove::First, 10, 2},
        {DiffMove::Last, 0, 16},
        {DiffMove::Last, 16, std::nullopt},
        {DiffMove::Next, 0, 2},
        {DiffMove::Next, 3, 9},
        {DiffMove::Next, 6, 9},
        {DiffMove::Next, 10, 16},
        {DiffMove::Next, 16, std::nullopt},
        {DiffMove::Next, 20, std::nullopt},
        {DiffMove::Previous, 10, 2},
        {DiffMove::Previous, 12, 9},
        {DiffMove::Previous, 20, 16},
        {DiffMove::Previous, 16, 9},
        {DiffMove::Previous, 1, std::nullopt},
        {DiffMove::Previous, 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.move)) + " from " + std::to_string(c.cursor));
        EXPECT_EQ(NavigateDiff(f.Diff(), c.move, c.cursor), c.expected);
    }
}

TEST(NavigateDiff, EqualImagesGoNowhere)
{
    Fixture f("........");
    for (DiffMove m : {DiffMove::First, DiffMove::Previous, DiffMove::Next, DiffMove::Last}) {
        EXPECT_EQ(NavigateDiff(f.Diff(), m, 0), std::nullopt);
        EXPECT_FALSE(DiffMoveEnabled(f.Diff().Summary(), m, 0));
    }
}

TEST(DiffMoveEnabled, RulesOfTheFourCommands)
{
    Fixture f(kThreeRanges);
    const DiffSummary& s = f.Diff().Summary();
    EXPECT_TRUE(DiffMoveEnabled(s, DiffMove::First, 0));
    EXPECT_FALSE(DiffMoveEnabled(s, DiffMove::Previous, 0));
    EXPECT_FALSE(DiffMoveEnabled(s, DiffMove::Previous, 3)); // inside the first range
    EXPECT_TRUE(DiffMoveEnabled(s, DiffMove::Previous, 5));  // just behind the first range
    EXPECT_TRUE(DiffMoveEnabled(s, DiffMove::Previous, 9));
    EXPECT_FALSE(DiffMoveEnabled(s, DiffMove::Next, 16)); // inside the last range
    EXPECT_FALSE(DiffMoveEnabled(s, DiffMove::Last, 16));
    EXPECT_TRUE(DiffMoveEnabled(s, DiffMove::Last, 9));
}

TEST(NavigateDiff, DifferenceAtTheLastPositionAndAtZero)
{
    Fixture f("x......x");
    EXPECT_EQ(NavigateDiff(f.Diff(), DiffMove::Last, 0), 7u);
    EXPECT_EQ(NavigateDiff(f.Diff(), DiffMove::Previous, 7), 0u);
    EXPECT_EQ(NavigateDiff(f.Diff(), DiffMove::Next, 0), 7u);
}
