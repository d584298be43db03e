#pragma once
// Where a picture log puts its compressed pictures once the memory it may use is spent: a
// temporary file in the program, memory in tests. Bytes are only ever appended, then read back.
#include <cstddef>
#include <cstdint>

class CGifPictureSpill {
public:
    virtual ~CGifPictureSpill() = default;
    // Appends `count` bytes and gives where they start; false when not all of them could be
    // written (a full disk), and then nothing written counts.
    [[nodiscard]] virtual bool Append(const void* bytes, size_t count, uint64_t& offset) = 0;
    // Reads back `count` bytes from `offset`; false when they cannot be read.
    [[nodiscard]] virtual bool Read(uint64_t offset, void* bytes, size_t count) = 0;
};
