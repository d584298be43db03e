#include "NeuQuantKernels.h"

#include <cstdlib>

int ContestScalar(NeuronLanes& n, int c0, int c1, int c2) {
    int bestDistance = 2147483647;
    int bestBiased = 2147483647;
    int closest = -1;
    int winner = -1;
    for (int i = 0; i < kNeurons; i++) {
        const int distance = std::abs(n.c0[i] - c0) + std::abs(n.c1[i] - c1) + std::abs(n.c2[i] - c2);
        if (distance < bestDistance) {
            bestDistance = distance;
            closest = i;
        }
        const int biased = distance - (n.bias[i] >> 12);
        if (biased < bestBiased) {
            bestBiased = biased;
            winner = i;
        }
        const int betaFreq = n.freq[i] >> 10;
        n.freq[i] -= betaFreq;
        n.bias[i] += betaFreq << 10;
    }
    n.freq[closest] += 64;
    n.bias[closest] -= 65536;
    return winner;
}

void NeighboursScalar(NeuronLanes& n, const int32_t* spread, int from, int to, int winner, int c0,
                      int c1, int c2) {
    for (int i = from; i < to; i++) {
        const int a = spread[kSpreadCentre + i - winner];
        n.c0[i] -= a * (n.c0[i] - c0) / 262144;
        n.c1[i] -= a * (n.c1[i] - c1) / 262144;
        n.c2[i] -= a * (n.c2[i] - c2) / 262144;
    }
}

int LookupScalar(const SortedNeurons& n, int red, int green, int blue) {
    int best = 1000;
    int result = -1;
    int up = n.greenIndex[green];
    int down = up - 1;
    while (up < kNeurons || down >= 0) {
        if (up < kNeurons) {
            int d = n.green[up] - green;
            if (d >= best) {
                up = kNeurons;
            } else {
                d = std::abs(d) + std::abs(n.red[up] - red);
                if (d < best) {
                    d += std::abs(n.blue[up] - blue);
                    if (d < best) {
                        best = d;
                        result = n.number[up];
                    }
                }
                up++;
            }
        }
        if (down >= 0) {
            int d = green - n.green[down];
            if (d >= best) {
                down = -1;
            } else {
                d = std::abs(d) + std::abs(n.red[down] - red);
                if (d < best) {
                    d += std::abs(n.blue[down] - blue);
                    if (d < best) {
                        best = d;
                        result = n.number[down];
                    }
                }
                down--;
            }
        }
    }
    return result;
}

NeuQuantKernels GetNeuQuantKernels(GifIsa isa) {
    switch (isa) {
#if defined(__x86_64__) || defined(__i386__)
    case GifIsa::Sse2:
        return {ContestSse2, NeighboursScalar, LookupSse2};
    case GifIsa::Avx2:
        return {ContestAvx2, NeighboursAvx2, LookupAvx2};
    case GifIsa::Avx512:
        return {ContestAvx512, NeighboursAvx512, LookupAvx512};
#endif
    default:
        return {ContestScalar, NeighboursScalar, LookupScalar};
    }
}
