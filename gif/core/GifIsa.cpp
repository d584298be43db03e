#include "GifIsa.h"

#include <cstring>
#include <initializer_list>

#if defined(__x86_64__) || defined(__i386__)
#define TOVRIX_GIF_X86 1
#endif

bool IsGifIsaAvailable(GifIsa isa) {
#ifdef TOVRIX_GIF_X86
    // Needed when asked before the run-time library's own start-up (from a static object).
    __builtin_cpu_init();
#endif
    switch (isa) {
    case GifIsa::Scalar:
        return true;
#ifdef TOVRIX_GIF_X86
    case GifIsa::Sse2:
        return __builtin_cpu_supports("sse2");
    case GifIsa::Avx2:
        // Also false when the operating system does not save the wide registers.
        return __builtin_cpu_supports("avx2");
#endif
    default:
        return false;
    }
}

GifIsa BestGifIsa() {
    static const GifIsa best = IsGifIsaAvailable(GifIsa::Avx2)   ? GifIsa::Avx2
                               : IsGifIsaAvailable(GifIsa::Sse2) ? GifIsa::Sse2
                                                                 : GifIsa::Scalar;
    return best;
}

const char* GifIsaName(GifIsa isa) {
    switch (isa) {
    case GifIsa::Sse2:
        return "sse2";
    case GifIsa::Avx2:
        return "avx2";
    default:
        return "scalar";
    }
}

bool ParseGifIsa(const char* name, GifIsa& isa) {
    for (GifIsa candidate : {GifIsa::Scalar, GifIsa::Sse2, GifIsa::Avx2}) {
        if (std::strcmp(name, GifIsaName(candidate)) == 0) {
            isa = candidate;
            return true;
        }
    }
    return false;
}
