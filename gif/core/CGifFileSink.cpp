#include "CGifFileSink.h"

#ifdef _WIN32
#include <share.h>
#endif

CGifFileSink::~CGifFileSink() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool CGifFileSink::Open(const GifPath& path) {
    if (m_file != nullptr) {
        return false;
    }
#ifdef _WIN32
    // Shared for reading and writing, as a viewer may look at a recording while it is written.
    m_file = _wfsopen(path.c_str(), L"wb", _SH_DENYNO);
#else
    m_file = std::fopen(path.c_str(), "wb");
#endif
    return m_file != nullptr;
}

bool CGifFileSink::Write(const uint8_t* bytes, size_t count) {
    return m_file != nullptr && std::fwrite(bytes, 1, count, m_file) == count;
}

bool CGifFileSink::Flush() {
    return m_file != nullptr && std::fflush(m_file) == 0;
}

bool CGifFileSink::Close() {
    if (m_file == nullptr) {
        return false;
    }
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    return closed;
}
