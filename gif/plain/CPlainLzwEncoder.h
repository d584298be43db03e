#pragma once
// The image-data compressor written plainly, byte by byte into the sink: the reference the fast
// CLzwEncoder is checked against, and the benchmark's baseline.
#include <cstdint>
#include "CGifByteSink.h"

class CPlainLzwEncoder {
public:
    // `indices` holds width x height palette indices and must outlive the encoder.
    CPlainLzwEncoder(int width, int height, const uint8_t* indices, int colourDepth);

    // Writes the code size byte, the data sub-blocks and the terminator; false on a write error.
    [[nodiscard]] bool Encode(CGifByteSink& sink);

private:
    static constexpr int kMaxBits = 12;
    static constexpr int kCodeLimit = 4096;
    static constexpr int kHashSize = 5003;

    int NextPixel();
    void Compress(int initialBits);
    void ClearTable();
    void Output(int code);
    void AppendByte(uint8_t byte);
    void FlushPacket();
    void WriteByte(uint8_t byte);

    int m_width;
    int m_height;
    const uint8_t* m_indices;
    int m_initialCodeSize;
    int m_remaining = 0;
    int m_position = 0;
    int m_bits = 0;
    int m_maxCode = 0;
    int m_hash[kHashSize];
    int m_codes[kHashSize];
    int m_freeCode = 0;
    bool m_clear = false;
    int m_initialBits = 0;
    int m_clearCode = 0;
    int m_endCode = 0;
    int m_accumulator = 0;
    int m_accumulatedBits = 0;
    int m_packetCount = 0;
    uint8_t m_packet[256];

    CGifByteSink* m_sink = nullptr;
    bool m_failed = false;
};
