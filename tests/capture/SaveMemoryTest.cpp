// A save that runs out of memory fails and keeps what was there, instead of ending the process.
// This program replaces the global allocation functions with ones that refuse blocks above a
// limit the test sets, so every allocation of the writers is put to the test: a throwing
// allocation would escape as an exception and fail the test, a non-throwing one must be handled.
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include "CScreenImage.h"
#include "SavePicture.h"
#include "TestSupport.h"

namespace {
size_t g_limit = static_cast<size_t>(-1);

void* Allocate(size_t size) {
    if (size > g_limit) return nullptr;
    return std::malloc(size ? size : 1);
}
}  // namespace

void* operator new(size_t size) {
    if (void* block = Allocate(size)) return block;
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    if (void* block = Allocate(size)) return block;
    throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace {

std::string ReadText(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Blocks of up to 256 KiB are granted for the length of a scope: enough for names and small
// tables, far too little for the pixels of a 1000 x 700 picture (2.8 MB).
class MemoryLimit {
public:
    MemoryLimit() { g_limit = 256 * 1024; }
    ~MemoryLimit() { g_limit = static_cast<size_t>(-1); }
};

TEST(SaveWithoutMemory, PixelBuffersThatCannotBeHadFailTheSaveAndKeepTheOldFile) {
    testing_support::TempFolder folder;
    CScreenImage picture;
    ASSERT_TRUE(picture.CreateBlank(RECT{0, 0, 1000, 700}));
    // The writers whose pixel buffers are the program's own; BMP goes whole to the imaging
    // library, which has its own memory and answers with a status.
    const std::pair<int, const wchar_t*> formats[] = {{Jpg, L"keep.jpg"}, {Png, L"keep.png"}, {Gif, L"keep.gif"}};
    for (auto [format, name] : formats) {
        const std::wstring path = folder.File(name);
        {
            std::ofstream old(path.c_str(), std::ios::binary);
            old << "old picture";
        }
        HRESULT result = S_OK;
        {
            MemoryLimit limit;
            result = SavePicture(picture, path, format, 80, ExistingTarget::Replace);
        }
        EXPECT_TRUE(FAILED(result)) << format;
        EXPECT_EQ(ReadText(path), "old picture") << format;
        // With the memory back the same save works.
        EXPECT_EQ(SavePicture(picture, path, format, 80, ExistingTarget::Replace), S_OK) << format;
        EXPECT_NE(ReadText(path), "old picture") << format;
    }
    EXPECT_EQ(testing_support::ListFiles(folder.Path()).size(), std::size(formats));
}

}  // namespace
