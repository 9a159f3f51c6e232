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

// Entry 0 is looked for over successive slices of the candidates, so a stop request
// is seen within one slice; the first match of the slices is the first match of
// the whole scan because the finder clips each slice as it clips the whole.
class ObservedFinder {
  public:
    ObservedFinder(std::span<const std::uint8_t> data, HexPos origin, HexPos count,
                   const WorkObserver& observer)
        : m_data(data), m_origin(origin), m_total(static_cast<std::uint64_t>(std::abs(count))),
          m_observer(observer)
    {
    }

    // -1 when not found; m_stopped tells a stop from a miss.
    HexPos Find(const SearchPattern& p, HexPos from, HexPos count)
    {
        const auto size = static_cast<HexPos>(m_data.size());
        const HexPos chunk = static_cast<HexPos>(kWorkChunkBytes);
        while (count != 0 && !m_stopped) {
            const HexPos step = count > 0 ? std::min(count, chunk) : std::max(count, -chunk);
            const HexPos q = dualvex::Find(m_data, p, from, step);
            if (q >= 0 || (count > 0 && from + step >= size) || (count < 0 && from + step < 0)) return q;
            from += step;
            count -= step;
            Ask(from);
        }
        return -1;
    }

    bool Stopped() const { return m_stopped; }

  private:
    void Ask(HexPos at)
    {
        if (!m_observer) return;
        const auto done =
            std::min<std::uint64_t>(static_cast<std::uint64_t>(std::abs(at - m_origin)), m_total);
        m_stopped = !m_observer(done, m_total);
    }

    std::span<const std::uint8_t> m_data;
    HexPos m_origin;
    std::uint64_t m_total;
    const WorkObserver& m_observer;
    bool m_stopped = false;
};

} // namespace

ListResult FindListIn(std::span<const std::uint8_t> data, const TextList& searchList, HexPos from,
                      HexPos count, bool ordered)
{
    return *FindListObserved(data, searchList, from, count, ordered, WorkObserver{});
}

std::optional<ListResult> FindListObserved(std::span<const std::uint8_t> data, const TextList& searchList,
                                           HexPos from, HexPos count, bool ordered,
                                           const WorkObserver& observer)
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
    ObservedFinder finder(data, from, count, observer);
    HexPos p = finder.Find(entries[0], from, count);
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
        p = finder.Find(entries[0], from, count);
    }
    if (finder.Stopped()) return std::nullopt;
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
    if (select) ShowListResult(view, r);
    return r.position;
}

void ShowListResult(SearchView& view, const ListResult& r)
{
    view.SetMark(-2, 0, 0);
    if (r.position < 0) return;
    const int marks = std::min<int>(static_cast<int>(r.matches.size()), kSearchMarks);
    for (int i = 0; i < marks; ++i) view.SetMark(i, r.matches[i].position, r.matches[i].size);
    const HexPos last = r.position + r.matches[0].size - 1;
    view.SetCursorPos(r.position);
    view.SelectTo(last + 1);
    if (const auto line = MatchScrollLine(view.FirstVisibleLine(), view.VisibleLines(),
                                          view.LastLinePartial(), view.LineOf(r.position), view.LineOf(last)))
        view.ScrollToLine(*line);
}

} // namespace dualvex
