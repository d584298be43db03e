#include "CGifPictureLog.h"
#include <algorithm>
#include <cstring>
#include <new>

// A picture's words are written as tokens: a token with the top bit set is a run (its low bits
// count the copies of the one word that follows), any other is a literal stretch (its value
// counts the words that follow). A delta holds the changed rectangle's words XOR the picture
// before it, so that unchanged pixels inside the rectangle are runs of zero.
namespace {
constexpr uint32_t kRunFlag = 0x80000000u;
constexpr uint32_t kMaxCount = 0x7FFFFFFFu;
constexpr long long kMaxPixels = 1ll << 28;

// Appends tokens to `out` (room for count + 2 words) as words are given; gives the words used.
class TokenWriter {
public:
    explicit TokenWriter(uint32_t* out) : m_out(out) {}

    void Put(uint32_t value) {
        if (m_pending > 0 && value == m_value && m_pending < kMaxCount) {
            ++m_pending;
            return;
        }
        Flush();
        m_value = value;
        m_pending = 1;
    }
    size_t Finish() {
        Flush();
        CloseLiteral();
        return m_used;
    }

private:
    void Flush() {
        if (m_pending >= 3) {
            // A run of three already costs less than its words; it also ends a literal stretch.
            CloseLiteral();
            m_out[m_used++] = kRunFlag | m_pending;
            m_out[m_used++] = m_value;
        } else {
            for (uint32_t i = 0; i < m_pending; ++i) {
                if (m_literalAt == kNone) {
                    m_literalAt = m_used++;
                    m_literalCount = 0;
                }
                m_out[m_used++] = m_value;
                ++m_literalCount;
            }
        }
        m_pending = 0;
    }
    void CloseLiteral() {
        if (m_literalAt != kNone) {
            m_out[m_literalAt] = m_literalCount;
            m_literalAt = kNone;
        }
    }

    static constexpr size_t kNone = static_cast<size_t>(-1);
    uint32_t* m_out;
    size_t m_used = 0;
    uint32_t m_value = 0;
    uint32_t m_pending = 0;
    size_t m_literalAt = kNone;
    uint32_t m_literalCount = 0;
};

// Walks a rectangle of a picture row by row, writing (a key) or XOR-ing (a delta) words.
class RectCursor {
public:
    RectCursor(uint32_t* picture, int stride, int left, int top, int right, int bottom, bool assign)
        : m_picture(picture), m_stride(stride), m_left(left), m_top(top), m_width(right - left),
          m_height(bottom - top), m_assign(assign) {}

    void Run(uint32_t value, uint32_t count) {
        if (!m_assign && value == 0) {
            Skip(count);
            return;
        }
        while (count > 0 && m_y < m_height) {
            const uint32_t take = std::min<uint32_t>(count, static_cast<uint32_t>(m_width - m_x));
            uint32_t* row = RowAt();
            for (uint32_t i = 0; i < take; ++i) row[i] = m_assign ? value : row[i] ^ value;
            Advance(take);
            count -= take;
        }
    }
    void Literal(const uint32_t* values, uint32_t count) {
        while (count > 0 && m_y < m_height) {
            const uint32_t take = std::min<uint32_t>(count, static_cast<uint32_t>(m_width - m_x));
            uint32_t* row = RowAt();
            if (m_assign) {
                std::memcpy(row, values, take * sizeof(uint32_t));
            } else {
                for (uint32_t i = 0; i < take; ++i) row[i] ^= values[i];
            }
            Advance(take);
            values += take;
            count -= take;
        }
    }

private:
    uint32_t* RowAt() const {
        return m_picture + static_cast<size_t>(m_top + m_y) * static_cast<size_t>(m_stride) + m_left + m_x;
    }
    void Advance(uint32_t take) {
        m_x += static_cast<int>(take);
        if (m_x == m_width) {
            m_x = 0;
            ++m_y;
        }
    }
    void Skip(uint32_t count) {
        const uint64_t at = static_cast<uint64_t>(m_x) + count;
        m_y += static_cast<int>(at / static_cast<uint64_t>(m_width));
        m_x = static_cast<int>(at % static_cast<uint64_t>(m_width));
    }

    uint32_t* m_picture;
    int m_stride;
    int m_left, m_top, m_width, m_height;
    bool m_assign;
    int m_x = 0;
    int m_y = 0;
};

// The smallest rectangle holding every word that differs (all four bytes count: the picture is
// rebuilt exactly as it was given). Empty (all zero) when nothing differs.
void ChangedRect(const uint32_t* a, const uint32_t* b, int width, int height, int& left, int& top, int& right,
                 int& bottom) {
    left = width;
    right = 0;
    top = -1;
    bottom = -1;
    const size_t rowBytes = static_cast<size_t>(width) * sizeof(uint32_t);
    for (int y = 0; y < height; ++y) {
        const uint32_t* rowA = a + static_cast<size_t>(y) * width;
        const uint32_t* rowB = b + static_cast<size_t>(y) * width;
        if (std::memcmp(rowA, rowB, rowBytes) == 0) continue;
        int first = 0;
        while (rowA[first] == rowB[first]) ++first;
        int last = width - 1;
        const int stop = std::max(first, right);
        while (last >= stop && rowA[last] == rowB[last]) --last;
        left = std::min(left, first);
        right = std::max(right, last + 1);
        if (top < 0) top = y;
        bottom = y + 1;
    }
    if (top < 0) left = top = right = bottom = 0;
}
}  // namespace

bool CGifPictureLog::Picture::Fit(int newWidth, int newHeight) {
    if (pixels && width == newWidth && height == newHeight) return true;
    pixels.reset();
    id = kNoPicture;
    width = height = 0;
    pixels.reset(new (std::nothrow) uint32_t[static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight)]);
    if (!pixels) return false;
    width = newWidth;
    height = newHeight;
    return true;
}

uint32_t CGifPictureLog::Append(const uint32_t* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxPixels ||
        m_entries.size() >= kNoPicture) {
        return Refuse(Failure::Size);
    }
    m_failure = Failure::None;
    const uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    Entry entry;
    entry.width = width;
    entry.height = height;
    entry.right = width;
    entry.bottom = height;
    bool delta = m_last.id != kNoPicture && m_last.width == width && m_last.height == height &&
                 m_chainDeltas < kChainDeltas;
    if (delta) {
        int left, top, right, bottom;
        ChangedRect(pixels, m_last.pixels.get(), width, height, left, top, right, bottom);
        const uint64_t area = static_cast<uint64_t>(right - left) * static_cast<uint64_t>(bottom - top);
        if (m_chainPixels + area > static_cast<uint64_t>(kChainPictures) * count) {
            delta = false;
        } else {
            entry.left = left;
            entry.top = top;
            entry.right = right;
            entry.bottom = bottom;
        }
    }
    const uint64_t area =
        static_cast<uint64_t>(entry.right - entry.left) * static_cast<uint64_t>(entry.bottom - entry.top);
    if (m_scratchWords < area + 2) {
        m_scratch.reset(new (std::nothrow) uint32_t[area + 2]);
        m_scratchWords = m_scratch ? area + 2 : 0;
        if (!m_scratch) return Refuse(Failure::Memory);
    }
    TokenWriter writer(m_scratch.get());
    for (int y = entry.top; y < entry.bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * width;
        if (delta) {
            const uint32_t* before = m_last.pixels.get() + row;
            for (int x = entry.left; x < entry.right; ++x) writer.Put(pixels[row + x] ^ before[x]);
        } else {
            for (int x = entry.left; x < entry.right; ++x) writer.Put(pixels[row + x]);
        }
    }
    const size_t words = writer.Finish();
    const uint64_t bytes = static_cast<uint64_t>(words) * sizeof(uint32_t);
    if (words > 0 && m_spill && m_compressedWords * sizeof(uint32_t) >= m_memoryBudget) {
        if (!m_spill->Append(m_scratch.get(), static_cast<size_t>(bytes), entry.spilledAt)) {
            return Refuse(Failure::Spill);
        }
        entry.spilled = true;
    } else if (words > 0) {
        entry.data.reset(new (std::nothrow) uint32_t[words]);
        if (!entry.data) return Refuse(Failure::Memory);
        std::memcpy(entry.data.get(), m_scratch.get(), bytes);
    }
    entry.words = static_cast<uint32_t>(words);
    // The picture before is the one the next delta is taken against; a picture of another size
    // needs room of its own first (nothing is kept when there is none).
    if (!m_last.Fit(width, height)) return Refuse(Failure::Memory);
    const uint32_t id = static_cast<uint32_t>(m_entries.size());
    entry.key = delta ? m_entries.back().key : id;
    for (int y = entry.top; y < entry.bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * width + entry.left;
        std::memcpy(m_last.pixels.get() + row, pixels + row,
                    static_cast<size_t>(entry.right - entry.left) * sizeof(uint32_t));
    }
    m_last.id = id;
    if (delta) {
        m_chainPixels += area;
        ++m_chainDeltas;
    } else {
        m_chainPixels = count;
        m_chainDeltas = 0;
    }
    if (entry.spilled) {
        m_spilledBytes += bytes;
    } else {
        m_compressedWords += words;
    }
    m_entries.push_back(std::move(entry));
    return id;
}

bool CGifPictureLog::Decode(uint32_t id, uint32_t* out) {
    const Entry& entry = m_entries[id];
    const uint32_t* word = entry.data.get();
    if (entry.spilled) {
        if (m_readBackWords < entry.words) {
            m_readBack.reset(new (std::nothrow) uint32_t[entry.words]);
            m_readBackWords = m_readBack ? entry.words : 0;
            if (!m_readBack) return false;
        }
        if (!m_spill || !m_spill->Read(entry.spilledAt, m_readBack.get(), entry.words * sizeof(uint32_t))) return false;
        word = m_readBack.get();
    }
    RectCursor cursor(out, entry.width, entry.left, entry.top, entry.right, entry.bottom, entry.key == id);
    const uint32_t* end = word + entry.words;
    while (word < end) {
        const uint32_t token = *word++;
        if (token & kRunFlag) {
            if (word >= end) break;
            cursor.Run(*word++, token & kMaxCount);
        } else {
            const uint32_t count = std::min<uint32_t>(token, static_cast<uint32_t>(end - word));
            cursor.Literal(word, count);
            word += count;
        }
    }
    return true;
}

const uint32_t* CGifPictureLog::Rebuild(uint32_t id) {
    if (id >= m_entries.size()) return nullptr;
    if (m_cache.id == id) return m_cache.pixels.get();
    const Entry& wanted = m_entries[id];
    uint32_t from;
    if (m_cache.id != kNoPicture && m_cache.id < id && m_entries[m_cache.id].key == wanted.key) {
        // Further along the same chain: only the deltas after the cached picture.
        from = m_cache.id + 1;
    } else {
        if (!m_cache.Fit(wanted.width, wanted.height)) return nullptr;
        m_cache.id = kNoPicture;
        if (!Decode(wanted.key, m_cache.pixels.get())) return nullptr;
        from = wanted.key + 1;
    }
    // A picture half rebuilt is no picture: the cache holds none until this one is whole.
    m_cache.id = kNoPicture;
    for (uint32_t i = from; i <= id; ++i) {
        if (!Decode(i, m_cache.pixels.get())) return nullptr;
    }
    m_cache.id = id;
    return m_cache.pixels.get();
}

uint64_t CGifPictureLog::KeptBytes() const {
    const auto pictureBytes = [](const Picture& picture) {
        return picture.pixels ? static_cast<uint64_t>(picture.width) * picture.height * sizeof(uint32_t) : 0u;
    };
    return m_compressedWords * sizeof(uint32_t) + m_entries.capacity() * sizeof(Entry) + pictureBytes(m_last) +
           pictureBytes(m_cache) + (m_scratchWords + m_readBackWords) * sizeof(uint32_t);
}

void CGifPictureLog::Clear() {
    std::vector<Entry>().swap(m_entries);
    m_compressedWords = 0;
    m_last = Picture();
    m_cache = Picture();
    m_chainPixels = 0;
    m_chainDeltas = 0;
    m_scratch.reset();
    m_scratchWords = 0;
    m_readBack.reset();
    m_readBackWords = 0;
    m_spilledBytes = 0;
    m_failure = Failure::None;
}
