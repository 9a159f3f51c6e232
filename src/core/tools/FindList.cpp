#include "core/tools/FindList.h"

#include "core/support/TextConv.h"
#include "core/tools/SearchEntry.h"

#include <algorithm>
#include <cstdlib>

namespace dualvex {
namespace {

HexPos Find(std::span<const std::uint8_t> data, const SearchPattern& p, HexPos from, HexPos count)
{
    return FindPattern(data, p.bytes.data(), p.size, from, count, p.mode);
}

// Looks for entries 1.. behind a match of entry 0 at p; fills their positions.
bool MatchFurther(std::span<const std::uint8_t> data, const std::vector<SearchPattern>& entries, HexPos p,
                  HexPos limit, bool ordered, std::vector<ListMatch>& matches)
{
    HexPos start = p + entries[0].size;
    for (std::size_t k = 1; k < entries.size(); ++k) {
        const int size = entries[k].size;
        // Both orders look at the positions where entry k still ends within the range
        // width; the ordered one starts behind the previous entry's match.
        const HexPos count = limit - size - start + 1;
        if (count < 1) return false;
        const HexPos q = Find(data, entries[k], start, count);
        if (q < 0) return false;
        matches[k] = {q, size};
        if (ordered) start = q + size;
    }
    return true;
}

} // namespace

ListResult FindListIn(std::span<const std::uint8_t> data, const TextList& searchList, HexPos from,
                      HexPos count, bool ordered)
{
    ListResult result;
    if (searchList.Count() < 2) return result;
    const HexPos range = ParseNumber(searchList.At(0).c_str(), 0);
    std::vector<SearchPattern> entries;
    for (int i = 1; i < searchList.Count() && i <= kSearchListMaxEntries; ++i) {
        if (std::optional<SearchPattern> p = ReadSearchEntry(searchList.At(i)))
            entries.push_back(std::move(*p));
    }
    if (entries.empty()) return result;
    // The further entries must end before the end of the scanned candidates; going
    // backward that is the position behind the one the scan starts at.
    const HexPos end = count > 0 ? from + count : from + 1;
    std::vector<ListMatch> matches(entries.size());
    HexPos p = Find(data, entries[0], from, count);
    while (p >= 0) {
        matches[0] = {p, entries[0].size};
        if (entries.size() == 1 ||
            MatchFurther(data, entries, p, std::min(p + range, end), ordered, matches)) {
            result.position = p;
            result.matches = std::move(matches);
            return result;
        }
        const HexPos delta = count > 0 ? p - from + 1 : p - from - 1;
        if (std::abs(delta) > std::abs(count)) return result;
        from += delta;
        count -= delta;
        p = Find(data, entries[0], from, count);
    }
    return result;
}

std::optional<HexPos> MatchScrollLine(HexPos firstLine, int visibleLines, bool lastPartial,
                                      HexPos matchFirstLine, HexPos matchLastLine)
{
    const HexPos further = matchLastLine - matchFirstLine;
    if (further < 1 || further >= visibleLines / 2) return std::nullopt;
    const int full = visibleLines > 3 && lastPartial ? visibleLines - 1 : visibleLines;
    if (matchLastLine <= firstLine + full - 1) return std::nullopt;
    return matchLastLine - full + 1;
}

HexPos FindList(SearchView& view, const TextList& searchList, HexPos from, HexPos count, bool ordered,
                bool select)
{
    view.SetBusy(true);
    const ListResult r = FindListIn(view.SearchData(), searchList, from, count, ordered);
    view.SetBusy(false);
    if (!select) return r.position;
    view.SetMark(-2, 0, 0);
    if (r.position < 0) return r.position;
    const int marks = std::min<int>(static_cast<int>(r.matches.size()), kSearchMarks);
    for (int i = 0; i < marks; ++i) view.SetMark(i, r.matches[i].position, r.matches[i].size);
    const HexPos last = r.position + r.matches[0].size - 1;
    view.SetCursorPos(r.position);
    view.SelectTo(last + 1);
    if (const auto line = MatchScrollLine(view.FirstVisibleLine(), view.VisibleLines(),
                                          view.LastLinePartial(), view.LineOf(r.position), view.LineOf(last)))
        view.ScrollToLine(*line);
    return r.position;
}

} // namespace dualvex
