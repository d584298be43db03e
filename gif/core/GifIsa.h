#pragma once
// The instruction sets the quantiser's inner loops come in. The best one the processor offers is
// chosen at run time, so a build for plain SSE2 machines still uses wider registers where present;
// every choice gives the same bytes.
enum class GifIsa { Scalar, Sse2, Avx2, Avx512 };

// The widest instruction set this processor (and its operating system) can run.
GifIsa BestGifIsa();
bool IsGifIsaAvailable(GifIsa isa);
const char* GifIsaName(GifIsa isa);
// "scalar", "sse2", "avx2" or "avx512"; false for anything else.
bool ParseGifIsa(const char* name, GifIsa& isa);
