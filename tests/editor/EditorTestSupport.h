#pragma once
// Helpers of the editor tests: a picture whose pixels the test reads directly, and colour
// comparisons.
#include <windows.h>
#include <algorithm>
#include <cstdlib>
#include "Canvas.h"

namespace editor_test {

using Canvas = testing_support::Canvas;

inline int ChannelDifference(COLORREF a, COLORREF b) {
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 255) -
                                         static_cast<int>((b >> shift) & 255)));
    return worst;
}

}  // namespace editor_test
