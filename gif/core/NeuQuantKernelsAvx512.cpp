// The competition sixteen neurons at a time, the neighbour pull and the colour lookup with
// AVX-512 (foundation and byte/word instructions); chosen at run time only, where the processor
// and the operating system both support it.
#include "NeuQuantKernels.h"

#if defined(__x86_64__) || defined(__i386__)
// GCC 12's AVX-512 header starts some results from a deliberately undefined vector and then
// warns about it (fixed in later releases); nothing here reads an undefined lane.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#define TOVRIX_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl")))

namespace {

// w - a * (w - c) / 262144 with the division truncating toward zero, as in scalar code.
TOVRIX_AVX512 inline __m512i Pull(__m512i w, __m512i a, __m512i c) {
    const __m512i product = _mm512_mullo_epi32(a, _mm512_sub_epi32(w, c));
    const __m512i roundUp = _mm512_and_si512(_mm512_srai_epi32(product, 31), _mm512_set1_epi32(262143));
    return _mm512_sub_epi32(w, _mm512_srai_epi32(_mm512_add_epi32(product, roundUp), 18));
}

TOVRIX_AVX512 int MinimumOf(__m512i v) {
    const __m256i half = _mm256_min_epi16(_mm512_castsi512_si256(v), _mm512_extracti64x4_epi64(v, 1));
    const __m128i quarter = _mm_min_epi16(_mm256_castsi256_si128(half), _mm256_extracti128_si256(half, 1));
    return _mm_cvtsi128_si32(_mm_minpos_epu16(quarter)) & 0xFFFF;
}

alignas(64) const int16_t kLanePositions[32] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                                11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                                22, 23, 24, 25, 26, 27, 28, 29, 30, 31};

}  // namespace

// Keys (distance << 8) | neuron as in the AVX2 version (see NeuQuantKernels.h for why they fit).
TOVRIX_AVX512 int ContestAvx512(NeuronLanes& n, int c0, int c1, int c2) {
    const __m512i v0 = _mm512_set1_epi32(c0);
    const __m512i v1 = _mm512_set1_epi32(c1);
    const __m512i v2 = _mm512_set1_epi32(c2);
    const __m512i sixteen = _mm512_set1_epi32(16);
    __m512i position = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    __m512i closest = _mm512_set1_epi32(2147483647);
    __m512i winner = closest;
    for (int i = 0; i < kNeurons; i += 16) {
        const __m512i w0 = _mm512_load_si512(n.c0 + i);
        const __m512i w1 = _mm512_load_si512(n.c1 + i);
        const __m512i w2 = _mm512_load_si512(n.c2 + i);
        const __m512i distance = _mm512_add_epi32(
            _mm512_add_epi32(_mm512_abs_epi32(_mm512_sub_epi32(w0, v0)),
                             _mm512_abs_epi32(_mm512_sub_epi32(w1, v1))),
            _mm512_abs_epi32(_mm512_sub_epi32(w2, v2)));
        closest = _mm512_min_epi32(closest, _mm512_or_si512(_mm512_slli_epi32(distance, 8), position));

        const __m512i bias = _mm512_load_si512(n.bias + i);
        const __m512i biased = _mm512_sub_epi32(distance, _mm512_srai_epi32(bias, 12));
        winner = _mm512_min_epi32(winner, _mm512_or_si512(_mm512_slli_epi32(biased, 8), position));

        const __m512i freq = _mm512_load_si512(n.freq + i);
        const __m512i betaFreq = _mm512_srai_epi32(freq, 10);
        _mm512_store_si512(n.freq + i, _mm512_sub_epi32(freq, betaFreq));
        _mm512_store_si512(n.bias + i, _mm512_add_epi32(bias, _mm512_slli_epi32(betaFreq, 10)));
        position = _mm512_add_epi32(position, sixteen);
    }
    const int closestIndex = _mm512_reduce_min_epi32(closest) & 0xFF;
    n.freq[closestIndex] += 64;
    n.bias[closestIndex] -= 65536;
    return _mm512_reduce_min_epi32(winner) & 0xFF;
}

// The last group is masked at `to`, so no neuron outside the range is read or written.
TOVRIX_AVX512 void NeighboursAvx512(NeuronLanes& n, const int32_t* spread, int from, int to,
                                    int winner, int c0, int c1, int c2) {
    const __m512i v0 = _mm512_set1_epi32(c0);
    const __m512i v1 = _mm512_set1_epi32(c1);
    const __m512i v2 = _mm512_set1_epi32(c2);
    for (int i = from; i < to; i += 16) {
        const int left = to - i;
        const __mmask16 lanes = left >= 16 ? static_cast<__mmask16>(0xFFFF)
                                           : static_cast<__mmask16>((1u << left) - 1);
        const __m512i a = _mm512_maskz_loadu_epi32(lanes, spread + kSpreadCentre + i - winner);
        int32_t* s0 = n.c0 + i;
        int32_t* s1 = n.c1 + i;
        int32_t* s2 = n.c2 + i;
        _mm512_mask_storeu_epi32(s0, lanes, Pull(_mm512_maskz_loadu_epi32(lanes, s0), a, v0));
        _mm512_mask_storeu_epi32(s1, lanes, Pull(_mm512_maskz_loadu_epi32(lanes, s1), a, v1));
        _mm512_mask_storeu_epi32(s2, lanes, Pull(_mm512_maskz_loadu_epi32(lanes, s2), a, v2));
    }
}

// As LookupAvx2, thirty-two lanes at a time: first the smallest distance over all neurons, then
// among the neurons at that distance the one the outward walk meets first.
TOVRIX_AVX512 int LookupAvx512Words(const SortedNeurons& n, int red, int green, int blue) {
    const __m512i r = _mm512_set1_epi16(static_cast<int16_t>(red));
    const __m512i g = _mm512_set1_epi16(static_cast<int16_t>(green));
    const __m512i b = _mm512_set1_epi16(static_cast<int16_t>(blue));
    __m512i d[kNeurons / 32];
    __m512i nearest = _mm512_set1_epi16(0x7FFF);
    for (int i = 0; i < kNeurons / 32; i++) {
        const __m512i nr = _mm512_load_si512(n.red + i * 32);
        const __m512i ng = _mm512_load_si512(n.green + i * 32);
        const __m512i nb = _mm512_load_si512(n.blue + i * 32);
        d[i] = _mm512_add_epi16(_mm512_add_epi16(_mm512_abs_epi16(_mm512_sub_epi16(nr, r)),
                                                 _mm512_abs_epi16(_mm512_sub_epi16(ng, g))),
                                _mm512_abs_epi16(_mm512_sub_epi16(nb, b)));
        nearest = _mm512_min_epi16(nearest, d[i]);
    }
    const __m512i smallest = _mm512_set1_epi16(static_cast<int16_t>(MinimumOf(nearest)));

    // The walk visits start, start - 1, start + 1, start - 2, ...: visit number 2k for start + k
    // and 2k + 1 for start - 1 - k.
    const int startPosition = n.greenIndex[green];
    const __m512i start = _mm512_set1_epi16(static_cast<int16_t>(startPosition));
    const __m512i step = _mm512_set1_epi16(32);
    __m512i position = _mm512_load_si512(kLanePositions);
    __m512i firstVisit = _mm512_set1_epi16(0x7FFF);
    for (int i = 0; i < kNeurons / 32; i++) {
        const __m512i offset = _mm512_sub_epi16(position, start);
        const __m512i visit = _mm512_xor_si512(_mm512_add_epi16(offset, offset), _mm512_srai_epi16(offset, 15));
        const __mmask32 isNearest = _mm512_cmpeq_epi16_mask(d[i], smallest);
        firstVisit = _mm512_mask_min_epi16(firstVisit, isNearest, firstVisit, visit);
        position = _mm512_add_epi16(position, step);
    }
    const int visit = MinimumOf(firstVisit);
    const int found = (visit & 1) ? startPosition - 1 - (visit >> 1) : startPosition + (visit >> 1);
    return n.number[found];
}

namespace {

TOVRIX_AVX512 inline __m512i AbsoluteDifference(__m512i a, __m512i b) {
    return _mm512_or_si512(_mm512_subs_epu8(a, b), _mm512_subs_epu8(b, a));
}

}  // namespace

// Sixty-four neurons at a time in bytes: distances add with saturation at 255, which is exact
// whenever the smallest distance is below 255 (the rare colour farther from every entry takes
// the word-wide version). The neurons at the smallest distance become a 256-bit set, and the
// walk's first visit among them is the nearest member at or above the start against the
// nearest below it.
TOVRIX_AVX512 int LookupAvx512(const SortedNeurons& n, int red, int green, int blue) {
    const __m512i r = _mm512_set1_epi8(static_cast<char>(red));
    const __m512i g = _mm512_set1_epi8(static_cast<char>(green));
    const __m512i b = _mm512_set1_epi8(static_cast<char>(blue));
    __m512i d[kNeurons / 64];
    __m512i nearest = _mm512_set1_epi8(static_cast<char>(0xFF));
    for (int i = 0; i < kNeurons / 64; i++) {
        const __m512i dr = AbsoluteDifference(_mm512_load_si512(n.red8 + i * 64), r);
        const __m512i dg = AbsoluteDifference(_mm512_load_si512(n.green8 + i * 64), g);
        const __m512i db = AbsoluteDifference(_mm512_load_si512(n.blue8 + i * 64), b);
        d[i] = _mm512_adds_epu8(_mm512_adds_epu8(dr, dg), db);
        nearest = _mm512_min_epu8(nearest, d[i]);
    }
    const __m256i half = _mm256_min_epu8(_mm512_castsi512_si256(nearest), _mm512_extracti64x4_epi64(nearest, 1));
    __m128i quarter = _mm_min_epu8(_mm256_castsi256_si128(half), _mm256_extracti128_si256(half, 1));
    quarter = _mm_and_si128(_mm_min_epu8(quarter, _mm_srli_epi16(quarter, 8)), _mm_set1_epi16(0x00FF));
    const int smallest = _mm_cvtsi128_si32(_mm_minpos_epu16(quarter)) & 0xFFFF;
    if (smallest == 255) {
        return LookupAvx512Words(n, red, green, blue);
    }
    const __m512i target = _mm512_set1_epi8(static_cast<char>(smallest));
    uint64_t members[kNeurons / 64];
    for (int i = 0; i < kNeurons / 64; i++) {
        members[i] = _mm512_cmpeq_epi8_mask(d[i], target);
    }

    const int start = n.greenIndex[green];
    int bestVisit = 0x7FFFFFFF;
    for (int w = start >> 6; w < kNeurons / 64; w++) {
        const uint64_t bits = members[w] & (w == (start >> 6) ? ~0ull << (start & 63) : ~0ull);
        if (bits != 0) {
            bestVisit = 2 * (w * 64 + __builtin_ctzll(bits) - start);
            break;
        }
    }
    if (start > 0) {
        const int last = start - 1;
        for (int w = last >> 6; w >= 0; w--) {
            const uint64_t bits = members[w] & (w == (last >> 6) ? ~0ull >> (63 - (last & 63)) : ~0ull);
            if (bits != 0) {
                const int visit = 2 * (last - (w * 64 + 63 - __builtin_clzll(bits))) + 1;
                bestVisit = visit < bestVisit ? visit : bestVisit;
                break;
            }
        }
    }
    const int found = (bestVisit & 1) ? start - 1 - (bestVisit >> 1) : start + (bestVisit >> 1);
    return n.number[found];
}

#endif
