#pragma once
// Where an encoder's bytes go: a file, memory, or anything else that accepts bytes in order.
#include <cstddef>
#include <cstdint>

class CGifByteSink {
public:
    virtual ~CGifByteSink() = default;
    // False when the bytes could not all be taken.
    [[nodiscard]] virtual bool Write(const uint8_t* bytes, size_t count) = 0;
    [[nodiscard]] virtual bool Flush() = 0;
    // Ends the output (a file is closed); false when that fails. Nothing may be written after.
    [[nodiscard]] virtual bool Close() { return Flush(); }
};
