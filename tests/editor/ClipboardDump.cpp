// Writes the bitmap on the clipboard to a 24-bit BMP file, so that a scenario can look at what
// another process left there: clipboard_dump.exe OUT.bmp. Exit code 1 when there is none.
#include <windows.h>
#include <cstdio>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || !::OpenClipboard(nullptr)) return 1;
    HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) {
        ::CloseClipboard();
        return 1;
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;  // bottom-up, as BMP files keep their rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    const int stride = (info.bmWidth * 3 + 3) & ~3;
    header.biSizeImage = static_cast<DWORD>(stride) * info.bmHeight;
    std::vector<BYTE> bits(header.biSizeImage);
    HDC screen = ::GetDC(nullptr);
    int rows = ::GetDIBits(screen, bitmap, 0, info.bmHeight, bits.data(),
                           reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ::CloseClipboard();
    if (rows != info.bmHeight) return 1;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = _wfopen(argv[1], L"wb");
    if (!out) return 1;
    bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                   std::fwrite(&header, sizeof(header), 1, out) == 1 &&
                   std::fwrite(bits.data(), bits.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written ? 0 : 1;
}
