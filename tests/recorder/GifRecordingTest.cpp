// The recording store: its clock arithmetic, the hand-over of frames with the frame window,
// recordings driven by a clock of the test's own (scripted pictures and the known screen), and
// the writer's files decoded back, including the failures that must keep the frames.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>
#include "CGifEncoder.h"
#include "CGifRecording.h"
#include "CProgressWnd.h"
#include "RecorderTestSupport.h"
#include "TestSupport.h"
#include "WindowMessages.h"

using namespace recorder_testing;
using testing_support::FileExists;
using testing_support::ListFiles;
using testing_support::MessageBoxRecorder;
using testing_support::PatternColor;
using testing_support::TempFolder;

namespace {

// Attempts that polls of 10 ms make over `ms` at `fps`, as the pacer sees them.
std::vector<int> AttemptTimes(int fps, uint32_t ms) {
    GifRecordingPacer pacer(fps);
    std::vector<int> times;
    for (uint32_t t = 0; t < ms; t += 10) {
        if (pacer.Due(t)) times.push_back(static_cast<int>(t));
    }
    return times;
}

TEST(GifRecordingPacer, OneAttemptAtOnceThenOnePerInterval) {
    struct Case {
        int fps;
        int interval;
        std::vector<int> firstAttempts;
    };
    const Case cases[] = {
        {10, 100, {0, 100, 200, 300}},
        {30, 33, {0, 40, 70, 100}},   // 10 ms polls land in slots 0, 1, 2, 3
        {7, 142, {0, 150, 290, 430}},
        {0, 1000, {0, 1000, 2000}},   // fps below 1 counts as 1
    };
    for (const Case& c : cases) {
        GifRecordingPacer pacer(c.fps);
        EXPECT_EQ(c.interval, pacer.Interval()) << c.fps;
        const std::vector<int> times = AttemptTimes(c.fps, 5000);
        ASSERT_GE(times.size(), c.firstAttempts.size());
        EXPECT_EQ(c.firstAttempts, std::vector<int>(times.begin(), times.begin() + c.firstAttempts.size())) << c.fps;
    }
}

TEST(GifRecordingPacer, SkippedIntervalsAreNotCountedAndDelaysAreMultiples) {
    GifRecordingPacer pacer(10);
    ASSERT_TRUE(pacer.Due(0));
    pacer.Kept();             // first entry: 100, unused
    ASSERT_TRUE(pacer.Due(100));
    EXPECT_FALSE(pacer.Due(105));  // same interval: no second attempt
    // A capture that took 350 ms: the next attempt comes at 450, one interval counted.
    ASSERT_TRUE(pacer.Due(450));
    pacer.Kept();             // 200: the unchanged attempt at 100 and this one
    ASSERT_TRUE(pacer.Due(500));
    pacer.Finish();           // 100 after the last kept frame
    EXPECT_EQ((std::vector<int32_t>{100, 200, 100}), pacer.Delays());
    EXPECT_EQ((std::vector<uint32_t>{200, 100}), GifRecordingPacer::FrameDelays(pacer.Delays(), 2));
    // Stopping right after a kept capture gives the last frame 0.
    GifRecordingPacer quick(10);
    ASSERT_TRUE(quick.Due(0));
    quick.Kept();
    quick.Finish();
    EXPECT_EQ((std::vector<uint32_t>{0}), GifRecordingPacer::FrameDelays(quick.Delays(), 1));
}

// The thread pauses 10 ms between polls but never past the next interval's start, so that a
// slow capture does not push the following attempts out of their intervals.
TEST(GifRecordingPacer, PausesEndAtTheNextInterval) {
    struct Case {
        int fps;
        uint32_t elapsed;
        uint32_t pause;
    };
    const Case cases[] = {
        {10, 0, 10},   {10, 95, 5},  {10, 99, 1},  {10, 100, 10},
        {30, 0, 10},   {30, 28, 5},  {30, 33, 10},
        {30, 60, 6},   {30, 65, 1},  {1, 999, 1},  {1, 500, 10},
    };
    for (const Case& c : cases) {
        GifRecordingPacer pacer(c.fps);
        EXPECT_EQ(c.pause, pacer.PauseBefore(c.elapsed, 10)) << c.fps << " fps at " << c.elapsed << " ms";
    }
    // Captures of 25 ms at 30 fps, each followed by that pause: no interval goes without one.
    GifRecordingPacer pacer(30);
    uint32_t t = 0;
    int attempts = 0;
    while (t < 3000) {
        if (pacer.Due(t)) {
            attempts++;
            t += 25;
        }
        t += pacer.PauseBefore(t, 10);
    }
    EXPECT_GE(attempts, 90);
}

// An attempt whose grab read nothing counts like a slot without an attempt.
TEST(GifRecordingPacer, AMissedAttemptIsNotCounted) {
    GifRecordingPacer pacer(10);
    ASSERT_TRUE(pacer.Due(0));
    pacer.Kept();
    ASSERT_TRUE(pacer.Due(100));
    pacer.Missed();
    ASSERT_TRUE(pacer.Due(200));
    pacer.Kept();
    ASSERT_TRUE(pacer.Due(300));
    pacer.Finish();
    EXPECT_EQ((std::vector<uint32_t>{100, 100}), GifRecordingPacer::FrameDelays(pacer.Delays(), 2));
}

// A fill that runs after the thread took the frame back must never reach it.
TEST(GifCaptureRequest, LateOrStaleFillsDoNotTouchTheFrame) {
    CGifCaptureRequest request;
    CGifFrameImage frame;
    using Outcome = CGifCaptureRequest::Outcome;
    int fills = 0;
    bool screenRead = true;
    auto fill = [&](CGifFrameImage&, const GifCaptureOptions&) {
        ++fills;
        return screenRead;
    };

    const WPARAM first = request.Offer(&frame);
    EXPECT_EQ(Outcome::Unanswered, request.TakeBack());  // timed out before the window got to it
    EXPECT_FALSE(request.Fill(first, fill));  // the message arrives late
    const WPARAM second = request.Offer(&frame);
    EXPECT_NE(first, second);
    EXPECT_FALSE(request.Fill(first, fill));  // an older request is not this one
    EXPECT_TRUE(request.Fill(second, fill));
    EXPECT_FALSE(request.Fill(second, fill));  // filled once only
    EXPECT_EQ(Outcome::Filled, request.TakeBack());
    EXPECT_EQ(1, fills);
    // A fill that could not read the screen says so.
    screenRead = false;
    const WPARAM third = request.Offer(&frame);
    EXPECT_TRUE(request.Fill(third, fill));
    EXPECT_EQ(Outcome::GrabFailed, request.TakeBack());
}

GifRecordingSettings Settings(int fps) {
    GifRecordingSettings settings;
    settings.fps = fps;
    return settings;
}

// The pictures A A B B B C C ...: unchanged attempts cost nothing and lengthen the frame before.
TEST(GifRecording, UnchangedFramesMergeIntoThePreviousDelay) {
    const COLORREF colours[] = {RGB(200, 0, 0), RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 200, 0),
                                RGB(0, 200, 0), RGB(0, 0, 200)};
    ScriptedFrameSource source([&](int attempt, CGifFrameImage& frame, const GifCaptureOptions&) {
        FillSolid(frame, 40, 30, colours[attempt < 6 ? attempt : 5]);
    });
    ScriptedFrameSource owner([](int, CGifFrameImage&, const GifCaptureOptions&) {});
    CGifRecording recording;
    recording.SetFrameWindow(source.Hwnd());
    recording.SetOwner(owner.Hwnd());
    int overlays = 0;
    // The overlay marks the corner black on the recording thread; it must not count as a change.
    recording.SetOverlay([&overlays](HDC dc) {
        ++overlays;
        RECT corner{0, 0, 4, 4};
        ::FillRect(dc, &corner, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    });
    RecordFor(recording, Settings(10), 700);  // attempts at 0, 100, ... 600

    EXPECT_EQ(7, source.Attempts());
    ASSERT_EQ(3u, recording.GetFrames().size());
    EXPECT_EQ(3, overlays);
    EXPECT_EQ((std::vector<int32_t>{100, 200, 300, 100}), recording.GetDelays());
    const uint32_t expected[] = {200, 300, 100};
    for (size_t i = 0; i < 3; ++i) {
        const auto picture = Rebuilt(recording, i);
        const CGifFrameImage& frame = *picture;
        EXPECT_EQ(expected[i], frame.delay) << i;
        EXPECT_EQ(RGB(0, 0, 0), frame.PixelAt(1, 1)) << i;
        EXPECT_EQ(colours[i == 0 ? 0 : i == 1 ? 2 : 5], frame.PixelAt(20, 20)) << i;
    }
    EXPECT_FALSE(recording.IsRecording());
    EXPECT_EQ(0, recording.GetStopReason());
    testing_support::PumpMessages();
    EXPECT_EQ((std::vector<WPARAM>{1, 2, 3}), owner.Received(WM_GIF_FRAME_ADDED));
}

// A screen-like picture for attempt i: a gradient (few equal neighbours), a box that moves every
// attempt, the whole picture changed every 4th attempt, every 5th attempt unchanged.
std::vector<uint32_t> ScreenPicture(int attempt, int width, int height) {
    const int shown = attempt % 5 == 4 ? attempt - 1 : attempt;
    const int phase = shown / 4;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] =
                static_cast<uint32_t>(((x * 3 + phase * 40) & 0xFF) | ((y * 2 + phase * 17) & 0xFF) << 8 | 0x60 << 16);
    for (int y = 10; y < 22; ++y)
        for (int x = 0; x < 9; ++x) pixels[static_cast<size_t>(y) * width + (shown * 7 + x) % width] = 0x00FFFFFFu;
    return pixels;
}

// What the store keeps is what was grabbed: every kept frame rebuilt equals its grab pixel for
// pixel, over enough frames to pass several whole pictures kept anew, and both save modes write
// the same bytes as the grabbed bitmaps themselves written by the encoder.
TEST(GifRecording, FramesRebuiltFromTheStoreEqualTheGrabsAndSaveAsTheGrabsWould) {
    const int width = 96, height = 64;
    std::vector<std::unique_ptr<CGifFrameImage>> grabs;  // the pictures that were not a repeat
    ScriptedFrameSource source([&](int attempt, CGifFrameImage& frame, const GifCaptureOptions&) {
        const std::vector<uint32_t> pixels = ScreenPicture(attempt, width, height);
        ASSERT_TRUE(frame.SetPixels(pixels.data(), width, height));
        if (attempt % 5 != 4) {
            grabs.push_back(std::make_unique<CGifFrameImage>());
            ASSERT_TRUE(grabs.back()->SetPixels(pixels.data(), width, height));
        }
    });
    CGifRecording recording;
    recording.SetFrameWindow(source.Hwnd());
    RecordFor(recording, Settings(10), 6000);
    ASSERT_EQ(grabs.size(), recording.GetFrames().size());
    ASSERT_GT(grabs.size(), 40u);
    // Backwards too: a rebuild does not depend on the order frames are asked for.
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t n = 0; n < grabs.size(); ++n) {
            const size_t i = pass == 0 ? n : grabs.size() - 1 - n;
            std::vector<uint32_t> expected, rebuilt;
            ASSERT_TRUE(grabs[i]->ReadPixels(expected));
            ASSERT_TRUE(Rebuilt(recording, i)->ReadPixels(rebuilt)) << i;
            ASSERT_EQ(expected.size(), rebuilt.size()) << i;
            size_t unlike = 0;
            for (size_t p = 0; p < expected.size(); ++p) unlike += (expected[p] ^ rebuilt[p]) & 0x00FFFFFFu ? 1 : 0;
            EXPECT_EQ(0u, unlike) << "frame " << i << " pass " << pass;
        }
    }
    // Far less than the pixels themselves: most of each frame is kept once per chain.
    EXPECT_LT(recording.KeptBytes(), grabs.size() * width * height * 4 / 2);

    for (const bool small : {false, true}) {
        for (size_t i = 0; i < grabs.size(); ++i) grabs[i]->delay = recording.GetFrames()[i]->delay;
        TempFolder folder;
        const std::wstring direct = folder.File(L"direct.gif");
        {
            CGifEncoder encoder;
            ASSERT_TRUE(encoder.OpenPath(direct));
            encoder.SetLoopCount(0);
            encoder.SetSampleFactor(2 * 5);
            encoder.SetSmallFile(small);
            encoder.SetCanvasSize(width, height);
            for (const auto& grab : grabs) {
                encoder.SetFrameDelay(static_cast<int>(grab->delay));
                ASSERT_TRUE(encoder.WriteFrame(static_cast<HBITMAP>(*grab)));
            }
            ASSERT_TRUE(encoder.Close());
        }
        recording.SetSmallFile(small);
        std::wstring saved;
        ASSERT_EQ(CGifRecording::SaveResult::Saved,
                  recording.Save(nullptr, [&] { return folder.File(L"TX_1.png"); }, 2, &saved));
        std::vector<uint8_t> expectedBytes, savedBytes;
        ASSERT_TRUE(ReadFileBytes(direct, expectedBytes));
        ASSERT_TRUE(ReadFileBytes(saved, savedBytes));
        EXPECT_EQ(expectedBytes, savedBytes) << (small ? "small file" : "plain");
        if (!small) {
            // Saving cleared the store: record the same again for the other mode.
            grabs.clear();
            RecordFor(recording, Settings(10), 6000);
            ASSERT_EQ(grabs.size(), recording.GetFrames().size());
        }
    }
}

// An unchanged screen for the whole recording: one frame shown for every attempt.
TEST(GifRecording, AnUnchangedScreenIsOneFrameForTheWholeRecording) {
    ScriptedFrameSource source([](int, CGifFrameImage& frame, const GifCaptureOptions&) {
        FillSolid(frame, 16, 16, RGB(9, 99, 199));
    });
    CGifRecording recording;
    recording.SetFrameWindow(source.Hwnd());
    RecordFor(recording, Settings(30), 1000);
    ASSERT_EQ(1u, recording.GetFrames().size());
    // Polls at 0, 10, ... 990 ms reach slots 0 to 30 (990 / 33), each attempted once: the frame
    // is shown for the 30 intervals after the first.
    EXPECT_EQ(31, source.Attempts());
    EXPECT_EQ(30u * 33u, recording.GetFrames()[0]->delay);
}

void RecordColours(CGifRecording& recording, int count);

struct StopCase {
    const char* name;
    bool giveBitmaps;
    uint64_t fileLimit;  // bytes the temporary file may take (all pictures go there)
    int reason;
};

class GifRecordingStops : public ::testing::TestWithParam<StopCase> {};

// The recording ends by itself, keeps what it has and tells the owner why; what it kept is
// whole: every frame shows its grab, and the frames can still be written.
TEST_P(GifRecordingStops, ByItselfKeepingWhatWasRecorded) {
    const StopCase c = GetParam();
    ScriptedFrameSource source([&c](int attempt, CGifFrameImage& frame, const GifCaptureOptions&) {
        if (c.giveBitmaps || attempt < 2) FillSolid(frame, 20, 20, RGB(attempt * 20, 0, 0));
    });
    ScriptedFrameSource owner([](int, CGifFrameImage&, const GifCaptureOptions&) {});
    CGifRecording recording;
    recording.SetFrameWindow(source.Hwnd());
    recording.SetOwner(owner.Hwnd());
    recording.SetSpillLimits(0, c.fileLimit);
    RecordFor(recording, Settings(10), 100000);

    EXPECT_EQ(c.reason, recording.GetStopReason());
    const size_t kept = recording.GetFrames().size();
    if (c.reason == CGifRecording::StoppedNoPicture) {
        EXPECT_EQ(2u, kept);
    } else {
        EXPECT_GE(kept, 2u);
        // The file holds every kept picture and no more than it was let to.
        EXPECT_GT(recording.SpilledBytes(), 0u);
        EXPECT_LE(recording.SpilledBytes(), c.fileLimit);
    }
    EXPECT_LT(source.Attempts(), 1000);  // it did not run on to the clock's end
    for (size_t i = 0; i < kept; ++i) {
        EXPECT_EQ(RGB(static_cast<int>(i) * 20, 0, 0), Rebuilt(recording, i)->PixelAt(10, 10)) << i;
    }
    testing_support::PumpMessages();
    EXPECT_EQ(std::vector<WPARAM>{static_cast<WPARAM>(c.reason)}, owner.Received(WM_GIF_RECORDING_STOPPED));
    EXPECT_EQ(kept, owner.Received(WM_GIF_FRAME_ADDED).size());

    TempFolder folder;
    std::wstring saved;
    ASSERT_EQ(CGifRecording::SaveResult::Saved,
              recording.Save(nullptr, [&] { return folder.File(L"TX_1.png"); }, 2, &saved));
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGifFile(saved, gif, error)) << error;
    EXPECT_EQ(kept, gif.frames.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GifRecordingStops,
    ::testing::Values(StopCase{"diskFull", true, 64, CGifRecording::StoppedDiskFull},
                      StopCase{"noBitmap", false, UINT64_MAX, CGifRecording::StoppedNoPicture}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return std::string(info.param.name); });

// Past the memory budget the pictures go to a temporary file of the user's temporary folder; it
// is there until the frames are saved or cleared, and gone after either.
TEST(GifRecordingSpill, TheTemporaryFileIsGoneAfterSaveAndAfterClear) {
    for (const bool save : {true, false}) {
        CGifRecording recording;
        recording.SetSpillLimits(0, UINT64_MAX);
        RecordColours(recording, 4);
        ASSERT_EQ(4u, recording.GetFrames().size());
        const std::wstring path = recording.SpillPath();
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(0u, path.find(CGifSpillFile::TemporaryFolder()));
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(RGB(120, 255 - 120, 100), Rebuilt(recording, 3)->PixelAt(5, 5));
        if (save) {
            TempFolder folder;
            ASSERT_EQ(CGifRecording::SaveResult::Saved,
                      recording.Save(nullptr, [&] { return folder.File(L"TX_1.png"); }, 2));
        } else {
            recording.Clear();
        }
        EXPECT_FALSE(FileExists(path)) << (save ? "saved" : "cleared");
        EXPECT_TRUE(recording.SpillPath().empty());
    }
}

// At start the files of processes that no longer run are removed (a crash left them); a file
// still held open stays, and so do the files of running processes and any other file.
TEST(GifRecordingSpill, LeftoversOfEndedProcessesAreRemovedButNotAFileInUse) {
    TempFolder folder;
    // A process id no process has (ids are multiples of 4).
    const std::wstring dead = L"TovrixRec-4294967293-";
    const std::wstring self = L"TovrixRec-" + std::to_wstring(::GetCurrentProcessId()) + L"-";
    const struct Case {
        std::wstring name;
        bool held;
        bool removed;
    } cases[] = {{dead + L"1.tmp", false, true},  {dead + L"2.tmp", true, false}, {self + L"3.tmp", false, false},
                 {L"TovrixRec-x-4.tmp", false, false}, {dead + L"5.txt", false, false}};
    std::vector<HANDLE> held;
    for (const Case& c : cases) {
        HANDLE file = ::CreateFileW(folder.File(c.name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        if (c.held) {
            held.push_back(file);
        } else {
            ::CloseHandle(file);
        }
    }
    EXPECT_EQ(1, CGifSpillFile::RemoveLeftovers(folder.Path()));
    for (const Case& c : cases) EXPECT_EQ(!c.removed, FileExists(folder.File(c.name))) << std::string(c.name.begin(), c.name.end());
    for (HANDLE file : held) ::CloseHandle(file);
    // Once let go, the ended process's file goes at the next start.
    EXPECT_EQ(1, CGifSpillFile::RemoveLeftovers(folder.Path()));
    EXPECT_FALSE(FileExists(folder.File(cases[1].name)));
}

// Compares a decoded frame with the known screen inside `area`; the palette has 256 colours,
// so a small difference per pixel is the quantiser's.
void ExpectFrameShowsPattern(const DecodedGif& gif, size_t f, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    ASSERT_EQ(width, gif.frames[f].width);
    ASSERT_EQ(height, gif.frames[f].height);
    long long total = 0;
    int worst = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF got = DecodedPixel(gif, f, x, y);
            const COLORREF want = PatternColor(area.left + x, area.top + y);
            const int d = std::abs(GetRValue(got) - GetRValue(want)) + std::abs(GetGValue(got) - GetGValue(want)) +
                          std::abs(GetBValue(got) - GetBValue(want));
            total += d;
            worst = d > worst ? d : worst;
        }
    }
    EXPECT_LT(total / (width * height), 6) << "frame " << f;
    EXPECT_LT(worst, 40) << "frame " << f;
}

class GifRecordingOfTheKnownScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::ScreenShowsPattern()) {
            if (std::getenv("TOVRIX_PATTERN")) FAIL() << "the known screen is missing";
            GTEST_SKIP() << "no known screen";
        }
    }
    // Two areas of the screen: the first for 3 attempts, the second for 2 (so it is shown for
    // the one attempt after its own).
    const RECT first{300, 200, 340, 230};
    const RECT second{520, 410, 560, 440};
};

TEST_F(GifRecordingOfTheKnownScreen, IsWrittenAndDecodesBackFrameByFrame) {
    ScriptedFrameSource source([this](int attempt, CGifFrameImage& frame, const GifCaptureOptions& options) {
        frame.CaptureArea(attempt < 3 ? first : second, options);
    });
    CGifRecording recording;
    recording.SetFrameWindow(source.Hwnd());
    RecordFor(recording, Settings(10), 500);
    ASSERT_EQ(2u, recording.GetFrames().size());

    TempFolder folder;
    std::wstring saved;
    MessageBoxRecorder boxes;
    ASSERT_EQ(CGifRecording::SaveResult::Saved,
              recording.Save(nullptr, [&] { return folder.File(L"TX_[20190424-134720].jpg"); }, 2, &saved));
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_EQ(folder.File(L"TX_[20190424-134720].gif"), saved);
    EXPECT_TRUE(recording.GetFrames().empty());  // written, then destroyed
    EXPECT_EQ(std::vector<std::wstring>{L"TX_[20190424-134720].gif"}, ListFiles(folder.Path()));

    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGifFile(saved, gif, error)) << error;
    EXPECT_EQ(40, gif.width);
    EXPECT_EQ(30, gif.height);
    EXPECT_EQ(0, gif.loopCount);  // for ever
    ASSERT_EQ(2u, gif.frames.size());
    EXPECT_EQ(30, gif.frames[0].delay);  // hundredths: 3 attempts of 100 ms
    EXPECT_EQ(10, gif.frames[1].delay);
    ExpectFrameShowsPattern(gif, 0, first);
    ExpectFrameShowsPattern(gif, 1, second);
}

TEST_F(GifRecordingOfTheKnownScreen, ResizedFramesHaveTheOutputSize) {
    ScriptedFrameSource source([this](int, CGifFrameImage& frame, const GifCaptureOptions& options) {
        frame.CaptureArea(first, options);
    });
    CGifRecording recording;
    recording.SetFrameWindow(source.Hwnd());
    GifRecordingSettings settings = Settings(10);
    settings.capture.resize = true;
    settings.capture.width = 120;
    settings.capture.height = 100;
    RecordFor(recording, settings, 300);
    ASSERT_EQ(1u, recording.GetFrames().size());
    const auto picture = Rebuilt(recording, 0);
    EXPECT_EQ(120, picture->GetWidth());
    EXPECT_EQ(100, picture->GetHeight());
    EXPECT_EQ(120u * 100u * 4u, picture->PixelBytes());
}

// Frames of one colour each, kept as recorded (no clock needed to test the writer).
void RecordColours(CGifRecording& recording, int count) {
    ScriptedFrameSource source([](int attempt, CGifFrameImage& frame, const GifCaptureOptions&) {
        FillSolid(frame, 24, 18, RGB(40 * attempt, 255 - 40 * attempt, 100));
    });
    recording.SetFrameWindow(source.Hwnd());
    RecordFor(recording, Settings(10), static_cast<uint32_t>(count * 100));
}

TEST(GifRecordingSave, AFailedSaveKeepsTheFramesLeavesNoFileAndCanBeTriedAgain) {
    CGifRecording recording;
    RecordColours(recording, 3);
    ASSERT_EQ(3u, recording.GetFrames().size());
    TempFolder folder;
    const std::wstring missing = folder.File(L"no such folder\\TX_1.png");
    {
        MessageBoxRecorder boxes(IDCANCEL);
        EXPECT_EQ(CGifRecording::SaveResult::Failed, recording.Save(nullptr, [&] { return missing; }, 2));
        ASSERT_EQ(1u, boxes.Messages().size());
        EXPECT_EQ(L"Error", boxes.Messages()[0].caption);
        EXPECT_EQ(CGifRecording::kSaveFailedText, boxes.Messages()[0].text);
    }
    EXPECT_EQ(3u, recording.GetFrames().size());
    EXPECT_TRUE(ListFiles(folder.Path()).empty());
    // Kept frames are dropped only by Clear (or written by Save): a new recording waits.
    EXPECT_TRUE(recording.HasUnsavedFrames());
    EXPECT_FALSE(recording.Start(Settings(10)));
    EXPECT_EQ(3u, recording.GetFrames().size());

    // "Retry" after the folder was put right: the same frames are written.
    int asked = 0;
    MessageBoxRecorder retry(IDRETRY);
    std::wstring saved;
    EXPECT_EQ(CGifRecording::SaveResult::Saved,
              recording.Save(nullptr, [&] { return asked++ == 0 ? missing : folder.File(L"TX_2.png"); }, 2, &saved));
    EXPECT_EQ(1u, retry.Messages().size());
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGifFile(saved, gif, error)) << error;
    EXPECT_EQ(3u, gif.frames.size());
    EXPECT_EQ(std::vector<std::wstring>{L"TX_2.gif"}, ListFiles(folder.Path()));
    EXPECT_FALSE(recording.HasUnsavedFrames());
}

TEST(GifRecordingSave, NamesOutsideTheAnsiCodePageAndExistingGifsAreHandled) {
    TempFolder folder;
    // Thai, Vietnamese and Georgian letters: outside the Korean (and most other) ANSI code pages.
    const std::wstring inner = folder.File(L"\u0E01\u1EC7\u10D0 녹화");
    ASSERT_TRUE(::CreateDirectoryW(inner.c_str(), nullptr));
    const std::wstring still = inner + L"\\\u0E01TX_[1].png";
    // A ".gif" of the generated name is there already and must stay as it is.
    FILE* existing = _wfopen((inner + L"\\\u0E01TX_[1].gif").c_str(), L"wb");
    ASSERT_NE(nullptr, existing);
    std::fputs("keep", existing);
    std::fclose(existing);

    CGifRecording recording;
    RecordColours(recording, 2);
    std::wstring saved;
    MessageBoxRecorder boxes;
    ASSERT_EQ(CGifRecording::SaveResult::Saved, recording.Save(nullptr, [&] { return still; }, 0, &saved));
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_EQ(inner + L"\\\u0E01TX_[1]_1.gif", saved);
    std::vector<uint8_t> kept;
    ASSERT_TRUE(ReadFileBytes(inner + L"\\\u0E01TX_[1].gif", kept));
    EXPECT_EQ(4u, kept.size());
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGifFile(saved, gif, error)) << error;
    EXPECT_EQ(2u, gif.frames.size());
}

// Presses the progress window's Cancel.
BOOL CALLBACK PressCancel(HWND window, LPARAM pressed) {
    HWND cancel = ::GetDlgItem(window, CProgressWnd::kCancelId);
    if (cancel && ::IsWindowVisible(window)) {
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(CProgressWnd::kCancelId, BN_CLICKED),
                       reinterpret_cast<LPARAM>(cancel));
        *reinterpret_cast<int*>(pressed) += 1;
    }
    return TRUE;
}

// A message posted before the save reaches this window inside the save's first message pump,
// when the progress window is there: it presses Cancel then.
LRESULT CALLBACK CancellerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP + 50) {
        ::EnumThreadWindows(::GetCurrentThreadId(), PressCancel, static_cast<LPARAM>(lParam));
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(GifRecordingSave, CancellingTheProgressKeepsTheFramesAndLeavesNoFile) {
    CGifRecording recording;
    RecordColours(recording, 4);
    ASSERT_EQ(4u, recording.GetFrames().size());
    WNDCLASSW wc{};
    wc.lpfnWndProc = CancellerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TovrixRecorderTestCanceller";
    ::RegisterClassW(&wc);
    HWND canceller = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       wc.hInstance, nullptr);
    int pressed = 0;
    ::PostMessageW(canceller, WM_APP + 50, 0, reinterpret_cast<LPARAM>(&pressed));
    TempFolder folder;
    MessageBoxRecorder boxes;
    EXPECT_EQ(CGifRecording::SaveResult::Cancelled,
              recording.Save(nullptr, [&] { return folder.File(L"TX_c.png"); }, 2));
    ::DestroyWindow(canceller);
    EXPECT_EQ(1, pressed);
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_EQ(4u, recording.GetFrames().size());
    EXPECT_TRUE(ListFiles(folder.Path()).empty());
}

TEST(GifRecordingSave, AnEmptyListWritesTheSevenByteFile) {
    TempFolder folder;
    CGifRecording recording;
    std::wstring saved;
    ASSERT_EQ(CGifRecording::SaveResult::Saved, recording.Save(nullptr, [&] { return folder.File(L"e.bmp"); }, 2, &saved));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(saved, bytes));
    EXPECT_EQ((std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 0x3B}), bytes);
}

TEST(GifRecordingSave, GifPathForReplacesOnlyTheFileNamesExtension) {
    EXPECT_EQ(L"C:\\a.b\\TX_5.gif", CGifRecording::GifPathFor(L"C:\\a.b\\TX_5.jpg"));
    EXPECT_EQ(L"C:\\a.b\\TX_5.gif", CGifRecording::GifPathFor(L"C:\\a.b\\TX_5"));
    EXPECT_EQ(L"", CGifRecording::GifPathFor(L""));
}

}  // namespace
