#pragma once
// The image-data compressor: variable-width LZW codes (9 to 12 bits) over a frame's palette
// indices, packed least significant bit first into data sub-blocks of at most 254 bytes.
#include <cstddef>
#include <cstdint>

class CLzwEncoder {
public:
    // `indices` holds width x height palette indices and must outlive the encoder. The code size
    // is the colour table's bits (8 for a full table; the format's least, 2, for fewer).
    CLzwEncoder(int width, int height, const uint8_t* indices, int codeSize);

    // Room that Encode may need for pixelCount indices.
    static size_t MaxEncodedSize(size_t pixelCount);
    // Writes the code size byte, the data sub-blocks and the block terminator to `out` (at least
    // MaxEncodedSize bytes) and returns how many bytes that was.
    size_t Encode(uint8_t* out);

private:
    static constexpr int kMaxBits = 12;
    static constexpr int kCodeLimit = 4096;
    static constexpr uint32_t kTableSize = 65536;
    static constexpr uint32_t kTableMask = kTableSize - 1;
    static constexpr int kTableBits = 16;

    void Output(int code);
    void AppendByte(uint8_t byte);
    void EndPacket();

    int m_width;
    int m_height;
    const uint8_t* m_indices;
    int m_initialCodeSize;
    int m_bits = 0;
    int m_maxCode = 0;
    // The dictionary (256 KB: make encoders on the heap).
    uint32_t m_table[kTableSize];
    int m_freeCode = 0;
    bool m_clear = false;
    int m_initialBits = 0;
    int m_clearCode = 0;
    int m_endCode = 0;
    uint32_t m_accumulator = 0;
    int m_accumulatedBits = 0;

    // The sub-block being filled sits in the output itself behind its count byte.
    uint8_t* m_out = nullptr;
    uint8_t* m_packetStart = nullptr;
    int m_packetCount = 0;
};
