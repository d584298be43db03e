#include "CPlainLzwEncoder.h"

namespace {
const int kMasks[17] = {0x0000, 0x0001, 0x0003, 0x0007, 0x000F, 0x001F, 0x003F, 0x007F, 0x00FF,
                        0x01FF, 0x03FF, 0x07FF, 0x0FFF, 0x1FFF, 0x3FFF, 0x7FFF, 0xFFFF};
constexpr int kEnd = -1;
}  // namespace

CPlainLzwEncoder::CPlainLzwEncoder(int width, int height, const uint8_t* indices, int colourDepth)
    : m_width(width), m_height(height), m_indices(indices),
      m_initialCodeSize(colourDepth > 2 ? colourDepth : 2) {
    for (int i = 0; i < kHashSize; i++) {
        m_hash[i] = -1;
        m_codes[i] = 0;
    }
}

bool CPlainLzwEncoder::Encode(CGifByteSink& sink) {
    m_sink = &sink;
    m_failed = false;
    WriteByte(static_cast<uint8_t>(m_initialCodeSize));
    m_remaining = m_width * m_height;
    m_position = 0;
    Compress(m_initialCodeSize + 1);
    WriteByte(0);
    m_sink = nullptr;
    return !m_failed;
}

int CPlainLzwEncoder::NextPixel() {
    if (m_remaining == 0) {
        return kEnd;
    }
    m_remaining--;
    return m_indices[m_position++];
}

void CPlainLzwEncoder::Compress(int initialBits) {
    m_initialBits = initialBits;
    m_clear = false;
    m_bits = initialBits;
    m_maxCode = (1 << m_bits) - 1;
    m_clearCode = 1 << (initialBits - 1);
    m_endCode = m_clearCode + 1;
    m_freeCode = m_clearCode + 2;
    m_packetCount = 0;

    int prefix = NextPixel();
    int shift = 0;
    for (int f = kHashSize; f < 65536; f *= 2) {
        shift++;
    }
    shift = 8 - shift;
    for (int i = 0; i < kHashSize; i++) {
        m_hash[i] = -1;
    }
    Output(m_clearCode);

    int c;
    while ((c = NextPixel()) != kEnd) {
        const int key = (c << kMaxBits) + prefix;
        int slot = (c << shift) ^ prefix;
        bool found = false;
        if (m_hash[slot] == key) {
            found = true;
        } else if (m_hash[slot] >= 0) {
            const int displacement = slot == 0 ? 1 : kHashSize - slot;
            do {
                slot -= displacement;
                if (slot < 0) {
                    slot += kHashSize;
                }
                if (m_hash[slot] == key) {
                    found = true;
                    break;
                }
            } while (m_hash[slot] >= 0);
        }
        if (found) {
            prefix = m_codes[slot];
            continue;
        }
        Output(prefix);
        prefix = c;
        if (m_freeCode < kCodeLimit) {
            m_codes[slot] = m_freeCode++;
            m_hash[slot] = key;
        } else {
            ClearTable();
        }
    }
    Output(prefix);
    Output(m_endCode);
}

void CPlainLzwEncoder::ClearTable() {
    for (int i = 0; i < kHashSize; i++) {
        m_hash[i] = -1;
    }
    m_freeCode = m_clearCode + 2;
    m_clear = true;
    Output(m_clearCode);
}

void CPlainLzwEncoder::Output(int code) {
    m_accumulator &= kMasks[m_accumulatedBits];
    if (m_accumulatedBits > 0) {
        m_accumulator |= code << m_accumulatedBits;
    } else {
        m_accumulator = code;
    }
    m_accumulatedBits += m_bits;
    while (m_accumulatedBits >= 8) {
        AppendByte(static_cast<uint8_t>(m_accumulator & 0xFF));
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
            AppendByte(static_cast<uint8_t>(m_accumulator & 0xFF));
            m_accumulator >>= 8;
            m_accumulatedBits -= 8;
        }
        FlushPacket();
    }
}

void CPlainLzwEncoder::AppendByte(uint8_t byte) {
    m_packet[m_packetCount++] = byte;
    if (m_packetCount >= 254) {
        FlushPacket();
    }
}

void CPlainLzwEncoder::FlushPacket() {
    if (m_packetCount > 0) {
        WriteByte(static_cast<uint8_t>(m_packetCount));
        for (int i = 0; i < m_packetCount; i++) {
            WriteByte(m_packet[i]);
        }
        m_packetCount = 0;
    }
}

void CPlainLzwEncoder::WriteByte(uint8_t byte) {
    if (!m_failed && !m_sink->Write(&byte, 1)) {
        m_failed = true;
    }
}
