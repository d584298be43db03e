#include "JpegWriter.h"
#include <csetjmp>
#include <cstdlib>
#include <memory>
#include <new>
#include "PixelBuffer.h"
extern "C" {
#include <jpeglib.h>
}

namespace {
// libjpeg's standard error manager prints and exits; ours jumps back to WriteJpeg instead.
struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf escape;
};

void OnJpegError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    longjmp(errors->escape, 1);
}

void OnJpegMessage(j_common_ptr) {
    // Warnings are not shown: the program has no console and no log.
}

// The part between setjmp and the last possible longjmp holds no C++ objects with destructors,
// so the jump skips nothing that needs unwinding.
bool Compress(jpeg_compress_struct& jpeg, ErrorManager& errors, FILE* file, const uint32_t* pixels,
              int width, int height, int quality, JSAMPLE* row) {
    if (setjmp(errors.escape)) return false;
    jpeg_create_compress(&jpeg);
    jpeg_stdio_dest(&jpeg, file);
    jpeg.image_width = static_cast<JDIMENSION>(width);
    jpeg.image_height = static_cast<JDIMENSION>(height);
    jpeg.input_components = 3;
    jpeg.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, quality, FALSE);
    jpeg_start_compress(&jpeg, TRUE);
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        JSAMPLE* out = row;
        for (int x = 0; x < width; ++x) {
            uint32_t pixel = source[x];
            *out++ = static_cast<JSAMPLE>(pixel >> 16);  // red
            *out++ = static_cast<JSAMPLE>(pixel >> 8);   // green
            *out++ = static_cast<JSAMPLE>(pixel);        // blue
        }
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&jpeg, rows, 1);
    }
    jpeg_finish_compress(&jpeg);
    return true;
}
}  // namespace

bool WriteJpeg(FILE* file, const uint32_t* pixels, int width, int height, int quality) {
    if (!file || !pixels || width <= 0 || height <= 0) return false;
    if (quality < 0) quality = 0;
    if (quality > 100) quality = 100;
    std::unique_ptr<JSAMPLE[]> row(new (std::nothrow) JSAMPLE[static_cast<size_t>(width) * 3]);
    if (!row) return false;

    jpeg_compress_struct jpeg{};
    ErrorManager errors{};
    jpeg.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnJpegError;
    errors.base.output_message = OnJpegMessage;
    bool ok = Compress(jpeg, errors, file, pixels, width, height, quality, row.get());
    jpeg_destroy_compress(&jpeg);
    return ok;
}

HRESULT WriteJpegFile(const CImage& picture, const std::wstring& path, int quality) {
    PixelBuffer pixels;
    if (!picture.ReadPixels(pixels)) return E_FAIL;
    // Opened as Unicode so that any folder or file name works whatever the system code page.
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return E_FAIL;
    bool written = WriteJpeg(file, pixels.Data(), pixels.GetWidth(), pixels.GetHeight(), quality);
    if (fclose(file) != 0) written = false;
    if (!written) {
        ::DeleteFileW(path.c_str());
        return E_FAIL;
    }
    return S_OK;
}
