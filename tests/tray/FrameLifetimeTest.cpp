// A heap-owned frame that is destroyed from inside one of its own handlers (Exit, WM_CLOSE)
// deletes itself on its last message; the dispatch that is still running further up the stack
// must not write into the freed object.
#include <gtest/gtest.h>
#include <cstring>
#include <new>
#include <vector>
#include "CFrameWnd.h"

namespace {

const unsigned char kFreedByte = 0xA5;

// Keeps the memory of every deleted frame, filled with a marker, so that a later write into it
// shows up instead of going unnoticed.
struct KeptMemory {
    void* block;
    size_t size;
};
std::vector<KeptMemory>& Kept() {
    static std::vector<KeptMemory> kept;
    return kept;
}

class SelfClosingFrame : public CFrameWnd {
public:
    static void* operator new(size_t size) { return ::operator new(size); }
    static void operator delete(void* block, size_t size) {
        std::memset(block, kFreedByte, size);
        Kept().push_back({block, size});
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        if (LOWORD(wParam) == 1) DestroyWindow();  // destroyed while this command is dispatched
        return TRUE;
    }
};

bool StillMarked(const KeptMemory& memory) {
    auto* bytes = static_cast<const unsigned char*>(memory.block);
    for (size_t i = 0; i < memory.size; ++i)
        if (bytes[i] != kFreedByte) return false;
    return true;
}

TEST(FrameLifetime, FrameDestroyedByItsOwnHandlerIsNotTouchedAfterDeletingItself) {
    for (UINT closing : {static_cast<UINT>(WM_COMMAND), static_cast<UINT>(WM_CLOSE)}) {
        Kept().clear();
        auto* frame = new SelfClosingFrame;
        ASSERT_TRUE(frame->Create(L"closing", WS_OVERLAPPEDWINDOW));
        HWND hwnd = frame->m_hWnd;
        ::SendMessageW(hwnd, closing, 1, 0);
        EXPECT_FALSE(::IsWindow(hwnd));
        ASSERT_EQ(Kept().size(), 1u) << "the frame did not delete itself";
        EXPECT_TRUE(StillMarked(Kept()[0])) << "the freed frame was written to after deletion";
        ::operator delete(Kept()[0].block);
    }
    Kept().clear();
}

}  // namespace
