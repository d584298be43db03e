// The compressed picture log: every picture comes back word for word, whatever order it is asked
// in, whatever mixture of keys and deltas it was kept as; a mostly still session keeps a small
// part of its pixels' bytes; chains stay bounded.
#include <gtest/gtest.h>
#include <cstdint>
#include <random>
#include <string>
#include <vector>
#include "CGifPictureLog.h"

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// A screen-like picture: a flat background, a few flat boxes.
Picture Desktop(int width, int height, uint32_t seed) {
    Picture picture{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, 0x00D4D0C8u)};
    std::mt19937 random(seed);
    for (int box = 0; box < 6; ++box) {
        const int left = static_cast<int>(random() % width), top = static_cast<int>(random() % height);
        const int right = std::min(width, left + 1 + static_cast<int>(random() % 60));
        const int bottom = std::min(height, top + 1 + static_cast<int>(random() % 40));
        const uint32_t colour = random() & 0x00FFFFFFu;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) picture.pixels[static_cast<size_t>(y) * width + x] = colour;
    }
    return picture;
}

// The ways a recording changes from one picture to the next.
enum class Change { Typing, Noise, Alpha, Same, Resize, Pointer };

Picture Next(const Picture& before, Change change, std::mt19937& random) {
    Picture after = before;
    const auto at = [&](int x, int y) -> uint32_t& { return after.pixels[static_cast<size_t>(y) * after.width + x]; };
    switch (change) {
    case Change::Typing: {
        // One "letter": a few dark pixels in a small cell.
        const int x0 = static_cast<int>(random() % (after.width - 8)), y0 = static_cast<int>(random() % (after.height - 12));
        for (int i = 0; i < 20; ++i) at(x0 + static_cast<int>(random() % 8), y0 + static_cast<int>(random() % 12)) = 0x00101010u;
        break;
    }
    case Change::Noise:
        for (uint32_t& pixel : after.pixels) pixel = random();
        break;
    case Change::Alpha:
        // Only the fourth byte: the picture must still come back exactly.
        at(after.width / 2, after.height / 2) ^= 0xFF000000u;
        break;
    case Change::Same:
        break;
    case Change::Resize:
        after = Desktop(before.width + 7, before.height - 3, random());
        break;
    case Change::Pointer: {
        // Two far corners at once: a wide rectangle with mostly unchanged words inside.
        at(0, 0) ^= 0x00FFFFFFu;
        at(after.width - 1, after.height - 1) ^= 0x00FFFFFFu;
        break;
    }
    }
    return after;
}

struct Session {
    const char* name;
    std::vector<Change> pattern;  // repeated
    int pictures;
};

std::vector<Picture> Record(const Session& session, CGifPictureLog& log, std::vector<uint32_t>& ids) {
    std::mt19937 random(12345);
    std::vector<Picture> pictures{Desktop(160, 120, 7)};
    for (int i = 1; i < session.pictures; ++i)
        pictures.push_back(Next(pictures.back(), session.pattern[i % session.pattern.size()], random));
    for (const Picture& picture : pictures) {
        const uint32_t id = log.Append(picture.pixels.data(), picture.width, picture.height);
        EXPECT_NE(id, CGifPictureLog::kNoPicture);
        ids.push_back(id);
    }
    return pictures;
}

void ExpectRebuilt(CGifPictureLog& log, const std::vector<Picture>& pictures, const std::vector<uint32_t>& ids,
                   const std::vector<size_t>& order, const std::string& what) {
    for (size_t index : order) {
        const Picture& picture = pictures[index];
        ASSERT_EQ(log.Width(ids[index]), picture.width) << what << " picture " << index;
        ASSERT_EQ(log.Height(ids[index]), picture.height) << what << " picture " << index;
        const uint32_t* rebuilt = log.Rebuild(ids[index]);
        ASSERT_NE(rebuilt, nullptr) << what << " picture " << index;
        ASSERT_TRUE(std::equal(picture.pixels.begin(), picture.pixels.end(), rebuilt))
            << what << " picture " << index;
    }
}

const Session kSessions[] = {
    {"typing", {Change::Typing}, 400},
    {"full motion", {Change::Noise}, 40},
    {"mixed", {Change::Typing, Change::Noise, Change::Alpha, Change::Same, Change::Pointer, Change::Typing}, 120},
    {"sizes", {Change::Typing, Change::Resize, Change::Typing, Change::Typing}, 60},
};

TEST(GifPictureLog, EveryPictureComesBackExactlyInAnyOrder) {
    for (const Session& session : kSessions) {
        CGifPictureLog log;
        std::vector<uint32_t> ids;
        const std::vector<Picture> pictures = Record(session, log, ids);
        std::vector<size_t> order(pictures.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        ExpectRebuilt(log, pictures, ids, order, std::string(session.name) + " forwards");
        std::vector<size_t> backwards(order.rbegin(), order.rend());
        ExpectRebuilt(log, pictures, ids, backwards, std::string(session.name) + " backwards");
        std::shuffle(order.begin(), order.end(), std::mt19937(99));
        ExpectRebuilt(log, pictures, ids, order, std::string(session.name) + " shuffled");
    }
}

TEST(GifPictureLog, AStillSessionKeepsLittleAndChainsStayBounded) {
    CGifPictureLog log;
    std::vector<uint32_t> ids;
    const std::vector<Picture> pictures = Record(kSessions[0], log, ids);
    const uint64_t raw = static_cast<uint64_t>(pictures.size()) * 160 * 120 * 4;
    // Everything counted, working pictures included, stays a small part of the pixels' bytes.
    EXPECT_LT(log.KeptBytes() * 10, raw) << log.KeptBytes() << " of " << raw;
    // A key now and then: no picture is more than the chain limit away from its key.
    int sinceKey = 0, keys = 0;
    for (uint32_t id : ids) {
        sinceKey = log.IsKey(id) ? 0 : sinceKey + 1;
        keys += log.IsKey(id) ? 1 : 0;
        EXPECT_LE(sinceKey, CGifPictureLog::kChainDeltas);
    }
    EXPECT_GE(keys, static_cast<int>(ids.size()) / (CGifPictureLog::kChainDeltas + 1));
}

TEST(GifPictureLog, FullMotionStartsANewKeyAfterAFewWholePictures) {
    CGifPictureLog log;
    std::vector<uint32_t> ids;
    (void)Record(kSessions[1], log, ids);
    int sinceKey = 0;
    for (uint32_t id : ids) {
        sinceKey = log.IsKey(id) ? 0 : sinceKey + 1;
        EXPECT_LT(sinceKey, CGifPictureLog::kChainPictures) << "picture " << id;
    }
}

TEST(GifPictureLog, RefusesWhatCannotBeAPictureAndClears) {
    CGifPictureLog log;
    const uint32_t pixel = 0x00123456u;
    struct Case {
        const uint32_t* pixels;
        int width, height;
    } cases[] = {{nullptr, 1, 1}, {&pixel, 0, 1}, {&pixel, 1, 0}, {&pixel, -1, 1}, {&pixel, 1 << 15, 1 << 14}};
    for (const Case& c : cases) {
        EXPECT_EQ(log.Append(c.pixels, c.width, c.height), CGifPictureLog::kNoPicture) << c.width << "x" << c.height;
    }
    EXPECT_EQ(log.Count(), 0u);
    EXPECT_EQ(log.Rebuild(0), nullptr);
    const uint32_t id = log.Append(&pixel, 1, 1);
    ASSERT_NE(id, CGifPictureLog::kNoPicture);
    ASSERT_NE(log.Rebuild(id), nullptr);
    EXPECT_EQ(*log.Rebuild(id), pixel);
    log.Clear();
    EXPECT_EQ(log.Count(), 0u);
    EXPECT_EQ(log.Rebuild(id), nullptr);
    EXPECT_EQ(log.KeptBytes(), 0u);
}

}  // namespace

namespace {

// A spill in memory that can be told to fail as a full disk would, and to fail reading.
class MemorySpill : public CGifPictureSpill {
public:
    bool Append(const void* bytes, size_t count, uint64_t& offset) override {
        if (bytes_.size() + count > limit) return false;
        offset = bytes_.size();
        const auto* from = static_cast<const uint8_t*>(bytes);
        bytes_.insert(bytes_.end(), from, from + count);
        return true;
    }
    bool Read(uint64_t offset, void* bytes, size_t count) override {
        if (!readable || offset + count > bytes_.size()) return false;
        std::copy(bytes_.begin() + static_cast<ptrdiff_t>(offset), bytes_.begin() + static_cast<ptrdiff_t>(offset + count),
                  static_cast<uint8_t*>(bytes));
        return true;
    }
    size_t limit = static_cast<size_t>(-1);
    bool readable = true;
    std::vector<uint8_t> bytes_;
};

// Past its memory budget the log puts pictures in the spill and still gives every picture back;
// a spill that cannot take more refuses the picture and keeps every one before it.
TEST(GifPictureLog, PicturesPastTheBudgetGoToTheSpillAndAFullSpillLosesNothingBefore) {
    const struct Case {
        const char* name;
        uint64_t memory;
        size_t limit;
    } cases[] = {{"all spilled", 0, static_cast<size_t>(-1)}, {"some spilled", 20000, static_cast<size_t>(-1)},
                 {"spill fills up", 20000, 200000}};
    for (const Case& c : cases) {
        MemorySpill spill;
        spill.limit = c.limit;
        CGifPictureLog log;
        log.SetSpill(&spill, c.memory);
        std::mt19937 random(5);
        std::vector<Picture> pictures{Desktop(160, 120, 3)};
        std::vector<uint32_t> ids;
        for (int i = 0; i < 80; ++i) {
            if (i > 0) pictures.push_back(Next(pictures.back(), i % 9 == 0 ? Change::Noise : Change::Typing, random));
            const uint32_t id = log.Append(pictures.back().pixels.data(), pictures.back().width, pictures.back().height);
            if (id == CGifPictureLog::kNoPicture) {
                EXPECT_EQ(log.LastFailure(), CGifPictureLog::Failure::Spill) << c.name;
                pictures.pop_back();
                break;
            }
            ids.push_back(id);
        }
        EXPECT_EQ(ids.size() < 80, c.limit != static_cast<size_t>(-1)) << c.name;
        EXPECT_EQ(log.SpilledBytes(), spill.bytes_.size()) << c.name;
        EXPECT_GT(log.SpilledBytes(), 0u) << c.name;
        if (c.memory == 0) EXPECT_LT(log.KeptBytes(), 4 * 160 * 120 * 4u) << c.name;  // the working pictures
        std::vector<size_t> order(ids.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), std::mt19937(1));
        ExpectRebuilt(log, pictures, ids, order, c.name);
    }
}

TEST(GifPictureLog, APictureWhoseSpilledWordsCannotBeReadIsNotGivenHalfMade) {
    MemorySpill spill;
    CGifPictureLog log;
    log.SetSpill(&spill, 0);
    std::mt19937 random(8);
    std::vector<Picture> pictures{Desktop(64, 48, 1)};
    pictures.push_back(Next(pictures[0], Change::Typing, random));
    const uint32_t first = log.Append(pictures[0].pixels.data(), 64, 48);
    const uint32_t second = log.Append(pictures[1].pixels.data(), 64, 48);
    ASSERT_NE(log.Rebuild(first), nullptr);
    spill.readable = false;
    EXPECT_EQ(log.Rebuild(second), nullptr);
    // The cache was not left holding a mixture: once readable, both come back exactly.
    spill.readable = true;
    ExpectRebuilt(log, pictures, {first, second}, {1, 0, 1}, "read again");
}

}  // namespace
