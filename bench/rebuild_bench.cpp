// How long the recording store takes to rebuild a frame it keeps compressed, at its worst: every
// picture of a log asked for in a shuffled order (so the one-picture cache never helps), for
// sessions that make the longest delta chains the log allows, kept in memory and kept in a spill
// file. Prints the median, the 99th percentile and the slowest rebuild of each.
//   rebuild_bench [WIDTH HEIGHT] [PICTURES]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>
#include "CGifPictureLog.h"
#include "CGifPictureSpill.h"

namespace {

// A spill in a temporary file of the C library, as the program's is a file in the user's
// temporary folder.
class FileSpill : public CGifPictureSpill {
public:
    FileSpill() : m_file(std::tmpfile()) {}
    ~FileSpill() override {
        if (m_file) std::fclose(m_file);
    }
    FileSpill(const FileSpill&) = delete;
    FileSpill& operator=(const FileSpill&) = delete;
    bool Append(const void* bytes, size_t count, uint64_t& offset) override {
        if (!m_file || std::fseek(m_file, 0, SEEK_END) != 0) return false;
        offset = m_size;
        if (std::fwrite(bytes, 1, count, m_file) != count) return false;
        m_size += count;
        return true;
    }
    bool Read(uint64_t offset, void* bytes, size_t count) override {
        return m_file && std::fseek(m_file, static_cast<long>(offset), SEEK_SET) == 0 &&
               std::fread(bytes, 1, count, m_file) == count;
    }
    bool Ok() const { return m_file != nullptr; }

private:
    std::FILE* m_file;
    uint64_t m_size = 0;
};

// Each scene changes the picture before it into the next one.
struct Scene {
    const char* name;
    int most;  // pictures at the most (noise does not compress: 60 of them make ten chains)
    void (*step)(std::vector<uint32_t>& pixels, int width, int height, int index, std::mt19937& random);
};

// Every pixel new every frame: the chain ends on its pixel count.
void Noise(std::vector<uint32_t>& pixels, int, int, int, std::mt19937& random) {
    for (uint32_t& p : pixels) p = random();
}

// A 200 x 150 block of noise wandering over the picture: long chains of middle-sized deltas.
void Block(std::vector<uint32_t>& pixels, int width, int height, int index, std::mt19937& random) {
    const int w = std::min(200, width), h = std::min(150, height);
    const int left = (index * 7) % (width - w + 1), top = (index * 5) % (height - h + 1);
    for (int y = top; y < top + h; ++y)
        for (int x = left; x < left + w; ++x) pixels[static_cast<size_t>(y) * width + x] = random();
}

// A caret and a few letters: the chain ends on its delta count.
void Typing(std::vector<uint32_t>& pixels, int width, int height, int index, std::mt19937& random) {
    const int x = (index * 9) % (width - 8), y = ((index * 9) / (width - 8) * 16) % (height - 16);
    for (int row = y; row < y + 16; ++row)
        for (int col = x; col < x + 8; ++col) pixels[static_cast<size_t>(row) * width + col] = random() & 0xFF;
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

// False when a picture could not be kept or rebuilt.
bool Measure(const Scene& scene, bool spilled, int width, int height, int pictures) {
    pictures = std::min(pictures, scene.most);
    FileSpill file;
    if (spilled && !file.Ok()) {
        std::fprintf(stderr, "rebuild_bench: no temporary file\n");
        return false;
    }
    CGifPictureLog log;
    if (spilled) log.SetSpill(&file, 0);
    std::mt19937 random(1);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0x00336699u);
    std::vector<uint32_t> ids;
    for (int i = 0; i < pictures; ++i) {
        scene.step(pixels, width, height, i, random);
        const uint32_t id = log.Append(pixels.data(), width, height);
        if (id == CGifPictureLog::kNoPicture) {
            std::fprintf(stderr, "rebuild_bench: picture %d of %s was not kept\n", i, scene.name);
            return false;
        }
        ids.push_back(id);
    }
    std::shuffle(ids.begin(), ids.end(), random);
    std::vector<double> times;
    times.reserve(ids.size());
    for (uint32_t id : ids) {
        const auto start = std::chrono::steady_clock::now();
        if (!log.Rebuild(id)) {
            std::fprintf(stderr, "rebuild_bench: picture %u of %s was not rebuilt\n", id, scene.name);
            return false;
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("%-7s %-7s %8d %7.2f %7.2f %7.2f %9.1f\n", scene.name, spilled ? "file" : "memory", pictures,
                Percentile(times, 0.5), Percentile(times, 0.99), *std::max_element(times.begin(), times.end()),
                static_cast<double>(log.KeptBytes() + log.SpilledBytes()) / (1024.0 * 1024.0));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int width = argc > 2 ? std::atoi(argv[1]) : 800;
    const int height = argc > 2 ? std::atoi(argv[2]) : 600;
    const int pictures = argc > 3 ? std::atoi(argv[3]) : 900;
    if (width < 200 || height < 150 || pictures < 1) {
        std::fprintf(stderr, "usage: rebuild_bench [WIDTH HEIGHT] [PICTURES] (at least 200 x 150, 1 picture)\n");
        return 2;
    }
    const Scene scenes[] = {{"noise", 60, Noise}, {"block", 100000, Block}, {"typing", 100000, Typing}};
    std::printf("pictures of %d x %d, each rebuilt once in a shuffled order\n", width, height);
    std::printf("%-7s %-7s %8s %7s %7s %7s %9s\n", "scene", "kept", "pictures", "med-ms", "p99-ms", "max-ms", "kept-MB");
    bool ok = true;
    for (const Scene& scene : scenes)
        for (bool spilled : {false, true}) ok = Measure(scene, spilled, width, height, pictures) && ok;
    return ok ? 0 : 1;
}
