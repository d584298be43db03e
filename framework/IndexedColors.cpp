#include "IndexedColors.h"
#include <unordered_map>

namespace {
// Levels of the fallback cube: six of red and blue, seven of green (the eye's best channel).
constexpr int kRed = 6, kGreen = 7, kBlue = 6;

int Level(uint32_t channel, int levels) {
    return static_cast<int>((channel * (levels - 1) + 127) / 255);
}
uint32_t Channel(int level, int levels) {
    return static_cast<uint32_t>((level * 255 + (levels - 1) / 2) / (levels - 1));
}
}  // namespace

IndexedPicture IndexColors(const uint32_t* pixels, int width, int height) {
    IndexedPicture out;
    if (!pixels || width <= 0 || height <= 0) return out;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    out.indices.resize(count);

    std::unordered_map<uint32_t, uint8_t> seen;
    bool fits = true;
    for (size_t i = 0; i < count && fits; ++i) {
        uint32_t color = pixels[i] & 0xFFFFFF;
        auto found = seen.find(color);
        if (found != seen.end()) {
            out.indices[i] = found->second;
        } else if (seen.size() < 256) {
            auto index = static_cast<uint8_t>(seen.size());
            seen.emplace(color, index);
            out.palette.push_back(color);
            out.indices[i] = index;
        } else {
            fits = false;
        }
    }
    if (fits) {
        out.exact = true;
        return out;
    }

    out.palette.clear();
    for (int r = 0; r < kRed; ++r)
        for (int g = 0; g < kGreen; ++g)
            for (int b = 0; b < kBlue; ++b)
                out.palette.push_back(Channel(r, kRed) << 16 | Channel(g, kGreen) << 8 | Channel(b, kBlue));
    for (size_t i = 0; i < count; ++i) {
        uint32_t p = pixels[i];
        int r = Level((p >> 16) & 255, kRed), g = Level((p >> 8) & 255, kGreen), b = Level(p & 255, kBlue);
        out.indices[i] = static_cast<uint8_t>((r * kGreen + g) * kBlue + b);
    }
    return out;
}
