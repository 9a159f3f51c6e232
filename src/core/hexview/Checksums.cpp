#include "core/hexview/Checksums.h"

#include "core/support/TextConv.h"

#include <algorithm>

namespace dualvex {
namespace {

void Add(ChecksumTriple& t, std::uint32_t value)
{
    t.sum += value;
    t.negated -= value;
    t.xorValue ^= value;
}

// Reads `width` bytes from `at`, bytes past the end of the input counting as zero.
void AddValue(std::span<const std::uint8_t> input, std::size_t at, int width, ChecksumTriple& little,
              ChecksumTriple& big)
{
    std::uint32_t le = 0;
    std::uint32_t be = 0;
    for (int i = 0; i < width; ++i) {
        const std::uint32_t b =
            at + static_cast<std::size_t>(i) < input.size() ? input[at + static_cast<std::size_t>(i)] : 0;
        le |= b << (8 * i);
        be = (be << 8) | b;
    }
    Add(little, le);
    Add(big, be);
}

void Merge(ChecksumTriple& total, const ChecksumTriple& part)
{
    total.sum += part.sum;
    total.negated += part.negated;
    total.xorValue ^= part.xorValue;
}

std::string Hex8(std::uint32_t value)
{
    char digits[40];
    FormatNumber(value, digits, 0x8810);
    return std::string("0x") + digits;
}

} // namespace

std::span<const std::uint8_t> ChecksumInput(std::span<const std::uint8_t> data,
                                            std::optional<SelectionEnds> selection)
{
    if (!selection) return data.first(std::min(data.size(), kChecksumDefaultLimit));
    const auto size = static_cast<std::int64_t>(data.size());
    const std::int64_t lo = std::clamp<std::int64_t>(std::min(selection->anchor, selection->end), 0, size);
    const std::int64_t hi =
        std::clamp<std::int64_t>(std::max(selection->anchor, selection->end) + 1, lo, size);
    return data.subspan(static_cast<std::size_t>(lo), static_cast<std::size_t>(hi - lo));
}

Checksums ComputeChecksums(std::span<const std::uint8_t> input)
{
    Checksums c;
    for (std::uint8_t b : input) Add(c.bytes, b);
    for (std::size_t i = 0; i < input.size(); i += 2) AddValue(input, i, 2, c.wordsLittle, c.wordsBig);
    for (std::size_t i = 0; i < input.size(); i += 4) AddValue(input, i, 4, c.dwordsLittle, c.dwordsBig);
    return c;
}

// Chunks are a multiple of four bytes long, so only the last one can end in a partial
// word or double word, exactly where the whole input does.
std::optional<Checksums> ComputeChecksums(std::span<const std::uint8_t> input, const WorkObserver& observer)
{
    static_assert(kWorkChunkBytes % 4 == 0);
    Checksums total;
    for (std::size_t done = 0; done < input.size();) {
        const std::size_t n = std::min(kWorkChunkBytes, input.size() - done);
        const Checksums part = ComputeChecksums(input.subspan(done, n));
        Merge(total.bytes, part.bytes);
        Merge(total.wordsLittle, part.wordsLittle);
        Merge(total.wordsBig, part.wordsBig);
        Merge(total.dwordsLittle, part.dwordsLittle);
        Merge(total.dwordsBig, part.dwordsBig);
        done += n;
        if (observer && !observer(done, input.size())) return std::nullopt;
    }
    return total;
}

std::array<std::string, 9> ChecksumTexts(const Checksums& sums, bool bigEndian)
{
    const ChecksumTriple* rows[3] = {&sums.bytes, bigEndian ? &sums.wordsBig : &sums.wordsLittle,
                                     bigEndian ? &sums.dwordsBig : &sums.dwordsLittle};
    std::array<std::string, 9> texts;
    for (int r = 0; r < 3; ++r) {
        texts[static_cast<std::size_t>(3 * r)] = Hex8(rows[r]->sum);
        texts[static_cast<std::size_t>(3 * r + 1)] = Hex8(rows[r]->negated);
        texts[static_cast<std::size_t>(3 * r + 2)] = Hex8(rows[r]->xorValue);
    }
    return texts;
}

} // namespace dualvex
