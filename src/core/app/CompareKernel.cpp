#include "app/CompareKernel.h"

#include <immintrin.h>

namespace dualvex {

std::uint64_t CompareWordsSse2(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t* words,
                               std::size_t count)
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

__attribute__((target("avx2"))) std::uint64_t CompareWordsAvx2(const std::uint8_t* a, const std::uint8_t* b,
                                                               std::uint64_t* words, std::size_t count)
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

bool CpuHasAvx2()
{
    return __builtin_cpu_supports("avx2");
}

CompareWordsFn SelectCompareWords()
{
    static const CompareWordsFn chosen = CpuHasAvx2() ? &CompareWordsAvx2 : &CompareWordsSse2;
    return chosen;
}

void StreamWords(std::uint8_t* dest, const std::uint64_t* words, std::size_t count)
{
    std::size_t k = 0;
    for (; k + 2 <= count; k += 2) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(words + k));
        _mm_stream_si128(reinterpret_cast<__m128i*>(dest + 8 * k), v);
    }
    if (k < count)
        _mm_stream_si64(reinterpret_cast<long long*>(dest + 8 * k), static_cast<long long>(words[k]));
}

void StreamFence()
{
    _mm_sfence();
}

} // namespace dualvex
