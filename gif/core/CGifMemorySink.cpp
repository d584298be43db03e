#include "CGifMemorySink.h"

bool CGifMemorySink::Write(const uint8_t* bytes, size_t count) {
    if (count > m_limit - m_bytes.size()) {
        return false;
    }
    m_bytes.insert(m_bytes.end(), bytes, bytes + count);
    return true;
}
