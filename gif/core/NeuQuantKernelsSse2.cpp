// The competition four neurons at a time with SSE2 only, for processors without AVX2.
#include "NeuQuantKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>

#define TOVRIX_SSE2 __attribute__((target("sse2")))

namespace {

TOVRIX_SSE2 inline __m128i Abs32(__m128i v) {
    const __m128i sign = _mm_srai_epi32(v, 31);
    return _mm_sub_epi32(_mm_xor_si128(v, sign), sign);
}

TOVRIX_SSE2 inline __m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

TOVRIX_SSE2 inline __m128i Min32(__m128i a, __m128i b) {
    return Select(_mm_cmplt_epi32(a, b), a, b);
}

TOVRIX_SSE2 int SmallestKey(__m128i keys) {
    keys = Min32(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(1, 0, 3, 2)));
    keys = Min32(keys, _mm_shuffle_epi32(keys, _MM_SHUFFLE(2, 3, 0, 1)));
    return _mm_cvtsi128_si32(keys);
}

}  // namespace

// Distances are compared as keys (distance << 8) | neuron, as in the AVX2 version.
TOVRIX_SSE2 int ContestSse2(NeuronLanes& n, int c0, int c1, int c2) {
    const __m128i v0 = _mm_set1_epi32(c0);
    const __m128i v1 = _mm_set1_epi32(c1);
    const __m128i v2 = _mm_set1_epi32(c2);
    const __m128i four = _mm_set1_epi32(4);
    __m128i position = _mm_setr_epi32(0, 1, 2, 3);
    __m128i closest = _mm_set1_epi32(2147483647);
    __m128i winner = closest;
    for (int i = 0; i < kNeurons; i += 4) {
        const __m128i w0 = _mm_load_si128(reinterpret_cast<const __m128i*>(n.c0 + i));
        const __m128i w1 = _mm_load_si128(reinterpret_cast<const __m128i*>(n.c1 + i));
        const __m128i w2 = _mm_load_si128(reinterpret_cast<const __m128i*>(n.c2 + i));
        const __m128i distance = _mm_add_epi32(
            _mm_add_epi32(Abs32(_mm_sub_epi32(w0, v0)), Abs32(_mm_sub_epi32(w1, v1))),
            Abs32(_mm_sub_epi32(w2, v2)));
        closest = Min32(closest, _mm_or_si128(_mm_slli_epi32(distance, 8), position));

        __m128i* biasSlot = reinterpret_cast<__m128i*>(n.bias + i);
        __m128i* freqSlot = reinterpret_cast<__m128i*>(n.freq + i);
        const __m128i bias = _mm_load_si128(biasSlot);
        const __m128i biased = _mm_sub_epi32(distance, _mm_srai_epi32(bias, 12));
        winner = Min32(winner, _mm_or_si128(_mm_slli_epi32(biased, 8), position));

        const __m128i freq = _mm_load_si128(freqSlot);
        const __m128i betaFreq = _mm_srai_epi32(freq, 10);
        _mm_store_si128(freqSlot, _mm_sub_epi32(freq, betaFreq));
        _mm_store_si128(biasSlot, _mm_add_epi32(bias, _mm_slli_epi32(betaFreq, 10)));
        position = _mm_add_epi32(position, four);
    }
    const int closestIndex = SmallestKey(closest) & 0xFF;
    n.freq[closestIndex] += 64;
    n.bias[closestIndex] -= 65536;
    return SmallestKey(winner) & 0xFF;
}

#endif

#if defined(__x86_64__) || defined(__i386__)

// Every neuron's distance at once, eight 16-bit lanes at a time (a distance is at most 765).
// Among the nearest, the walk would meet first the one with the smallest visit number:
// 2d for d = position - start >= 0 (upwards), -2d - 1 below the start.
TOVRIX_SSE2 int LookupSse2(const SortedNeurons& n, int red, int green, int blue) {
    const __m128i r = _mm_set1_epi16(static_cast<int16_t>(red));
    const __m128i g = _mm_set1_epi16(static_cast<int16_t>(green));
    const __m128i b = _mm_set1_epi16(static_cast<int16_t>(blue));
    alignas(16) int16_t distances[kNeurons];
    __m128i nearest = _mm_set1_epi16(0x7FFF);
    for (int i = 0; i < kNeurons; i += 8) {
        const __m128i nr = _mm_load_si128(reinterpret_cast<const __m128i*>(n.red + i));
        const __m128i ng = _mm_load_si128(reinterpret_cast<const __m128i*>(n.green + i));
        const __m128i nb = _mm_load_si128(reinterpret_cast<const __m128i*>(n.blue + i));
        const __m128i d = _mm_add_epi16(
            _mm_add_epi16(_mm_sub_epi16(_mm_max_epi16(nr, r), _mm_min_epi16(nr, r)),
                          _mm_sub_epi16(_mm_max_epi16(ng, g), _mm_min_epi16(ng, g))),
            _mm_sub_epi16(_mm_max_epi16(nb, b), _mm_min_epi16(nb, b)));
        _mm_store_si128(reinterpret_cast<__m128i*>(distances + i), d);
        nearest = _mm_min_epi16(nearest, d);
    }
    nearest = _mm_min_epi16(nearest, _mm_shuffle_epi32(nearest, _MM_SHUFFLE(1, 0, 3, 2)));
    nearest = _mm_min_epi16(nearest, _mm_shuffle_epi32(nearest, _MM_SHUFFLE(2, 3, 0, 1)));
    nearest = _mm_min_epi16(nearest, _mm_shufflelo_epi16(_mm_shufflehi_epi16(nearest, _MM_SHUFFLE(2, 3, 0, 1)),
                                                         _MM_SHUFFLE(2, 3, 0, 1)));

    const __m128i start = _mm_set1_epi16(static_cast<int16_t>(n.greenIndex[green]));
    const __m128i eight = _mm_set1_epi16(8);
    const __m128i none = _mm_set1_epi16(0x7FFF);
    __m128i position = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
    __m128i firstVisit = none;
    for (int i = 0; i < kNeurons; i += 8) {
        const __m128i d = _mm_load_si128(reinterpret_cast<const __m128i*>(distances + i));
        const __m128i offset = _mm_sub_epi16(position, start);
        const __m128i visit = _mm_xor_si128(_mm_add_epi16(offset, offset), _mm_srai_epi16(offset, 15));
        const __m128i isNearest = _mm_cmpeq_epi16(d, nearest);
        firstVisit = _mm_min_epi16(firstVisit, Select(isNearest, visit, none));
        position = _mm_add_epi16(position, eight);
    }
    firstVisit = _mm_min_epi16(firstVisit, _mm_shuffle_epi32(firstVisit, _MM_SHUFFLE(1, 0, 3, 2)));
    firstVisit = _mm_min_epi16(firstVisit, _mm_shuffle_epi32(firstVisit, _MM_SHUFFLE(2, 3, 0, 1)));
    firstVisit = _mm_min_epi16(firstVisit, _mm_shufflelo_epi16(_mm_shufflehi_epi16(firstVisit, _MM_SHUFFLE(2, 3, 0, 1)),
                                                               _MM_SHUFFLE(2, 3, 0, 1)));
    const int visit = _mm_cvtsi128_si32(firstVisit) & 0xFFFF;
    const int startPosition = n.greenIndex[green];
    const int position0 = (visit & 1) ? startPosition - 1 - (visit >> 1) : startPosition + (visit >> 1);
    return n.number[position0];
}

#endif
