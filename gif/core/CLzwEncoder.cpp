#include "CLzwEncoder.h"

#include <cstring>

CLzwEncoder::CLzwEncoder(int width, int height, const uint8_t* indices, int codeSize)
    : m_width(width), m_height(height), m_indices(indices),
      m_initialCodeSize(codeSize > 2 ? codeSize : 2) {}

size_t CLzwEncoder::MaxEncodedSize(size_t pixelCount) {
    // At most one code per pixel plus a clear code per 3838 new codes (more with a code size
    // below 8), the first clear, the last prefix and the end code, 12 bits each, plus one count
    // byte per 254 data bytes.
    const size_t codes = pixelCount + pixelCount / 3838 + 4;
    const size_t data = codes + codes / 2 + 1;
    return 2 + data + data / 254 + 1;
}

size_t CLzwEncoder::Encode(uint8_t* out) {
    const uint8_t* const begin = out;
    m_out = out;
    *m_out++ = static_cast<uint8_t>(m_initialCodeSize);
    m_packetStart = nullptr;
    m_packetCount = 0;

    m_initialBits = m_initialCodeSize + 1;
    m_clear = false;
    m_bits = m_initialBits;
    m_maxCode = (1 << m_bits) - 1;
    m_clearCode = 1 << m_initialCodeSize;
    m_endCode = m_clearCode + 1;
    m_freeCode = m_clearCode + 2;
    m_accumulator = 0;
    m_accumulatedBits = 0;

    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    if (count == 0) {
        // Not reached from the encoder (a canvas has at least one pixel); an empty image is a
        // clear code and the end code.
        Output(m_clearCode);
        Output(m_endCode);
        *m_out++ = 0;
        return static_cast<size_t>(m_out - begin);
    }
    // The slot of a string: its next index shifted into the table's top bits, over the prefix's
    // 12 bits (an index of fewer bits is shifted further, so that the slots still spread).
    const int shift = kTableBits - m_initialCodeSize;
    int prefix = m_indices[0];
    std::memset(m_table, 0, sizeof(m_table));
    Output(m_clearCode);

    // The codes depend only on which strings the dictionary holds, never on where it keeps them:
    // a table four times as large as the codes it can hold, probed linearly, finds nearly every
    // string at the first slot. A slot holds the string's key (prefix and next index, 20 bits)
    // above its code (12 bits); 0 is empty, since every code assigned lies above the end code.
    for (size_t i = 1; i < count; i++) {
        const int c = m_indices[i];
        const uint32_t key = (static_cast<uint32_t>(c) << kMaxBits) | static_cast<uint32_t>(prefix);
        uint32_t slot = ((static_cast<uint32_t>(c) << shift) ^ static_cast<uint32_t>(prefix)) & kTableMask;
        uint32_t entry = m_table[slot];
        while (entry != 0 && (entry >> kMaxBits) != key) {
            slot = (slot + 1) & kTableMask;
            entry = m_table[slot];
        }
        if (entry != 0) {
            prefix = static_cast<int>(entry & (kCodeLimit - 1));
            continue;
        }
        Output(prefix);
        prefix = c;
        if (m_freeCode < kCodeLimit) {
            m_table[slot] = (key << kMaxBits) | static_cast<uint32_t>(m_freeCode++);
        } else {
            std::memset(m_table, 0, sizeof(m_table));
            m_freeCode = m_clearCode + 2;
            m_clear = true;
            Output(m_clearCode);
        }
    }
    Output(prefix);
    Output(m_endCode);
    *m_out++ = 0;
    return static_cast<size_t>(m_out - begin);
}

void CLzwEncoder::Output(int code) {
    m_accumulator |= static_cast<uint32_t>(code) << m_accumulatedBits;
    m_accumulatedBits += m_bits;
    while (m_accumulatedBits >= 8) {
        AppendByte(static_cast<uint8_t>(m_accumulator));
        m_accumulator >>= 8;
        m_accumulatedBits -= 8;
    }
    if (m_freeCode > m_maxCode || m_clear) {
        if (m_clear) {
            m_bits = m_initialBits;
            m_maxCode = (1 << m_bits) - 1;
            m_clear = false;
        } else {
            m_bits++;
            m_maxCode = m_bits == kMaxBits ? kCodeLimit : (1 << m_bits) - 1;
        }
    }
    if (code == m_endCode) {
        while (m_accumulatedBits > 0) {
            AppendByte(static_cast<uint8_t>(m_accumulator));
            m_accumulator >>= 8;
            m_accumulatedBits -= 8;
        }
        EndPacket();
    }
}

void CLzwEncoder::AppendByte(uint8_t byte) {
    if (m_packetStart == nullptr) {
        m_packetStart = m_out++;
    }
    *m_out++ = byte;
    if (++m_packetCount >= 254) {
        EndPacket();
    }
}

void CLzwEncoder::EndPacket() {
    if (m_packetCount > 0) {
        *m_packetStart = static_cast<uint8_t>(m_packetCount);
        m_packetStart = nullptr;
        m_packetCount = 0;
    }
}
