#include "CNeuQuant.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Equal colours are common in screen pictures, so each colour is searched for once; a cache miss
// only costs a search, never a different answer.
constexpr int kCacheBits = 16;
constexpr uint32_t kCacheEmpty = 0xFFFFFFFFu;

inline uint32_t ColourAt(const uint8_t* pixel) {
    return (static_cast<uint32_t>(pixel[2]) << 16) | (static_cast<uint32_t>(pixel[1]) << 8) | pixel[0];
}

}  // namespace

CNeuQuant::CNeuQuant(const uint8_t* pixels, int pixelCount, int sampleFactor, GifIsa isa)
    : m_pixels(pixels), m_pixelCount(pixelCount), m_sampleFactor(sampleFactor),
      m_kernels(GetNeuQuantKernels(IsGifIsaAvailable(isa) ? isa : GifIsa::Scalar)) {
    std::memset(&m_lanes, 0, sizeof(m_lanes));
    for (int i = 0; i < kNeurons; i++) {
        m_lanes.c0[i] = m_lanes.c1[i] = m_lanes.c2[i] = (i << 12) / 256;
        m_lanes.freq[i] = 65536 / kNeurons;
        m_lanes.bias[i] = 0;
    }
    std::memset(m_spread, 0, sizeof(m_spread));
    std::memset(&m_sorted, 0, sizeof(m_sorted));
}

void CNeuQuant::Process(uint8_t colourTable[768]) {
    Learn();
    FinishNetwork();
    for (int i = 0; i < kNeurons; i++) {
        uint8_t* entry = colourTable + m_sorted.number[i] * 3;
        entry[0] = static_cast<uint8_t>(m_sorted.red[i]);
        entry[1] = static_cast<uint8_t>(m_sorted.green[i]);
        entry[2] = static_cast<uint8_t>(m_sorted.blue[i]);
    }
}

void CNeuQuant::FillSpread(int alpha, int rad) {
    std::memset(m_spread, 0, sizeof(m_spread));
    for (int j = 1; j < rad; j++) {
        const int power = alpha * (((rad * rad - j * j) * 256) / (rad * rad));
        m_spread[kSpreadCentre + j] = power;
        m_spread[kSpreadCentre - j] = power;
    }
}

// Positions are counted in pixels rather than bytes: the byte step is always three times a
// pixel step, so both walks visit the same pixels.
void CNeuQuant::Learn() {
    const int length = m_pixelCount * 3;
    int factor = m_sampleFactor;
    if (length < 3 * 503) {
        factor = 1;
    }
    const int alphaDecrement = 30 + (factor - 1) / 3;
    const int samples = length / (3 * factor);
    int delta = samples / 100;
    if (delta == 0) {
        delta = 1;
    }
    int alpha = 1024;
    int radius = 2048;
    int rad = radius >> 6;
    FillSpread(alpha, rad);

    int step;
    if (length < 3 * 503) {
        step = 1;
    } else if (length % 499 != 0) {
        step = 499;
    } else if (length % 491 != 0) {
        step = 491;
    } else if (length % 487 != 0) {
        step = 487;
    } else {
        step = 503;
    }

    NeuronLanes& n = m_lanes;
    int position = 0;
    int untilUpdate = delta;
    for (int i = 0; i < samples; i++) {
        const uint8_t* pixel = m_pixels + static_cast<size_t>(position) * 4;
        const int c0 = pixel[2] << 4;
        const int c1 = pixel[1] << 4;
        const int c2 = pixel[0] << 4;
        const int j = m_kernels.contest(n, c0, c1, c2);
        n.c0[j] -= alpha * (n.c0[j] - c0) / 1024;
        n.c1[j] -= alpha * (n.c1[j] - c1) / 1024;
        n.c2[j] -= alpha * (n.c2[j] - c2) / 1024;
        if (rad != 0) {
            const int from = j - rad + 1 > 0 ? j - rad + 1 : 0;
            const int to = j + rad < kNeurons ? j + rad : kNeurons;
            m_kernels.neighbours(n, m_spread, from, to, j, c0, c1, c2);
        }
        position += step;
        if (position >= m_pixelCount) {
            position -= m_pixelCount;
        }
        if (--untilUpdate == 0) {
            untilUpdate = delta;
            alpha -= alpha / alphaDecrement;
            radius -= radius / 30;
            rad = radius >> 6;
            if (rad <= 1) {
                rad = 0;
            }
            FillSpread(alpha, rad);
        }
    }
}

void CNeuQuant::FinishNetwork() {
    int32_t network[kNeurons][4];
    for (int i = 0; i < kNeurons; i++) {
        network[i][0] = m_lanes.c0[i] >> 4;
        network[i][1] = m_lanes.c1[i] >> 4;
        network[i][2] = m_lanes.c2[i] >> 4;
        network[i][3] = i;
    }
    SortNetwork(network);
}

void CNeuQuant::SortNetwork(int32_t network[][4]) {
    int32_t* greenIndex = m_sorted.greenIndex;
    int previous = 0;
    int start = 0;
    for (int i = 0; i < kNeurons; i++) {
        int smallest = i;
        for (int j = i + 1; j < kNeurons; j++) {
            if (network[j][1] < network[smallest][1]) {
                smallest = j;
            }
        }
        if (smallest != i) {
            for (int c = 0; c < 4; c++) {
                const int32_t t = network[i][c];
                network[i][c] = network[smallest][c];
                network[smallest][c] = t;
            }
        }
        const int green = network[i][1];
        if (green != previous) {
            greenIndex[previous] = (start + i) >> 1;
            for (int v = previous + 1; v < green; v++) {
                greenIndex[v] = i;
            }
            previous = green;
            start = i;
        }
    }
    greenIndex[previous] = (start + 255) >> 1;
    for (int v = previous + 1; v < 256; v++) {
        greenIndex[v] = 255;
    }
    for (int i = 0; i < kNeurons; i++) {
        m_sorted.red[i] = static_cast<int16_t>(network[i][0]);
        m_sorted.green[i] = static_cast<int16_t>(network[i][1]);
        m_sorted.blue[i] = static_cast<int16_t>(network[i][2]);
        m_sorted.number[i] = static_cast<int16_t>(network[i][3]);
        m_sorted.red8[i] = static_cast<uint8_t>(network[i][0]);
        m_sorted.green8[i] = static_cast<uint8_t>(network[i][1]);
        m_sorted.blue8[i] = static_cast<uint8_t>(network[i][2]);
    }
}

int CNeuQuant::Map(int red, int green, int blue) const {
    return m_kernels.lookup(m_sorted, red, green, blue);
}

void CNeuQuant::MapPixels(uint8_t* indices) const {
    constexpr size_t kCacheSize = size_t{1} << kCacheBits;
    std::unique_ptr<uint32_t[]> cache(new (std::nothrow) uint32_t[kCacheSize]);
    if (!cache) {
        for (int i = 0; i < m_pixelCount; i++) {
            const uint8_t* p = m_pixels + static_cast<size_t>(i) * 4;
            indices[i] = static_cast<uint8_t>(Map(p[2], p[1], p[0]));
        }
        return;
    }
    // An entry holds the colour in its upper 24 bits and the palette entry in the lowest 8.
    std::memset(cache.get(), 0xFF, kCacheSize * sizeof(uint32_t));
    uint32_t previousColour = kCacheEmpty;
    uint8_t previousIndex = 0;
    for (int i = 0; i < m_pixelCount; i++) {
        const uint32_t colour = ColourAt(m_pixels + static_cast<size_t>(i) * 4);
        if (colour != previousColour) {
            const uint32_t slot = (colour * 2654435761u) >> (32 - kCacheBits);
            const uint32_t entry = cache[slot];
            if (entry != kCacheEmpty && (entry >> 8) == colour) {
                previousIndex = static_cast<uint8_t>(entry);
            } else {
                previousIndex = static_cast<uint8_t>(Map(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF));
                cache[slot] = (colour << 8) | previousIndex;
            }
            previousColour = colour;
        }
        indices[i] = previousIndex;
    }
}

int CNeuQuant::Refine(uint8_t colourTable[768], uint8_t* indices, bool reserve) {
    int64_t sums[kNeurons][3] = {};
    int32_t counts[kNeurons] = {};
    for (int i = 0; i < m_pixelCount; i++) {
        const uint8_t* p = m_pixels + static_cast<size_t>(i) * 4;
        int64_t* sum = sums[indices[i]];
        sum[0] += p[2];
        sum[1] += p[1];
        sum[2] += p[0];
        counts[indices[i]]++;
    }
    for (int k = 0; k < kNeurons; k++) {
        if (counts[k] > 0) {
            for (int c = 0; c < 3; c++) {
                colourTable[k * 3 + c] = static_cast<uint8_t>((sums[k][c] + counts[k] / 2) / counts[k]);
            }
        }
    }
    int reserved = -1;
    int twin = -1;
    if (reserve) {
        // Giving up the entry nearest to another costs least; with the other's colour it is
        // never strictly nearer than that one, so its pixels can simply move there.
        int best = 1 << 30;
        for (int i = 0; i < kNeurons && best > 0; i++) {
            const uint8_t* a = colourTable + i * 3;
            for (int j = 0; j < kNeurons; j++) {
                if (j == i) continue;
                const uint8_t* b = colourTable + j * 3;
                const int d = std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
                if (d < best) {
                    best = d;
                    reserved = i;
                    twin = j;
                }
            }
        }
        std::memcpy(colourTable + reserved * 3, colourTable + twin * 3, 3);
    }
    UsePalette(colourTable);
    MapPixels(indices);
    if (reserved >= 0) {
        for (int i = 0; i < m_pixelCount; i++) {
            if (indices[i] == reserved) {
                indices[i] = static_cast<uint8_t>(twin);
            }
        }
    }
    return reserved;
}

void CNeuQuant::UsePalette(const uint8_t colourTable[768]) {
    int32_t network[kNeurons][4];
    for (int k = 0; k < kNeurons; k++) {
        for (int c = 0; c < 3; c++) {
            network[k][c] = colourTable[k * 3 + c];
        }
        network[k][3] = k;
    }
    SortNetwork(network);
}
