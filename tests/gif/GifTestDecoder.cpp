#include "GifTestDecoder.h"

#include <cstring>

namespace {

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}
    bool Byte(int& value) {
        if (m_pos >= m_bytes.size()) return false;
        value = m_bytes[m_pos++];
        return true;
    }
    bool Short(int& value) {
        int lo, hi;
        if (!Byte(lo) || !Byte(hi)) return false;
        value = lo | (hi << 8);
        return true;
    }
    bool Bytes(size_t count, std::vector<uint8_t>& out) {
        if (m_bytes.size() - m_pos < count) return false;
        out.assign(m_bytes.begin() + m_pos, m_bytes.begin() + m_pos + count);
        m_pos += count;
        return true;
    }
    size_t Position() const { return m_pos; }
    bool AtEnd() const { return m_pos == m_bytes.size(); }

private:
    const std::vector<uint8_t>& m_bytes;
    size_t m_pos = 0;
};

bool Fail(std::string& error, const std::string& why) {
    error = why;
    return false;
}

// Classic LZW as a decoder sees it: widths grow when the next free code reaches the width's
// limit, a clear code starts over.
bool DecodeLzw(const std::vector<uint8_t>& data, DecodedFrame& frame, std::string& error) {
    const int clearCode = 1 << frame.minimumCodeSize;
    const int endCode = clearCode + 1;
    std::vector<int> prefix(4096, -1);
    std::vector<uint8_t> suffix(4096, 0);
    std::vector<uint8_t> stack;
    for (int i = 0; i < clearCode; i++) suffix[i] = static_cast<uint8_t>(i);
    int width = frame.minimumCodeSize + 1;
    int next = endCode + 1;
    int previous = -1;
    size_t bitPos = 0;
    const size_t expected = static_cast<size_t>(frame.width) * frame.height;
    auto firstOf = [&](int code) {
        while (prefix[code] >= 0) code = prefix[code];
        return suffix[code];
    };
    for (;;) {
        if (bitPos + width > data.size() * 8) return Fail(error, "data ends without an end code");
        int code = 0;
        for (int b = 0; b < width; b++, bitPos++) {
            code |= ((data[bitPos >> 3] >> (bitPos & 7)) & 1) << b;
        }
        frame.codes.push_back({code, width});
        if (code == clearCode) {
            width = frame.minimumCodeSize + 1;
            next = endCode + 1;
            previous = -1;
            continue;
        }
        if (code == endCode) break;
        if (previous < 0) {
            if (code >= clearCode) return Fail(error, "first code after a clear is not a colour");
            frame.indices.push_back(static_cast<uint8_t>(code));
            previous = code;
            continue;
        }
        if (code > next || (code == next && next >= 4096)) return Fail(error, "code out of range");
        const int expandFrom = code == next ? previous : code;
        stack.clear();
        if (code == next) stack.push_back(firstOf(previous));
        for (int c = expandFrom; c >= 0; c = prefix[c]) stack.push_back(suffix[c]);
        frame.indices.insert(frame.indices.end(), stack.rbegin(), stack.rend());
        if (next < 4096) {
            prefix[next] = previous;
            suffix[next] = firstOf(code == next ? previous : code);
            next++;
            if (next == (1 << width) && width < 12) width++;
        }
        previous = code;
        if (frame.indices.size() > expected) return Fail(error, "more pixels than the frame has");
    }
    if (frame.indices.size() != expected) return Fail(error, "fewer pixels than the frame has");
    if ((bitPos + 7) / 8 != data.size()) return Fail(error, "bytes left after the end code");
    return true;
}

bool ReadSubBlocks(Reader& reader, std::vector<uint8_t>& data, std::vector<int>* sizes) {
    for (;;) {
        int count;
        if (!reader.Byte(count)) return false;
        if (count == 0) return true;
        std::vector<uint8_t> block;
        if (!reader.Bytes(count, block)) return false;
        data.insert(data.end(), block.begin(), block.end());
        if (sizes) sizes->push_back(count);
    }
}

}  // namespace

bool DecodeGif(const std::vector<uint8_t>& bytes, DecodedGif& gif, std::string& error) {
    Reader reader(bytes);
    std::vector<uint8_t> signature;
    if (!reader.Bytes(6, signature) || std::memcmp(signature.data(), "GIF89a", 6) != 0) {
        return Fail(error, "no GIF89a signature");
    }
    if (!reader.Short(gif.width) || !reader.Short(gif.height) || !reader.Byte(gif.screenPacked) ||
        !reader.Byte(gif.background) || !reader.Byte(gif.aspect)) {
        return Fail(error, "short screen descriptor");
    }
    if (gif.screenPacked & 0x80) {
        if (!reader.Bytes(3u << ((gif.screenPacked & 7) + 1), gif.globalTable)) return Fail(error, "short global table");
    }
    DecodedFrame pending;
    for (;;) {
        int introducer;
        if (!reader.Byte(introducer)) return Fail(error, "file ends without a trailer");
        if (introducer == 0x3B) {
            gif.trailer = true;
            if (!reader.AtEnd()) return Fail(error, "bytes after the trailer");
            return true;
        }
        if (introducer == 0x21) {
            const size_t start = reader.Position() - 1;
            int label;
            if (!reader.Byte(label)) return Fail(error, "short extension");
            std::vector<uint8_t> data;
            std::vector<int> sizes;
            if (!ReadSubBlocks(reader, data, &sizes)) return Fail(error, "short extension data");
            if (label == 0xF9) {
                if (sizes.size() != 1 || sizes[0] != 4) return Fail(error, "control extension is not 4 bytes");
                pending.controlPacked = data[0];
                pending.delay = data[1] | (data[2] << 8);
                pending.transparentIndex = data[3];
            } else if (label == 0xFF) {
                if (sizes.size() == 2 && sizes[0] == 11 && std::memcmp(data.data(), "NETSCAPE2.0", 11) == 0 &&
                    sizes[1] == 3 && data[11] == 1) {
                    gif.loopCount = data[12] | (data[13] << 8);
                    gif.loopBlockOffset = start;
                    gif.loopBlocks++;
                }
            }
            continue;
        }
        if (introducer != 0x2C) return Fail(error, "unknown block");
        DecodedFrame frame = pending;
        pending = DecodedFrame();
        if (!reader.Short(frame.left) || !reader.Short(frame.top) || !reader.Short(frame.width) ||
            !reader.Short(frame.height) || !reader.Byte(frame.descriptorPacked)) {
            return Fail(error, "short image descriptor");
        }
        if (frame.descriptorPacked & 0x80) {
            if (!reader.Bytes(3u << ((frame.descriptorPacked & 7) + 1), frame.localTable)) {
                return Fail(error, "short local table");
            }
        }
        if (!reader.Byte(frame.minimumCodeSize) || frame.minimumCodeSize < 2 || frame.minimumCodeSize > 8) {
            return Fail(error, "bad code size");
        }
        std::vector<uint8_t> data;
        if (!ReadSubBlocks(reader, data, &frame.subBlockSizes)) return Fail(error, "short image data");
        if (!DecodeLzw(data, frame, error)) return false;
        gif.frames.push_back(std::move(frame));
    }
}

bool CompositeGif(const DecodedGif& gif, std::vector<std::vector<uint8_t>>& canvases, std::string& error) {
    canvases.clear();
    std::vector<uint8_t> canvas(static_cast<size_t>(gif.width) * gif.height * 3, 0);
    for (size_t f = 0; f < gif.frames.size(); f++) {
        const DecodedFrame& frame = gif.frames[f];
        if (frame.left < 0 || frame.top < 0 || frame.left + frame.width > gif.width ||
            frame.top + frame.height > gif.height) {
            return Fail(error, "frame " + std::to_string(f) + " lies outside the canvas");
        }
        const std::vector<uint8_t>& palette = frame.Palette(gif.globalTable);
        const bool transparency = frame.controlPacked >= 0 && (frame.controlPacked & 1) != 0;
        const int disposal = frame.controlPacked >= 0 ? (frame.controlPacked >> 2) & 7 : 0;
        const std::vector<uint8_t> before = canvas;
        for (int y = 0; y < frame.height; y++) {
            for (int x = 0; x < frame.width; x++) {
                const int index = frame.indices[static_cast<size_t>(y) * frame.width + x];
                if (transparency && index == frame.transparentIndex) continue;
                if (static_cast<size_t>(index) * 3 + 2 >= palette.size()) {
                    return Fail(error, "frame " + std::to_string(f) + " uses an entry beyond its table");
                }
                uint8_t* out = &canvas[(static_cast<size_t>(frame.top + y) * gif.width + frame.left + x) * 3];
                out[0] = palette[index * 3];
                out[1] = palette[index * 3 + 1];
                out[2] = palette[index * 3 + 2];
            }
        }
        canvases.push_back(canvas);
        if (disposal == 2 || disposal == 3) {
            for (int y = 0; y < frame.height; y++) {
                for (int x = 0; x < frame.width; x++) {
                    const size_t at = (static_cast<size_t>(frame.top + y) * gif.width + frame.left + x) * 3;
                    for (int c = 0; c < 3; c++) canvas[at + c] = disposal == 2 ? 0 : before[at + c];
                }
            }
        }
    }
    return true;
}
