#include "core/tools/FindPattern.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dualvex {
namespace {

// Candidate start positions as a half-open interval [lo, hi).
struct Candidates {
    HexPos lo = 0;
    HexPos hi = 0;
};

bool ClipForward(HexPos positions, HexPos from, HexPos count, Candidates& out)
{
    if (from >= positions) return false;
    if (from + count >= positions) count = positions - from;
    if (from < 0) {
        count += from;
        from = 0;
    }
    if (from + count < 1 || count < 1) return false;
    out = {from, from + count};
    return true;
}

bool ClipBackward(HexPos positions, HexPos from, HexPos count, Candidates& out)
{
    if (from < 0) return false;
    count = -count;
    if (from - count < 0) count = from + 1;
    if (from >= positions) {
        // Starting behind the last possible position keeps the low end of the range
        // where the caller put it (from = length, count = -(length - cursor) scans
        // down to the cursor).
        count -= from - positions;
        from = positions - 1;
    }
    // Never let the range reach below the first byte, whatever the pattern size.
    if (from < 0) return false;
    if (count > from + 1) count = from + 1;
    if (from - count >= positions || count < 1) return false;
    out = {from - count + 1, from + 1};
    return true;
}

inline std::uint8_t Fold(std::uint8_t c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<std::uint8_t>(c + 32) : c;
}

bool EqualFolded(const std::uint8_t* a, const std::uint8_t* b, int size)
{
    for (int i = 0; i < size; ++i) {
        if (Fold(a[i]) != Fold(b[i])) return false;
    }
    return true;
}

bool EqualMasked(const std::uint8_t* d, const std::uint8_t* value, const std::uint8_t* mask, int size)
{
    int i = 0;
    if (size >= 4) {
        std::uint32_t dv, vv, mv;
        std::memcpy(&dv, d, 4);
        std::memcpy(&vv, value, 4);
        std::memcpy(&mv, mask, 4);
        if (((dv ^ vv) & mv) != 0) return false;
        i = 4;
    }
    for (; i < size; ++i) {
        if (((d[i] ^ value[i]) & mask[i]) != 0) return false;
    }
    return true;
}

// Exact matches: the candidates are filtered by their first and last byte sixteen
// positions at a time, and only survivors are compared in full.
HexPos ExactForward(const std::uint8_t* d, Candidates c, const std::uint8_t* p, int size)
{
    if (size == 1) {
        const void* hit = std::memchr(d + c.lo, p[0], static_cast<std::size_t>(c.hi - c.lo));
        return hit ? static_cast<const std::uint8_t*>(hit) - d : -1;
    }
    const int last = size - 1;
    HexPos i = c.lo;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(p[0]));
    const __m128i tail = _mm_set1_epi8(static_cast<char>(p[last]));
    for (; i + 16 <= c.hi; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + last));
        unsigned bits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, tail))));
        while (bits != 0) {
            const int bit = __builtin_ctz(bits);
            if (std::memcmp(d + i + bit + 1, p + 1, static_cast<std::size_t>(size - 2)) == 0) return i + bit;
            bits &= bits - 1;
        }
    }
#endif
    for (; i < c.hi; ++i) {
        if (d[i] == p[0] && d[i + last] == p[last] &&
            std::memcmp(d + i, p, static_cast<std::size_t>(size)) == 0)
            return i;
    }
    return -1;
}

HexPos ExactBackward(const std::uint8_t* d, Candidates c, const std::uint8_t* p, int size)
{
    const int last = size - 1;
    HexPos i = c.hi;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(p[0]));
    const __m128i tail = _mm_set1_epi8(static_cast<char>(p[last]));
    while (i - 16 >= c.lo) {
        i -= 16;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + last));
        unsigned bits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, tail))));
        while (bits != 0) {
            const int bit = 31 - __builtin_clz(bits);
            if (std::memcmp(d + i + bit, p, static_cast<std::size_t>(size)) == 0) return i + bit;
            bits &= ~(1u << bit);
        }
    }
#endif
    while (i > c.lo) {
        --i;
        if (d[i] == p[0] && d[i + last] == p[last] &&
            std::memcmp(d + i, p, static_cast<std::size_t>(size)) == 0)
            return i;
    }
    return -1;
}

bool AcceptAt(const std::uint8_t* d, const std::uint8_t* p, int size, MatchMode mode)
{
    if (mode == MatchMode::Mask) return EqualMasked(d, p, p + size, size);
    return Fold(*d) == Fold(p[0]) && EqualFolded(d + 1, p + 1, size - 1);
}

HexPos ScanGeneric(const std::uint8_t* d, Candidates c, bool forward, const std::uint8_t* p, int size,
                   MatchMode mode)
{
    if (forward) {
        for (HexPos i = c.lo; i < c.hi; ++i) {
            if (AcceptAt(d + i, p, size, mode)) return i;
        }
    } else {
        for (HexPos i = c.hi - 1; i >= c.lo; --i) {
            if (AcceptAt(d + i, p, size, mode)) return i;
        }
    }
    return -1;
}

} // namespace

HexPos FindPattern(std::span<const std::uint8_t> data, const std::uint8_t* pattern, int size, HexPos from,
                   HexPos count, MatchMode mode)
{
    if (size < 1) return from;
    if (data.empty() || pattern == nullptr) return -1;
    const HexPos positions = static_cast<HexPos>(data.size()) - size + 1;
    const bool forward = count > 0;
    Candidates c;
    if (!(forward ? ClipForward(positions, from, count, c) : ClipBackward(positions, from, count, c)))
        return -1;
    if (mode == MatchMode::Exact) {
        return forward ? ExactForward(data.data(), c, pattern, size)
                       : ExactBackward(data.data(), c, pattern, size);
    }
    return ScanGeneric(data.data(), c, forward, pattern, size, mode);
}

} // namespace dualvex
