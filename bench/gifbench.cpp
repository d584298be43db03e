// Encodes PPM frames the way the recording writer does and reports the speed:
//   gifbench --out FILE [--sample N] [--delay MS] [--loop N] [--plain | --small] [--threads N]
//            [--isa scalar|sse2|avx2|avx512] [--split] FRAME.ppm...
// --small writes the small-file mode (frames after the first hold only what changed).
// The last line printed is "frames=N size=WxH seconds=S fps=F"; the time covers encoding and
// writing, not reading the frames. --split first times the stages of one frame after another on
// this thread (learning, mapping, compressing), to show where the time goes.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif
#include "CGifEncoder.h"
#include "CLzwEncoder.h"
#include "CNeuQuant.h"
#include "CPlainGifEncoder.h"

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgrx;
};

bool ReadToken(std::FILE* file, std::string& token) {
    token.clear();
    int c = std::fgetc(file);
    for (;;) {
        if (c == '#') {
            while (c != EOF && c != '\n') {
                c = std::fgetc(file);
            }
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            c = std::fgetc(file);
        } else {
            break;
        }
    }
    while (c != EOF && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
        token.push_back(static_cast<char>(c));
        c = std::fgetc(file);
    }
    return !token.empty();
}

// Binary PPM with maxval 255, converted to blue, green, red, unused.
bool ReadPpm(const char* path, Picture& picture) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "gifbench: cannot open %s\n", path);
        return false;
    }
    std::string magic, width, height, maxval;
    bool ok = ReadToken(file, magic) && magic == "P6" && ReadToken(file, width) &&
              ReadToken(file, height) && ReadToken(file, maxval) && maxval == "255";
    if (ok) {
        picture.width = std::atoi(width.c_str());
        picture.height = std::atoi(height.c_str());
        ok = picture.width > 0 && picture.height > 0;
    }
    if (ok) {
        const size_t count = static_cast<size_t>(picture.width) * picture.height;
        std::vector<uint8_t> rgb(count * 3);
        ok = std::fread(rgb.data(), 1, rgb.size(), file) == rgb.size();
        picture.bgrx.resize(count * 4);
        for (size_t i = 0; ok && i < count; i++) {
            picture.bgrx[i * 4 + 0] = rgb[i * 3 + 2];
            picture.bgrx[i * 4 + 1] = rgb[i * 3 + 1];
            picture.bgrx[i * 4 + 2] = rgb[i * 3 + 0];
            picture.bgrx[i * 4 + 3] = 0;
        }
    }
    std::fclose(file);
    if (!ok) {
        std::fprintf(stderr, "gifbench: %s is not a binary PPM with maxval 255\n", path);
    }
    return ok;
}

GifFrame FrameOf(const Picture& picture) {
    GifFrame frame;
    frame.pixels = picture.bgrx.data();
    frame.width = picture.width;
    frame.height = picture.height;
    frame.stride = static_cast<ptrdiff_t>(picture.width) * 4;
    return frame;
}

// Arguments are narrow; the Windows builds open files by wide name (the benchmark's paths are ASCII).
GifPath ToGifPath(const std::string& path) {
    return GifPath(path.begin(), path.end());
}

// The writer's order of calls, for either encoder.
template <typename Encoder>
bool Encode(Encoder& encoder, const std::string& out, int sample, int delay, bool setLoop, int loop,
            const std::vector<Picture>& pictures) {
    if (!encoder.OpenPath(ToGifPath(out))) {
        std::fprintf(stderr, "gifbench: cannot create %s\n", out.c_str());
        return false;
    }
    if (setLoop) {
        encoder.SetLoopCount(loop);
    }
    encoder.SetSampleFactor(sample);
    bool ok = true;
    for (const Picture& picture : pictures) {
        encoder.SetFrameDelay(delay);
        ok = encoder.WriteFrame(FrameOf(picture)) && ok;
    }
    return encoder.Close() && ok;
}

bool ParseInt(const char* text, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < -2147483647L || parsed > 2147483647L) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

// Processor time of this thread, so that the split stays meaningful on a busy machine.
double ThreadSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) {
        return 0;
    }
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
#else
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
#endif
}

// The stages of the encoder's frame job, one after another, in milliseconds of processor time
// per frame (a thread's times are counted in 15.6 ms ticks on Windows: use many frames there).
void PrintSplit(const std::vector<Picture>& pictures, int sample, GifIsa isa) {
    double learn = 0, map = 0, compress = 0;
    for (const Picture& picture : pictures) {
        const int count = picture.width * picture.height;
        std::vector<uint8_t> indices(static_cast<size_t>(count));
        std::vector<uint8_t> data(CLzwEncoder::MaxEncodedSize(static_cast<size_t>(count)));
        uint8_t table[768];
        std::unique_ptr<CNeuQuant> quantiser(new CNeuQuant(picture.bgrx.data(), count, sample, isa));
        double start = ThreadSeconds();
        quantiser->Process(table);
        learn += ThreadSeconds() - start;
        start = ThreadSeconds();
        quantiser->MapPixels(indices.data());
        map += ThreadSeconds() - start;
        std::unique_ptr<CLzwEncoder> lzw(new CLzwEncoder(picture.width, picture.height, indices.data(), 8));
        start = ThreadSeconds();
        lzw->Encode(data.data());
        compress += ThreadSeconds() - start;
    }
    const double perFrame = 1000.0 / static_cast<double>(pictures.size());
    std::printf("split isa=%s ms/frame: learn=%.2f map=%.2f lzw=%.2f\n", GifIsaName(isa),
                learn * perFrame, map * perFrame, compress * perFrame);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: gifbench --out FILE [--sample N] [--delay MS] [--loop N] [--plain | --small]\n"
                 "                [--threads N] [--isa scalar|sse2|avx2|avx512] [--split] FRAME.ppm...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string out;
    int sample = 10;
    int delay = 100;
    int loop = 0;
    bool setLoop = false;
    bool plain = false;
    bool small = false;
    bool split = false;
    int threads = 0;
    GifIsa isa = BestGifIsa();
    std::vector<const char*> paths;
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--out" && hasValue) {
            out = argv[++i];
        } else if (arg == "--sample" && hasValue) {
            if (!ParseInt(argv[++i], sample)) return Usage();
        } else if (arg == "--delay" && hasValue) {
            if (!ParseInt(argv[++i], delay)) return Usage();
        } else if (arg == "--loop" && hasValue) {
            if (!ParseInt(argv[++i], loop)) return Usage();
            setLoop = true;
        } else if (arg == "--threads" && hasValue) {
            if (!ParseInt(argv[++i], threads) || threads < 1) return Usage();
        } else if (arg == "--isa" && hasValue) {
            if (!ParseGifIsa(argv[++i], isa) || !IsGifIsaAvailable(isa)) {
                std::fprintf(stderr, "gifbench: instruction set %s is not available\n", argv[i]);
                return 2;
            }
        } else if (arg == "--split") {
            split = true;
        } else if (arg == "--plain") {
            plain = true;
        } else if (arg == "--small") {
            small = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage();
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (out.empty() || paths.empty() || (plain && small)) {
        return Usage();
    }

    std::vector<Picture> pictures(paths.size());
    for (size_t i = 0; i < paths.size(); i++) {
        if (!ReadPpm(paths[i], pictures[i])) {
            return 1;
        }
        if (pictures[i].width != pictures[0].width || pictures[i].height != pictures[0].height) {
            std::fprintf(stderr, "gifbench: %s is not the size of the first frame\n", paths[i]);
            return 1;
        }
    }

    if (split) {
        PrintSplit(pictures, sample, isa);
    }
    const auto start = std::chrono::steady_clock::now();
    bool ok;
    if (plain) {
        CPlainGifEncoder encoder;
        ok = Encode(encoder, out, sample, delay, setLoop, loop, pictures);
        std::printf("encoder=plain\n");
    } else {
        CGifEncoder encoder;
        if (threads > 0) {
            encoder.SetThreadCount(threads);
        }
        encoder.SetInstructionSet(isa);
        encoder.SetSmallFile(small);
        ok = Encode(encoder, out, sample, delay, setLoop, loop, pictures);
        std::printf("encoder=%s threads=%d isa=%s\n", small ? "small" : "fast", encoder.ThreadCount(),
                    GifIsaName(isa));
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ok) {
        std::fprintf(stderr, "gifbench: writing %s failed\n", out.c_str());
        return 1;
    }
    std::printf("frames=%zu size=%dx%d seconds=%.3f fps=%.1f\n", pictures.size(), pictures[0].width,
                pictures[0].height, seconds, seconds > 0 ? pictures.size() / seconds : 0.0);
    return 0;
}
