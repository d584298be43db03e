#pragma once
// The pictures of a recording, kept compressed: an append-only log in which each picture is a key
// (the whole picture) or a delta (only the rectangle where it differs from the picture appended
// just before it, which has the same size). Appended pictures never change; frames refer to them
// by id, so that reordering, copying and deleting frames touch no pixels, and a changed frame is
// a new picture. A key comes often enough that rebuilding any picture decodes a bounded number of
// pixels, and a one-picture cache makes a walk in order (saving, playback) one delta per picture.
// Past a memory budget the compressed pictures go to a spill (a temporary file) instead.
// Portable: no Windows API.
//
//   CGifPictureLog log;
//   const uint32_t id = log.Append(pixels, width, height);   // kNoPicture when memory ran out
//   const uint32_t* rebuilt = log.Rebuild(id);                // width x height words, or nullptr
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>
#include "CGifPictureSpill.h"

class CGifPictureLog {
public:
    static constexpr uint32_t kNoPicture = 0xFFFFFFFFu;
    // A delta chain ends (the next picture is a key) once rebuilding its newest picture would
    // decode this many whole pictures' worth of pixels, or after this many deltas.
    static constexpr int kChainPictures = 6;
    static constexpr int kChainDeltas = 300;

    // Why the last Append kept nothing.
    enum class Failure { None, Size, Memory, Spill };

    CGifPictureLog() = default;
    CGifPictureLog(const CGifPictureLog&) = delete;
    CGifPictureLog& operator=(const CGifPictureLog&) = delete;

    // Keeps a copy of width x height pixels (four bytes each, rows from the top, no gaps) and
    // gives its id; kNoPicture (and nothing kept) for an impossible size or when there is no
    // memory left.
    [[nodiscard]] uint32_t Append(const uint32_t* pixels, int width, int height);
    Failure LastFailure() const { return m_failure; }
    // Once `memoryBytes` of compressed pictures are kept in memory (the one that crosses it is
    // still kept there), the next go to `spill` (not owned; nullptr: all in memory). Set before
    // the first Append.
    void SetSpill(CGifPictureSpill* spill, uint64_t memoryBytes) {
        m_spill = spill;
        m_memoryBudget = memoryBytes;
    }
    // The picture `id` as it was appended; the words stay valid until the next Rebuild, Append
    // of another size or Clear. nullptr for an unknown id or when there is no memory to rebuild.
    [[nodiscard]] const uint32_t* Rebuild(uint32_t id);

    int Width(uint32_t id) const { return id < m_entries.size() ? m_entries[id].width : 0; }
    int Height(uint32_t id) const { return id < m_entries.size() ? m_entries[id].height : 0; }
    bool IsKey(uint32_t id) const { return id < m_entries.size() && m_entries[id].key == id; }
    size_t Count() const { return m_entries.size(); }
    // Every byte the log keeps in memory: compressed pictures, their index, its working pictures.
    uint64_t KeptBytes() const;
    // The bytes of compressed pictures given to the spill.
    uint64_t SpilledBytes() const { return m_spilledBytes; }
    void Clear();

private:
    struct Entry {
        std::unique_ptr<uint32_t[]> data;  // the compressed words, unless they were spilled
        uint64_t spilledAt = 0;
        uint32_t words = 0;
        bool spilled = false;
        uint32_t key = 0;  // the id of the key its chain starts from (its own for a key)
        int width = 0;
        int height = 0;
        // The rectangle a delta covers (the whole picture for a key).
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    struct Picture {
        std::unique_ptr<uint32_t[]> pixels;
        int width = 0;
        int height = 0;
        uint32_t id = kNoPicture;
        [[nodiscard]] bool Fit(int width, int height);
    };

    // Applies picture `id` onto `out`: a key replaces it, a delta changes the picture before it.
    // False when its spilled words could not be read back.
    [[nodiscard]] bool Decode(uint32_t id, uint32_t* out);
    uint32_t Refuse(Failure why) {
        m_failure = why;
        return kNoPicture;
    }

    std::vector<Entry> m_entries;
    uint64_t m_compressedWords = 0;
    // The picture appended last (what the next delta is taken against) and the chain's cost.
    Picture m_last;
    uint64_t m_chainPixels = 0;
    int m_chainDeltas = 0;
    // The picture rebuilt last.
    Picture m_cache;
    // Room for one picture's encoding before it is copied to its exact size.
    std::unique_ptr<uint32_t[]> m_scratch;
    size_t m_scratchWords = 0;
    // Room for one spilled picture's words read back.
    std::unique_ptr<uint32_t[]> m_readBack;
    size_t m_readBackWords = 0;
    CGifPictureSpill* m_spill = nullptr;
    uint64_t m_memoryBudget = 0;
    uint64_t m_spilledBytes = 0;
    Failure m_failure = Failure::None;
};
