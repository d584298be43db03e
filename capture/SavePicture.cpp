#include "SavePicture.h"
#include "CGifEncoder.h"
#include "GdiplusSession.h"
#include "JpegWriter.h"
#include "PngWriter.h"

// The GIF encoder lives beside this layer, in gif/: still pictures and recordings share it, so
// the capture layer depends on its sibling here and nowhere else.

namespace {
HRESULT WriteBmp(const CImage& picture, const std::wstring& path, int) {
    if (picture.IsNull() || !GdiplusSession::EnsureStarted()) return E_FAIL;
    CLSID encoder{};
    HRESULT error = E_FAIL;
    // By the format, not the name: the file is a BMP whatever the caller called it.
    if (!CImage::FindEncoderForExtension(L".bmp", encoder, error)) return error;
    Gdiplus::Bitmap bitmap(static_cast<HBITMAP>(picture), nullptr);
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return E_FAIL;
    Gdiplus::Status status = bitmap.Save(path.c_str(), &encoder, nullptr);
    if (status == Gdiplus::OutOfMemory) return E_OUTOFMEMORY;
    return status == Gdiplus::Ok ? S_OK : E_FAIL;
}

HRESULT WriteJpeg(const CImage& picture, const std::wstring& path, int quality) {
    return WriteJpegFile(picture, path, quality);
}

HRESULT WritePngFile(const CImage& picture, const std::wstring& path, int) {
    return WritePng(picture, path);
}

// A still picture is a one-frame animation to the program's own encoder, which learns the 256
// colours that suit the picture best.
HRESULT WriteGif(const CImage& picture, const std::wstring& path, int) {
    if (picture.IsNull()) return E_FAIL;
    CGifEncoder encoder;
    encoder.SetThreadCount(1);   // one frame: nothing to overlap
    encoder.SetSampleFactor(1);  // every pixel teaches the palette: a still is looked at closely
    encoder.SetCanvasSize(picture.GetWidth(), picture.GetHeight());
    if (!encoder.OpenPath(path)) return E_FAIL;
    bool written = encoder.WriteFrame(static_cast<HBITMAP>(picture));
    bool closed = encoder.Close();
    return written && closed ? S_OK : E_FAIL;
}

PictureWriter WriterFor(int format) {
    switch (format) {
    case Bmp: return WriteBmp;
    case Jpg: return WriteJpeg;
    case Png: return WritePngFile;
    case Gif: return WriteGif;
    default: return nullptr;
    }
}
}  // namespace

HRESULT SavePictureWith(PictureWriter writer, const CImage& picture, const std::wstring& path,
                        int jpegQuality, ExistingTarget existing) {
    if (!writer || picture.IsNull() || path.empty()) return E_FAIL;
    return WriteThroughTemporary(path, existing, [&](const std::wstring& temporary) {
        return writer(picture, temporary, jpegQuality);
    });
}

HRESULT SavePicture(const CImage& picture, const std::wstring& path, int format, int jpegQuality,
                    ExistingTarget existing) {
    return SavePictureWith(WriterFor(format), picture, path, jpegQuality, existing);
}
