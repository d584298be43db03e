#include "GifChangePalette.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include "CNeuQuant.h"

namespace {

constexpr int kMaxExactColours = 255;
// Open addressing over at most 256 colours: a table four times as large stays sparse.
constexpr int kSlotBits = 10;
constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
constexpr uint32_t kEmpty = 0xFFFFFFFFu;
// The refined first frame is usually shown about twice as closely as by the palette learnt
// alone: changes shown twice as far off as that frame are still about as close as every frame
// of the described layout, and most of them are what the first frame already showed.
constexpr int64_t kFirstPaletteSlack = 2;
// How much further off a neighbour's entry may be for a pixel to take it (KeepRuns).
constexpr int kRunSlack = 3;

inline bool SameColour(const uint8_t* a, const uint8_t* b) {
    return GifRgbOf(a) == GifRgbOf(b);
}

inline uint32_t SlotOf(uint32_t colour) {
    return (colour * 2654435761u) >> (32 - kSlotBits);
}

int BitsFor(int entries) {
    int bits = 1;
    while ((1 << bits) < entries) {
        bits++;
    }
    return bits;
}

// The first frame's nearest entries for the gathered pixels (the unused fourth byte of each says
// whether it is back to the first frame's colour there). Those that are look exactly as they did
// in it; the others may together be as far off as kFirstPaletteSlack times the first frame's
// average error for every changed pixel. Its spare entry has the colour of another (the
// quantiser gave it up that way): that other one takes its pixels.
bool MapToFirstPalette(const uint8_t* pixels, int count, GifIsa isa, const GifFirstPalette& first, uint8_t* mapped) {
    if (first.transparent < 0 || first.pixels <= 0) {
        return false;
    }
    const uint8_t* spare = first.colours + first.transparent * 3;
    int twin = -1;
    for (int k = 0; k < 256 && twin < 0; k++) {
        if (k != first.transparent && std::memcmp(first.colours + k * 3, spare, 3) == 0) twin = k;
    }
    if (twin < 0) {
        return false;
    }
    std::unique_ptr<CNeuQuant> lookup(new (std::nothrow) CNeuQuant(pixels, count, 1, isa));
    if (!lookup) {
        return false;
    }
    lookup->UsePalette(first.colours);
    // One pixel in eight tells most frames apart at an eighth of the cost: only those that come
    // near the budget are mapped whole.
    int64_t sampledError = 0;
    int64_t sampled = 0;
    for (int i = 0; i < count; i += 8, sampled++) {
        const uint8_t* p = pixels + static_cast<size_t>(i) * 4;
        if (p[3] != 0) continue;
        const uint8_t* e = first.colours + lookup->Map(p[2], p[1], p[0]) * 3;
        const int r = e[0] - p[2], g = e[1] - p[1], b = e[2] - p[0];
        sampledError += r * r + g * g + b * b;
    }
    if (sampledError * first.pixels * 4 > 5 * kFirstPaletteSlack * first.squaredError * sampled) {
        return false;
    }
    lookup->MapPixels(mapped);
    int64_t error = 0;
    for (int i = 0; i < count; i++) {
        if (mapped[i] == first.transparent) mapped[i] = static_cast<uint8_t>(twin);
        const uint8_t* p = pixels + static_cast<size_t>(i) * 4;
        if (p[3] != 0) continue;
        const uint8_t* e = first.colours + mapped[i] * 3;
        const int r = e[0] - p[2], g = e[1] - p[1], b = e[2] - p[0];
        error += r * r + g * g + b * b;
    }
    return error * first.pixels <= kFirstPaletteSlack * first.squaredError * count;
}

}  // namespace

bool MapChangesExactly(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* previous,
                       ptrdiff_t previousStride, const uint8_t* exact, ptrdiff_t exactStride,
                       const GifRect& rect, uint8_t* indices, GifChangePalette& palette) {
    std::memset(palette.colours, 0, sizeof(palette.colours));
    // Entry 0 is the transparent one; the colours follow in the order they appear.
    uint32_t keys[1 << kSlotBits];
    uint8_t entries[1 << kSlotBits];
    std::memset(keys, 0xFF, sizeof(keys));  // no colour has all four bytes set
    int colours = 0;
    uint32_t lastColour = kEmpty;
    uint8_t lastEntry = 0;
    uint8_t* out = indices;
    for (int y = rect.top; y < rect.bottom; y++) {
        const uint8_t* c = current + currentStride * y + rect.left * 4;
        const uint8_t* p = previous + previousStride * y + rect.left * 4;
        const uint8_t* shown = exact + exactStride * y + rect.left;
        uint8_t before = 0;  // the entry of the pixel before in the row
        for (int x = 0; x < rect.Width(); x++, c += 4, p += 4) {
            const uint32_t colour = GifRgbOf(c);
            if (colour == GifRgbOf(p)) {
                *out++ = before = (before != 0 && shown[x] && colour == lastColour) ? lastEntry : 0;
                continue;
            }
            if (colour != lastColour) {
                uint32_t slot = SlotOf(colour);
                while (keys[slot] != kEmpty && keys[slot] != colour) {
                    slot = (slot + 1) & kSlotMask;
                }
                if (keys[slot] == kEmpty) {
                    if (colours == kMaxExactColours) {
                        return false;
                    }
                    const int entry = ++colours;
                    palette.colours[entry * 3] = c[2];
                    palette.colours[entry * 3 + 1] = c[1];
                    palette.colours[entry * 3 + 2] = c[0];
                    keys[slot] = colour;
                    entries[slot] = static_cast<uint8_t>(entry);
                }
                lastColour = colour;
                lastEntry = entries[slot];
            }
            *out++ = before = lastEntry;
        }
    }
    palette.transparent = 0;
    palette.bits = BitsFor(colours + 1);
    return true;
}

void KeepRuns(const uint8_t* pixels, int width, int height, const uint8_t colours[768], const uint8_t* movable,
              uint8_t* indices) {
    for (int y = 0; y < height; y++) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 1; x < width; x++) {
            const size_t i = row + static_cast<size_t>(x);
            if (indices[i] == indices[i - 1] || (movable && (!movable[i] || !movable[i - 1]))) continue;
            const uint8_t* p = pixels + i * 4;
            const uint8_t* before = colours + indices[i - 1] * 3;
            const uint8_t* own = colours + indices[i] * 3;
            const int toBefore = std::abs(before[0] - p[2]) + std::abs(before[1] - p[1]) + std::abs(before[2] - p[0]);
            const int toOwn = std::abs(own[0] - p[2]) + std::abs(own[1] - p[1]) + std::abs(own[2] - p[0]);
            if (toBefore <= toOwn + kRunSlack) indices[i] = indices[i - 1];
        }
    }
}

bool MapChangesQuantised(const uint8_t* current, const uint8_t* previous, const uint8_t* atFirst,
                         const uint8_t* firstIndices, int width, int height, int samples, GifIsa isa,
                         const GifFirstPalette& first, uint8_t* indices, GifChangePalette& palette) {
    std::memset(palette.colours, 0, sizeof(palette.colours));
    const int count = width * height;
    // The network learns from the changed pixels only, gathered side by side.
    int changed = 0;
    for (int i = 0; i < count; i++) {
        changed += !SameColour(current + static_cast<size_t>(i) * 4, previous + static_cast<size_t>(i) * 4);
    }
    std::unique_ptr<uint8_t[]> gathered(new (std::nothrow) uint8_t[static_cast<size_t>(changed) * 4]);
    std::unique_ptr<uint8_t[]> mapped(new (std::nothrow) uint8_t[static_cast<size_t>(changed)]);
    if (!gathered || !mapped) {
        return false;
    }
    for (int i = 0, k = 0; i < count; i++) {
        const uint8_t* c = current + static_cast<size_t>(i) * 4;
        if (!SameColour(c, previous + static_cast<size_t>(i) * 4)) {
            uint8_t* out = gathered.get() + static_cast<size_t>(k++) * 4;
            std::memcpy(out, c, 3);
            out[3] = atFirst != nullptr && SameColour(c, atFirst + static_cast<size_t>(i) * 4);
        }
    }
    // Which pixels may take their neighbour's entry: changed ones, except those back to the first
    // frame's colours with the first frame's table, which take its entries as they were.
    std::unique_ptr<uint8_t[]> movable(new (std::nothrow) uint8_t[static_cast<size_t>(count)]);
    if (!movable) {
        return false;
    }
    const auto scatter = [&](int transparent, bool firstTable) {
        for (int i = 0, k = 0; i < count; i++) {
            const uint8_t* c = current + static_cast<size_t>(i) * 4;
            if (SameColour(c, previous + static_cast<size_t>(i) * 4)) {
                indices[i] = static_cast<uint8_t>(transparent);
                movable[i] = 0;
            } else if (firstTable && gathered[static_cast<size_t>(k) * 4 + 3] != 0 && firstIndices != nullptr) {
                indices[i] = firstIndices[i];
                movable[i] = 0;
                k++;
            } else {
                indices[i] = mapped[k++];
                movable[i] = 1;
            }
        }
    };
    if (MapToFirstPalette(gathered.get(), changed, isa, first, mapped.get())) {
        std::memcpy(palette.colours, first.colours, sizeof(palette.colours));
        scatter(first.transparent, true);
        KeepRuns(current, width, height, palette.colours, movable.get(), indices);
        palette.transparent = first.transparent;
        palette.bits = 8;
        palette.global = true;
        return true;
    }
    // A factor that keeps the whole frame's number of samples: a few changed pixels learnt from
    // one in ten would leave most of the network untrained.
    const int factor = samples > 0 && changed / samples > 1 ? changed / samples : 1;
    std::unique_ptr<CNeuQuant> quantiser(new (std::nothrow) CNeuQuant(gathered.get(), changed, factor, isa));
    if (!quantiser) {
        return false;
    }
    quantiser->Process(palette.colours);
    quantiser->MapPixels(mapped.get());
    const int reserved = quantiser->Refine(palette.colours, mapped.get(), true);
    scatter(reserved, false);
    KeepRuns(current, width, height, palette.colours, movable.get(), indices);
    palette.transparent = reserved;
    palette.bits = 8;
    palette.global = false;
    return true;
}
