#include "CGifMemorySink.h"

bool CGifMemorySink::Write(const uint8_t* bytes, size_t count) {
    const size_t room = m_limit - m_bytes.size();
    if (count > room) {
        // As a full disk: what fits is kept, the rest is lost.
        m_bytes.insert(m_bytes.end(), bytes, bytes + room);
        return false;
    }
    m_bytes.insert(m_bytes.end(), bytes, bytes + count);
    return true;
}
