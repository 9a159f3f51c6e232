// Running a whole search list: a range width and up to sixteen entries that must
// all be found, the first one at a candidate position and the others behind it
// within the range width.
#pragma once

#include "core/support/WorkObserver.h"
#include "core/tools/FindPattern.h"
#include "core/tools/TextList.h"

#include <optional>
#include <span>
#include <vector>

namespace dualvex {

// What the search needs from a hex view besides its bytes; the hex view implements
// it. Indices are offsets into the data.
class SearchView {
  public:
    virtual ~SearchView() = default;

    virtual std::span<const std::uint8_t> SearchData() const = 0;
    // Marks 0..7; index -2 clears all marks.
    virtual void SetMark(int index, HexPos start, HexPos count) = 0;
    virtual void SetCursorPos(HexPos index) = 0;
    // Selects from the cursor up to, not including, the index.
    virtual void SelectTo(HexPos index) = 0;
    virtual HexPos LineOf(HexPos index) const = 0;
    virtual HexPos FirstVisibleLine() const = 0;
    // Visible lines, a partly visible last line counted.
    virtual int VisibleLines() const = 0;
    virtual bool LastLinePartial() const = 0;
    virtual void ScrollToLine(HexPos firstLine) = 0;
    // Wait cursor while a list runs.
    virtual void SetBusy(bool busy) = 0;
};

inline constexpr int kSearchListMaxEntries = 16;
inline constexpr int kSearchMarks = 8;

struct ListMatch {
    HexPos position = -1;
    int size = 0;
};

// The matches of every entry when the list was found (position -1 otherwise).
struct ListResult {
    HexPos position = -1;
    std::vector<ListMatch> matches;
};

// Runs the list over the data: string 0 is the range width, strings 1..16 the
// entries. ordered: the further entries must follow one another in list order.
[[nodiscard]] ListResult FindListIn(std::span<const std::uint8_t> data, const TextList& searchList,
                                    HexPos from, HexPos count, bool ordered);

// The same in chunks of kWorkChunkBytes candidate positions, asking the observer
// between them (an empty observer is never asked); nothing when it said stop. The
// result equals FindListIn's.
[[nodiscard]] std::optional<ListResult> FindListObserved(std::span<const std::uint8_t> data,
                                                         const TextList& searchList, HexPos from,
                                                         HexPos count, bool ordered,
                                                         const WorkObserver& observer);

// Shows a result on the view: all marks cleared; when found, one mark per entry
// (the first eight), the cursor on the match, the first entry selected and the
// match scrolled into view.
void ShowListResult(SearchView& view, const ListResult& result);

// The same on a view; with select, the marks, cursor, selection and scrolling
// follow the result.
HexPos FindList(SearchView& view, const TextList& searchList, HexPos from, HexPos count, bool ordered,
                bool select);

// The first line to scroll to so that a match running over several lines ends on
// the last fully visible line, or nothing when it needs no scrolling.
[[nodiscard]] std::optional<HexPos> MatchScrollLine(HexPos firstLine, int visibleLines, bool lastPartial,
                                                    HexPos matchFirstLine, HexPos matchLastLine);

} // namespace dualvex
