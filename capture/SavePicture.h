#pragma once
// The one way a still picture reaches a file, shared by the capture pipeline, the command line
// and whatever else saves a picture: the writer for the format (BMP through the imaging
// library, JPEG through libjpeg, PNG through the system's codecs, GIF through the program's own
// encoder), always through a temporary name beside the target that is renamed when complete.
#include <windows.h>
#include <string>
#include "CImage.h"
#include "ImageFormat.h"
#include "TemporaryFile.h"

// JPEG quality (0 to 100) for a stored quality index: 60, 70, 80, 90, 100.
inline int JpegQualityFor(int qualityIndex) { return 60 + 10 * qualityIndex; }

// Writes the picture as `format` (jpegQuality counts for JPEG only). A file already at `path`
// is refused or replaced as `existing` says; on any failure it is left exactly as it was and no
// temporary file remains. S_OK or a failure code (E_OUTOFMEMORY among them).
[[nodiscard]] HRESULT SavePicture(const CImage& picture, const std::wstring& path, int format,
                                  int jpegQuality, ExistingTarget existing = ExistingTarget::Refuse);

// The writer used for one format, without the temporary name: for tests that need to see a
// writer fail part-way.
using PictureWriter = HRESULT (*)(const CImage& picture, const std::wstring& path, int jpegQuality);
[[nodiscard]] HRESULT SavePictureWith(PictureWriter writer, const CImage& picture,
                                      const std::wstring& path, int jpegQuality,
                                      ExistingTarget existing);
