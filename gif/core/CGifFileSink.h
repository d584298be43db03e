#pragma once
// A byte sink writing a file in binary mode. On Windows the path is UTF-16 and the file stays
// open to other programs for reading and writing while the recording is written.
#include <cstdio>
#include <string>
#include "CGifByteSink.h"

#ifdef _WIN32
using GifPath = std::wstring;
#else
using GifPath = std::string;
#endif

class CGifFileSink : public CGifByteSink {
public:
    CGifFileSink() = default;
    ~CGifFileSink() override;
    CGifFileSink(const CGifFileSink&) = delete;
    CGifFileSink& operator=(const CGifFileSink&) = delete;

    // Creates or truncates the file.
    [[nodiscard]] bool Open(const GifPath& path);

    [[nodiscard]] bool Write(const uint8_t* bytes, size_t count) override;
    [[nodiscard]] bool Flush() override;
    [[nodiscard]] bool Close() override;

private:
    std::FILE* m_file = nullptr;
};
