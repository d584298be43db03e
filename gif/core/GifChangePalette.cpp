#include "GifChangePalette.h"

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

inline uint32_t ColourOf(const uint8_t* pixel) {
    return static_cast<uint32_t>(pixel[0]) | (static_cast<uint32_t>(pixel[1]) << 8) |
           (static_cast<uint32_t>(pixel[2]) << 16);
}

inline bool SameColour(const uint8_t* a, const uint8_t* b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
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
    // Entry 0 is the transparent one; the colours follow in the order they appear. A slot holds
    // a colour above its entry.
    uint32_t slots[1 << kSlotBits];
    std::memset(slots, 0xFF, sizeof(slots));
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
            const uint32_t colour = ColourOf(c);
            if (SameColour(c, p)) {
                *out++ = before = (before != 0 && shown[x] && colour == lastColour) ? lastEntry : 0;
                continue;
            }
            if (colour != lastColour) {
                uint32_t slot = SlotOf(colour);
                while (slots[slot] != kEmpty && (slots[slot] >> 8) != colour) {
                    slot = (slot + 1) & kSlotMask;
                }
                if (slots[slot] == kEmpty) {
                    if (colours == kMaxExactColours) {
                        return false;
                    }
                    const int entry = ++colours;
                    palette.colours[entry * 3] = c[2];
                    palette.colours[entry * 3 + 1] = c[1];
                    palette.colours[entry * 3 + 2] = c[0];
                    slots[slot] = (colour << 8) | static_cast<uint32_t>(entry);
                }
                lastColour = colour;
                lastEntry = static_cast<uint8_t>(slots[slot] & 0xFF);
            }
            *out++ = before = lastEntry;
        }
    }
    palette.transparent = 0;
    palette.bits = BitsFor(colours + 1);
    return true;
}

bool MapChangesQuantised(const uint8_t* current, const uint8_t* previous, const uint8_t* atFirst, int count,
                         int samples, GifIsa isa, const GifFirstPalette& first, uint8_t* indices,
                         GifChangePalette& palette) {
    std::memset(palette.colours, 0, sizeof(palette.colours));
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
    const auto scatter = [&](int transparent) {
        for (int i = 0, k = 0; i < count; i++) {
            indices[i] = SameColour(current + static_cast<size_t>(i) * 4, previous + static_cast<size_t>(i) * 4)
                             ? static_cast<uint8_t>(transparent)
                             : mapped[k++];
        }
    };
    if (MapToFirstPalette(gathered.get(), changed, isa, first, mapped.get())) {
        std::memcpy(palette.colours, first.colours, sizeof(palette.colours));
        scatter(first.transparent);
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
    scatter(reserved);
    palette.transparent = reserved;
    palette.bits = 8;
    palette.global = false;
    return true;
}
