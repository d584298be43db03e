#include "PngWriter.h"
#include <wincodec.h>
#include <cstdint>
#include <memory>
#include <new>
#include "CUniqueAny.h"
#include "PixelBuffer.h"

namespace {
// COM for the length of one call, on threads that have not started it themselves.
class ComScope {
public:
    ComScope() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() { if (SUCCEEDED(m_result)) ::CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_result;
};

// Rows of blue, green, red bytes (each row padded to four bytes), the layout every PNG codec
// takes without a conversion of its own. Null when there is no memory for them.
std::unique_ptr<BYTE[]> ToBgr24(const PixelBuffer& pixels, UINT& stride, UINT& bytes) {
    const int width = pixels.GetWidth(), height = pixels.GetHeight();
    stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    // Three quarters of a pixel buffer that was allocated: the size fits.
    bytes = stride * static_cast<UINT>(height);
    std::unique_ptr<BYTE[]> rows(new (std::nothrow) BYTE[bytes]);
    if (!rows) return rows;
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = pixels.Row(y);
        BYTE* target = rows.get() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            uint32_t p = source[x];
            *target++ = static_cast<BYTE>(p);
            *target++ = static_cast<BYTE>(p >> 8);
            *target++ = static_cast<BYTE>(p >> 16);
        }
    }
    return rows;
}
}  // namespace

HRESULT WritePng(const CImage& picture, const std::wstring& path) {
    PixelBuffer pixels;
    if (!picture.ReadPixels(pixels)) return E_FAIL;
    const int width = pixels.GetWidth(), height = pixels.GetHeight();
    UINT stride = 0, bytes = 0;
    std::unique_ptr<BYTE[]> rows = ToBgr24(pixels, stride, bytes);
    pixels.Reset();  // the rows are all the codec needs
    if (!rows) return E_OUTOFMEMORY;

    ComScope com;
    CUniqueComPtr<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, factory.put_void());
    if (FAILED(hr)) return hr;
    CUniqueComPtr<IWICStream> stream;
    if (FAILED(hr = factory->CreateStream(stream.put()))) return hr;
    if (FAILED(hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) return hr;
    CUniqueComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()))) return hr;
    if (FAILED(hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return hr;
    CUniqueComPtr<IWICBitmapFrameEncode> frame;
    CUniqueComPtr<IPropertyBag2> options;
    if (FAILED(hr = encoder->CreateNewFrame(frame.put(), options.put()))) return hr;
    if (FAILED(hr = frame->Initialize(options.get()))) return hr;
    if (FAILED(hr = frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)))) return hr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(hr = frame->SetPixelFormat(&format))) return hr;
    if (format != GUID_WICPixelFormat24bppBGR) return E_FAIL;  // the codec wants another layout
    if (FAILED(hr = frame->WritePixels(static_cast<UINT>(height), stride,
                                       bytes, rows.get())))
        return hr;
    if (FAILED(hr = frame->Commit())) return hr;
    return encoder->Commit();
}
