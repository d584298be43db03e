#pragma once
// A byte sink that keeps everything in memory: for tests, the fuzzer and encoding to a buffer.
#include <vector>
#include "CGifByteSink.h"

class CGifMemorySink : public CGifByteSink {
public:
    // With a limit, a write that would take the total past it keeps what fits and fails, as on
    // a full disk (for tests).
    explicit CGifMemorySink(size_t limit = static_cast<size_t>(-1)) : m_limit(limit) {}

    [[nodiscard]] bool Write(const uint8_t* bytes, size_t count) override;
    [[nodiscard]] bool Flush() override { return true; }

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_limit;
};
