#include "core/app/CompareKernel.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

#include "core/app/DiffScanner.h"

namespace dualvex {
namespace {

constexpr std::size_t kBlockWords = DiffScanner::kMaxWords; // 4 KiB of each image per block

[[gnu::always_inline]] inline std::uint64_t WordsSse2(const std::uint8_t* a, const std::uint8_t* b,
                                                      std::uint64_t* words, std::size_t count)
{
    std::uint64_t any = 0;
    for (std::size_t k = 0; k < count; ++k, a += 64, b += 64) {
        std::uint64_t equal = 0;
        for (int part = 0; part < 4; ++part) {
            const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16 * part));
            const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * part));
            const auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(va, vb)));
            equal |= std::uint64_t{mask} << (16 * part);
        }
        words[k] = ~equal;
        any |= ~equal;
    }
    return any;
}

__attribute__((target("avx2"), always_inline)) inline std::uint64_t
WordsAvx2(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t* words, std::size_t count)
{
    std::uint64_t any = 0;
    for (std::size_t k = 0; k < count; ++k, a += 64, b += 64) {
        const __m256i a0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a));
        const __m256i a1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + 32));
        const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b));
        const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + 32));
        const auto low = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a0, b0)));
        const auto high = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a1, b1)));
        const std::uint64_t differ = ~(std::uint64_t{low} | std::uint64_t{high} << 32);
        words[k] = differ;
        any |= differ;
    }
    return any;
}

// Writes the words past the caches: the bit set is written once and read much
// later, so it should not evict the images being compared.
[[gnu::always_inline]] inline void StreamWords(std::uint8_t* dest, const std::uint64_t* words,
                                               std::size_t count)
{
    std::size_t k = 0;
    for (; k + 2 <= count; k += 2) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(words + k));
        _mm_stream_si128(reinterpret_cast<__m128i*>(dest + 8 * k), v);
    }
    if (k < count)
        _mm_stream_si64(reinterpret_cast<long long*>(dest + 8 * k), static_cast<long long>(words[k]));
}

namespace sse2 {
[[gnu::always_inline]] inline std::uint64_t Words(const std::uint8_t* a, const std::uint8_t* b,
                                                  std::uint64_t* words, std::size_t count)
{
    return WordsSse2(a, b, words, count);
}
#include "core/app/ComparePass.inc"
} // namespace sse2

// Every processor with AVX2 also counts bits and zeros in one instruction each.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,popcnt,lzcnt,bmi"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,popcnt,lzcnt,bmi")
#endif
namespace avx2 {
[[gnu::always_inline]] inline std::uint64_t Words(const std::uint8_t* a, const std::uint8_t* b,
                                                  std::uint64_t* words, std::size_t count)
{
    return WordsAvx2(a, b, words, count);
}
#include "core/app/ComparePass.inc"
} // namespace avx2
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

} // namespace

std::uint64_t CompareWordsSse2(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t* words,
                               std::size_t count)
{
    return WordsSse2(a, b, words, count);
}

__attribute__((target("avx2"))) std::uint64_t CompareWordsAvx2(const std::uint8_t* a, const std::uint8_t* b,
                                                               std::uint64_t* words, std::size_t count)
{
    return WordsAvx2(a, b, words, count);
}

bool CpuHasAvx2()
{
    return __builtin_cpu_supports("avx2");
}

bool ComparePass(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t m, std::uint8_t* bits,
                 DiffScanner& scanner)
{
    static const bool hasAvx2 = CpuHasAvx2();
    return hasAvx2 ? avx2::Pass(a, b, m, bits, scanner) : sse2::Pass(a, b, m, bits, scanner);
}

} // namespace dualvex
