#include "GifIsa.h"

#include <cstring>
#include <initializer_list>

#if defined(__x86_64__) || defined(__i386__)
#define TOVRIX_GIF_X86 1
#include <cpuid.h>
#endif

namespace {

#ifdef TOVRIX_GIF_X86
// The processor may have AVX-512 while the operating system does not save the mask and the wide
// registers on a thread switch (an older Windows, or a kernel that turned them off): then the
// instructions must not be used. XCR0 says what the system saves: bits 1 and 2 (the SSE and AVX
// halves), 5 (the mask registers), 6 and 7 (the upper halves of zmm0-15 and zmm16-31).
bool SystemSavesAvx512State() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || (ecx & bit_OSXSAVE) == 0) {
        return false;
    }
    unsigned low = 0, high = 0;
    // xgetbv with ecx = 0, written out so that the file needs no target option.
    __asm__ volatile(".byte 0x0f, 0x01, 0xd0" : "=a"(low), "=d"(high) : "c"(0));
    const unsigned wanted = 0xE6;
    return (low & wanted) == wanted;
}
#endif

}  // namespace

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
    case GifIsa::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("avx512vl") && SystemSavesAvx512State();
#endif
    default:
        return false;
    }
}

GifIsa BestGifIsa() {
    static const GifIsa best = IsGifIsaAvailable(GifIsa::Avx512) ? GifIsa::Avx512
                               : IsGifIsaAvailable(GifIsa::Avx2) ? GifIsa::Avx2
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
    case GifIsa::Avx512:
        return "avx512";
    default:
        return "scalar";
    }
}

bool ParseGifIsa(const char* name, GifIsa& isa) {
    for (GifIsa candidate : {GifIsa::Scalar, GifIsa::Sse2, GifIsa::Avx2, GifIsa::Avx512}) {
        if (std::strcmp(name, GifIsaName(candidate)) == 0) {
            isa = candidate;
            return true;
        }
    }
    return false;
}
