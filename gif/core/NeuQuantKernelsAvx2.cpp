// The competition eight neurons at a time, and the neighbour pull over whole ranges, with AVX2;
// chosen at run time only.
#include "NeuQuantKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define TOVRIX_AVX2 __attribute__((target("avx2")))

namespace {

TOVRIX_AVX2 int SmallestKey(__m256i keys) {
    __m128i m = _mm_min_epi32(_mm256_castsi256_si128(keys), _mm256_extracti128_si256(keys, 1));
    m = _mm_min_epi32(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(1, 0, 3, 2)));
    m = _mm_min_epi32(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(2, 3, 0, 1)));
    return _mm_cvtsi128_si32(m);
}

// w - a * (w - c) / 262144 with the division truncating toward zero, as in scalar code.
TOVRIX_AVX2 inline __m256i Pull(__m256i w, __m256i a, __m256i c) {
    const __m256i product = _mm256_mullo_epi32(a, _mm256_sub_epi32(w, c));
    const __m256i roundUp = _mm256_and_si256(_mm256_srai_epi32(product, 31), _mm256_set1_epi32(262143));
    return _mm256_sub_epi32(w, _mm256_srai_epi32(_mm256_add_epi32(product, roundUp), 18));
}

}  // namespace

// Distances are compared as keys (distance << 8) | neuron, so that one minimum finds the
// nearest neuron and, among equals, the lowest number (see NeuQuantKernels.h for why the biased
// distances fit).
TOVRIX_AVX2 int ContestAvx2(NeuronLanes& n, int c0, int c1, int c2) {
    const __m256i v0 = _mm256_set1_epi32(c0);
    const __m256i v1 = _mm256_set1_epi32(c1);
    const __m256i v2 = _mm256_set1_epi32(c2);
    const __m256i eight = _mm256_set1_epi32(8);
    __m256i position = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i closest = _mm256_set1_epi32(2147483647);
    __m256i winner = closest;
    for (int i = 0; i < kNeurons; i += 8) {
        const __m256i w0 = _mm256_load_si256(reinterpret_cast<const __m256i*>(n.c0 + i));
        const __m256i w1 = _mm256_load_si256(reinterpret_cast<const __m256i*>(n.c1 + i));
        const __m256i w2 = _mm256_load_si256(reinterpret_cast<const __m256i*>(n.c2 + i));
        const __m256i distance = _mm256_add_epi32(
            _mm256_add_epi32(_mm256_abs_epi32(_mm256_sub_epi32(w0, v0)),
                             _mm256_abs_epi32(_mm256_sub_epi32(w1, v1))),
            _mm256_abs_epi32(_mm256_sub_epi32(w2, v2)));
        closest = _mm256_min_epi32(closest, _mm256_or_si256(_mm256_slli_epi32(distance, 8), position));

        __m256i* biasSlot = reinterpret_cast<__m256i*>(n.bias + i);
        __m256i* freqSlot = reinterpret_cast<__m256i*>(n.freq + i);
        const __m256i bias = _mm256_load_si256(biasSlot);
        const __m256i biased = _mm256_sub_epi32(distance, _mm256_srai_epi32(bias, 12));
        winner = _mm256_min_epi32(winner, _mm256_or_si256(_mm256_slli_epi32(biased, 8), position));

        const __m256i freq = _mm256_load_si256(freqSlot);
        const __m256i betaFreq = _mm256_srai_epi32(freq, 10);
        _mm256_store_si256(freqSlot, _mm256_sub_epi32(freq, betaFreq));
        _mm256_store_si256(biasSlot, _mm256_add_epi32(bias, _mm256_slli_epi32(betaFreq, 10)));
        position = _mm256_add_epi32(position, eight);
    }
    const int closestIndex = SmallestKey(closest) & 0xFF;
    n.freq[closestIndex] += 64;
    n.bias[closestIndex] -= 65536;
    return SmallestKey(winner) & 0xFF;
}

// Lanes past `to` read a zero pull from the spread table, so they are stored back unchanged;
// the padding after the last neuron keeps those lanes inside the arrays.
TOVRIX_AVX2 void NeighboursAvx2(NeuronLanes& n, const int32_t* spread, int from, int to,
                                int winner, int c0, int c1, int c2) {
    const __m256i v0 = _mm256_set1_epi32(c0);
    const __m256i v1 = _mm256_set1_epi32(c1);
    const __m256i v2 = _mm256_set1_epi32(c2);
    for (int i = from; i < to; i += 8) {
        const __m256i a =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(spread + kSpreadCentre + i - winner));
        __m256i* s0 = reinterpret_cast<__m256i*>(n.c0 + i);
        __m256i* s1 = reinterpret_cast<__m256i*>(n.c1 + i);
        __m256i* s2 = reinterpret_cast<__m256i*>(n.c2 + i);
        _mm256_storeu_si256(s0, Pull(_mm256_loadu_si256(s0), a, v0));
        _mm256_storeu_si256(s1, Pull(_mm256_loadu_si256(s1), a, v1));
        _mm256_storeu_si256(s2, Pull(_mm256_loadu_si256(s2), a, v2));
    }
}

#endif

#if defined(__x86_64__) || defined(__i386__)

namespace {

TOVRIX_AVX2 int MinimumOf(__m256i v) {
    __m128i m = _mm_min_epi16(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
    return _mm_cvtsi128_si32(_mm_minpos_epu16(m)) & 0xFFFF;
}

}  // namespace

// As LookupSse2, sixteen lanes at a time; all values are small and non-negative, so the
// unsigned horizontal minimum applies.
TOVRIX_AVX2 int LookupAvx2(const SortedNeurons& n, int red, int green, int blue) {
    const __m256i r = _mm256_set1_epi16(static_cast<int16_t>(red));
    const __m256i g = _mm256_set1_epi16(static_cast<int16_t>(green));
    const __m256i b = _mm256_set1_epi16(static_cast<int16_t>(blue));
    __m256i d[kNeurons / 16];
    __m256i nearest = _mm256_set1_epi16(0x7FFF);
    for (int i = 0; i < kNeurons / 16; i++) {
        const __m256i nr = _mm256_load_si256(reinterpret_cast<const __m256i*>(n.red + i * 16));
        const __m256i ng = _mm256_load_si256(reinterpret_cast<const __m256i*>(n.green + i * 16));
        const __m256i nb = _mm256_load_si256(reinterpret_cast<const __m256i*>(n.blue + i * 16));
        d[i] = _mm256_add_epi16(_mm256_add_epi16(_mm256_abs_epi16(_mm256_sub_epi16(nr, r)),
                                                 _mm256_abs_epi16(_mm256_sub_epi16(ng, g))),
                                _mm256_abs_epi16(_mm256_sub_epi16(nb, b)));
        nearest = _mm256_min_epi16(nearest, d[i]);
    }
    const __m256i smallest = _mm256_set1_epi16(static_cast<int16_t>(MinimumOf(nearest)));

    const int startPosition = n.greenIndex[green];
    const __m256i start = _mm256_set1_epi16(static_cast<int16_t>(startPosition));
    const __m256i sixteen = _mm256_set1_epi16(16);
    const __m256i none = _mm256_set1_epi16(0x7FFF);
    __m256i position = _mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    __m256i firstVisit = none;
    for (int i = 0; i < kNeurons / 16; i++) {
        const __m256i offset = _mm256_sub_epi16(position, start);
        const __m256i visit = _mm256_xor_si256(_mm256_add_epi16(offset, offset), _mm256_srai_epi16(offset, 15));
        const __m256i isNearest = _mm256_cmpeq_epi16(d[i], smallest);
        firstVisit = _mm256_min_epi16(firstVisit, _mm256_blendv_epi8(none, visit, isNearest));
        position = _mm256_add_epi16(position, sixteen);
    }
    const int visit = MinimumOf(firstVisit);
    const int found = (visit & 1) ? startPosition - 1 - (visit >> 1) : startPosition + (visit >> 1);
    return n.number[found];
}

#endif
