#include "core/tools/SearchCommands.h"

#include "core/support/TextConv.h"
#include "core/support/ValueText.h"
#include "core/tools/FindList.h"

#include <algorithm>

namespace dualvex {

FindScans ScanForFind(std::uint32_t flags, HexPos cursor, HexPos length,
                      std::optional<SelectionRange> selection)
{
    const bool backward = (flags & kFindBackward) != 0;
    if ((flags & kFindInSelection) && selection) {
        const HexPos size = selection->last - selection->first + 1;
        return {backward ? Scan{selection->last, -size} : Scan{selection->first, size}, std::nullopt};
    }
    if (flags & kFindFromStart) return {Scan{0, length}, std::nullopt};
    FindScans scans{backward ? Scan{cursor - 1, -length} : Scan{cursor + 1, length}, std::nullopt};
    if (flags & kFindWrap) scans.rest = backward ? Scan{length, -(length - cursor)} : Scan{0, cursor};
    return scans;
}

int GroupRangeWidth(const TextList& groupList)
{
    if (groupList.Count() == 0) return 1000;
    const auto width = static_cast<std::int32_t>(ParseNumber(groupList.At(0).c_str(), 0));
    return width < 1 ? 1000 : width;
}

std::string RenderInKind(std::string_view text, int byteCount, int newKind)
{
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        switch (newKind) {
        case kKindHex: return "0x";
        case kKindBinary: return "0b";
        case kKindOctal: return "0o";
        case kKindText: return "\"";
        case kKindDump:
        case kKindMask: return ":";
        default: return {};
        }
    }
    const int choice = IsNumberKind(Classify(text)) ? byteCount : kCountVariable;
    std::vector<std::uint8_t> bytes = ParseValue(text, ByteCountMaximum(choice));
    if (IsNumberKind(Classify(text)) && (choice == kCountByte || choice == kCountWord))
        bytes.resize(static_cast<std::size_t>(ByteCountMaximum(choice)));
    return FormatValue(bytes, newKind);
}

void CommitSearchDialog(SearchState& state, const SearchDialogResult& result)
{
    state.history.AddToHistory(result.text);
    TextList group({std::to_string(result.rangeWidth)});
    for (const std::string& entry : result.groupEntries) {
        if (group.Count() > kSearchListMaxEntries) break;
        group.Insert(group.Count(), entry);
    }
    state.groupList = group;
    if (result.flags & kFindGroup) {
        state.activeList = group;
    } else {
        const EntryOptions options{result.byteCount, (result.flags & kFindUnicode) != 0,
                                   (result.flags & kFindIgnoreCase) != 0,
                                   (result.flags & kFindBigEndian) != 0};
        state.activeList = TextList({"0"});
        if (auto entry = BuildSearchEntry(result.text, options)) state.activeList.Insert(1, *entry);
    }
    state.flags = result.flags & kFindStoredBits;
    state.lastByteCount = result.byteCount;
}

void PrepareRangeSearch(SearchState& state, std::span<const std::uint8_t> selection)
{
    const auto bytes = selection.first(std::min<std::size_t>(selection.size(), kRangeSearchMaxBytes));
    state.flags |= kFindHasSelection;
    state.history.AddToHistory(SelectionValueText(bytes));
    state.activeList = TextList(
        {std::to_string(bytes.size()), RangeSearchEntry(bytes, (state.flags & kFindIgnoreCase) != 0)});
}

} // namespace dualvex
