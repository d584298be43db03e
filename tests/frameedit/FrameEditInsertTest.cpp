// The frame editor's commands that ask through a dialog of their own, answered as the user
// would: inserting pictures (their order, the four placements, files that give no picture, an
// empty list), another delay, cropping, and drawing on the selected frames; and a GIF of frames
// of different sizes that shows every frame whole.
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <string>
#include "CAnigifCapture.h"
#include "FrameEditTestSupport.h"
#include "RecorderTestSupport.h"
#include "resource.h"

using namespace frameedit_testing;
using testing_support::MessageBoxRecorder;
using testing_support::PumpMessages;
using testing_support::TempFolder;
using testing_support::WaitUntil;

namespace {

const COLORREF kRed = RGB(220, 0, 0), kGreen = RGB(0, 200, 0), kBlue = RGB(0, 0, 230);
const COLORREF kYellow = RGB(240, 220, 0), kCyan = RGB(0, 210, 220), kMagenta = RGB(200, 0, 200);
const COLORREF kGrey = RGB(90, 90, 90), kOrange = RGB(250, 140, 0);

class Inserting : public FrameEditor {
protected:
    // Runs "이미지 삽입" choosing `names` of the pictures folder and the placement `mode`.
    void Insert(const std::vector<std::wstring>& names, int mode) {
        std::vector<DialogAnswers::Answer> answers = ChooseFiles(pictures.Path(), names);
        answers.push_back(ChooseInsertMode(mode));
        DialogAnswers given(answers);
        Command(ID_FRAMEEDIT_INSERT);
        EXPECT_EQ(given.Given(), answers.size());
    }
    TempFolder pictures;
};

TEST_F(Inserting, PicturesGoInFrontOfTheCurrentFrameInReverseOrderWithHalfASecondEach) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 100}, {40, 30, kBlue, 100}, {40, 30, kYellow, 100}});
    ASSERT_TRUE(WritePicture(pictures.File(L"a.png"), 40, 30, kCyan));
    ASSERT_TRUE(WritePicture(pictures.File(L"b.png"), 40, 30, kMagenta));
    ASSERT_TRUE(WritePicture(pictures.File(L"c.png"), 40, 30, kOrange));
    Open();
    for (int i = 0; i < 2; ++i) dialog->GetList().SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    const GifStoredFrame* oldSecond = Order()[2];
    Insert({L"a.png", L"b.png", L"c.png"}, InsertTopLeft);
    ASSERT_EQ(store.GetFrames().size(), 7u);
    const std::vector<COLORREF> colours = Colours();
    EXPECT_TRUE(Near(colours[2], kOrange, 0));
    EXPECT_TRUE(Near(colours[3], kMagenta, 0));
    EXPECT_TRUE(Near(colours[4], kCyan, 0));
    EXPECT_EQ(Order()[5], oldSecond);
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{100, 100, 500, 500, 500, 100, 100}));
    EXPECT_EQ(dialog->GetCurrent(), 2);
    EXPECT_EQ(Label(IDC_FRAMEEDIT_DURATION), L"1.90 초");
    EXPECT_EQ(Label(IDC_FRAMEEDIT_SIZE), L"40 X 30");
    EXPECT_TRUE(Near(PreviewPixel(20, 15), kOrange, 0));
    ExpectStripMatchesStore();
}

TEST_F(Inserting, APlacementTakesTheFirstFramesSize) {
    // A 20 x 10 picture into 40 x 30 frames, at each placement but the fitting one.
    ASSERT_TRUE(WritePicture(pictures.File(L"small.png"), 20, 10, kCyan));
    struct Case {
        int mode;
        POINT inside, outside;  // a pixel of the picture and one left undefined (or stretched)
    };
    const Case cases[] = {
        {InsertTopLeft, {5, 5}, {35, 25}},
        {InsertCentre, {20, 15}, {2, 2}},
        {InsertStretch, {30, 20}, {-1, -1}},
    };
    for (const Case& c : cases) {
        store.Clear();
        AddFrames({{40, 30, kRed, 100}});
        Open();
        Insert({L"small.png"}, c.mode);
        ASSERT_EQ(store.GetFrames().size(), 2u) << c.mode;
        const auto picture = recorder_testing::Rebuilt(store, 0);
        const CGifFrameImage& inserted = *picture;
        EXPECT_EQ(inserted.GetWidth(), 40) << c.mode;
        EXPECT_EQ(inserted.GetHeight(), 30) << c.mode;
        EXPECT_TRUE(Near(inserted.PixelAt(c.inside.x, c.inside.y), kCyan, 0)) << c.mode;
        if (c.outside.x >= 0) {
            EXPECT_FALSE(Near(inserted.PixelAt(c.outside.x, c.outside.y), kCyan, 0)) << c.mode;
        }
        TearDown();
    }
}

TEST_F(Inserting, FittingALargerPictureGivesEveryFrameItsSizeWithTheOldFramesCentred) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 100}});
    ASSERT_TRUE(WritePicture(pictures.File(L"large.png"), 60, 50, kBlue));
    Open();
    Insert({L"large.png"}, InsertFitFrames);
    ASSERT_EQ(store.GetFrames().size(), 3u);
    for (const auto& frame : store.GetFrames()) {
        EXPECT_EQ(store.PictureSize(*frame).cx, 60);
        EXPECT_EQ(store.PictureSize(*frame).cy, 50);
    }
    EXPECT_TRUE(Near(FrameColour(0), kBlue, 0));
    // The old 40 x 30 frames now lie at (10, 10) to (50, 40).
    for (size_t i : {1u, 2u}) {
        const COLORREF colour = i == 1 ? kRed : kGreen;
        EXPECT_TRUE(Near(Pixel(i, 10, 10), colour, 0)) << i;
        EXPECT_TRUE(Near(Pixel(i, 49, 39), colour, 0)) << i;
    }
    EXPECT_EQ(Label(IDC_FRAMEEDIT_SIZE), L"60 X 50");
    ExpectStripMatchesStore();
}

TEST_F(Inserting, FittingASmallerPictureCropsNothingAndTheGifShowsEveryFrameWhole) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 200}});
    ASSERT_TRUE(WritePicture(pictures.File(L"small.png"), 20, 10, kBlue));
    Open();
    Insert({L"small.png"}, InsertFitFrames);
    ASSERT_EQ(store.GetFrames().size(), 3u);
    EXPECT_EQ(Size(0).cx, 20);
    EXPECT_EQ(Size(0).cy, 10);
    EXPECT_EQ(Size(1).cx, 40);
    EXPECT_EQ(Label(IDC_FRAMEEDIT_SIZE), L"20 X 10");
    // The smaller frame comes first: the file still has the size of the largest frames, and
    // the larger frames are not cut to the first one's size.
    Click(IDOK);
    PumpMessages(20);
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(recorder_testing::DecodeGifFile(folder.File(L"TX_[20261210-211500].gif"), gif, error)) << error;
    EXPECT_EQ(gif.width, 40);
    EXPECT_EQ(gif.height, 30);
    ASSERT_EQ(gif.frames.size(), 3u);
    EXPECT_EQ(gif.frames[0].delay, 50);
    EXPECT_TRUE(Near(recorder_testing::DecodedPixel(gif, 0, 10, 5), kBlue));
    EXPECT_TRUE(Near(recorder_testing::DecodedPixel(gif, 1, 39, 29), kRed));
    EXPECT_TRUE(Near(recorder_testing::DecodedPixel(gif, 2, 39, 29), kGreen));
}

// The same in the small-file mode: each frame is compared on the canvas, the smaller one with
// black around it, and every frame shows as it should over the one before.
TEST_F(Inserting, FramesOfOtherSizesInASmallFileShowOverTheFramesBefore) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 200}});
    ASSERT_TRUE(WritePicture(pictures.File(L"small.png"), 20, 10, kBlue));
    store.SetSmallFile(true);
    Open();
    Insert({L"small.png"}, InsertFitFrames);
    Click(IDOK);
    PumpMessages(20);
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(recorder_testing::DecodeGifFile(folder.File(L"TX_[20261210-211500].gif"), gif, error)) << error;
    std::vector<std::vector<uint8_t>> shown;
    ASSERT_TRUE(CompositeGif(gif, shown, error)) << error;
    EXPECT_EQ(gif.width, 40);
    EXPECT_EQ(gif.height, 30);
    ASSERT_EQ(shown.size(), 3u);
    const auto at = [&](size_t f, int x, int y) {
        const uint8_t* p = &shown[f][(static_cast<size_t>(y) * 40 + x) * 3];
        return RGB(p[0], p[1], p[2]);
    };
    EXPECT_TRUE(Near(at(0, 10, 5), kBlue));
    EXPECT_EQ(at(0, 39, 29), RGB(0, 0, 0));
    EXPECT_TRUE(Near(at(1, 10, 5), kRed));
    EXPECT_TRUE(Near(at(1, 39, 29), kRed));
    EXPECT_TRUE(Near(at(2, 0, 0), kGreen));
    for (size_t f = 1; f < 3; f++) EXPECT_EQ(gif.frames[f].controlPacked, 0x05) << f;
}

TEST_F(Inserting, FilesThatGiveNoPictureAreLeftOutAndNamedInOneMessage) {
    AddFrames({{40, 30, kRed, 100}});
    ASSERT_TRUE(WritePicture(pictures.File(L"good.png"), 40, 30, kBlue));
    {
        FILE* notes = _wfopen(pictures.File(L"notes.png").c_str(), L"wb");
        ASSERT_NE(notes, nullptr);
        std::fputs("not a picture", notes);
        std::fclose(notes);
    }
    Open();
    MessageBoxRecorder boxes;
    Insert({L"missing.png", L"good.png", L"notes.png"}, InsertTopLeft);
    ASSERT_EQ(store.GetFrames().size(), 2u);
    EXPECT_TRUE(Near(FrameColour(0), kBlue, 0));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    const std::wstring text = boxes.Texts()[0];
    EXPECT_EQ(text.rfind(CGifFrameEditDlg::kUnreadableText, 0), 0u) << text;
    EXPECT_NE(text.find(L"missing.png"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"notes.png"), std::wstring::npos) << text;
    EXPECT_EQ(text.find(L"good.png"), std::wstring::npos) << text;
    ExpectStripMatchesStore();
}

TEST_F(Inserting, AfterEveryFrameWasDeletedPicturesComeAtTheirOwnSizeAndPlaybackWorks) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 100}});
    ASSERT_TRUE(WritePicture(pictures.File(L"a.png"), 30, 20, kCyan));
    ASSERT_TRUE(WritePicture(pictures.File(L"b.png"), 50, 40, kOrange));
    Open();
    Click(IDC_FRAMEEDIT_PLAY);
    Select({0, 1});
    Command(ID_FRAMEEDIT_DELETE);
    ASSERT_TRUE(store.GetFrames().empty());
    Insert({L"a.png", L"b.png"}, InsertCentre);
    ASSERT_EQ(store.GetFrames().size(), 2u);
    EXPECT_EQ(Size(0).cx, 50);
    EXPECT_EQ(Size(0).cy, 40);
    EXPECT_EQ(Size(1).cx, 30);
    EXPECT_TRUE(Near(FrameColour(0), kOrange, 0));
    EXPECT_TRUE(Near(FrameColour(1), kCyan, 0));
    EXPECT_EQ(dialog->GetCurrent(), 0);
    EXPECT_EQ(Label(IDC_FRAMEEDIT_SIZE), L"50 X 40");
    EXPECT_TRUE(Near(PreviewPixel(25, 20), kOrange, 0));
    ExpectStripMatchesStore();
    // Playback starts again on request (the delays are 500 ms: the tick is driven by hand).
    Click(IDC_FRAMEEDIT_PLAY);
    EXPECT_TRUE(dialog->IsPlaying());
    dialog->SendMessage(WM_TIMER, CGifFrameEditDlg::kPlayTimer, 0);
    EXPECT_EQ(dialog->GetCurrent(), 1);
    Click(IDC_FRAMEEDIT_PLAY);
    // And the rest of the commands work on the new frames.
    Command(ID_FRAMEEDIT_DUPLICATE);
    Click(IDC_FRAMEEDIT_REVERSE);
    EXPECT_EQ(store.GetFrames().size(), 3u);
    ExpectStripMatchesStore();
}

TEST_F(Inserting, CancellingTheFileDialogOrThePlacementInsertsNothing) {
    AddFrames({{40, 30, kRed, 100}});
    ASSERT_TRUE(WritePicture(pictures.File(L"a.png"), 40, 30, kCyan));
    Open();
    {
        DialogAnswers given({CancelFiles()});
        Command(ID_FRAMEEDIT_INSERT);
        EXPECT_EQ(given.Given(), 1u);
    }
    {
        std::vector<DialogAnswers::Answer> answers = ChooseFiles(pictures.Path(), {L"a.png"});
        answers.push_back(CancelInsertMode());
        DialogAnswers given(answers);
        Command(ID_FRAMEEDIT_INSERT);
        EXPECT_EQ(given.Given(), 3u);
    }
    EXPECT_EQ(store.GetFrames().size(), 1u);
    ExpectStripMatchesStore();
}

TEST_F(FrameEditor, AnotherDelayGoesToEverySelectedFrame) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 100}, {40, 30, kBlue, 100}});
    Open();
    Select({0, 2});
    {
        DialogAnswers given({EnterDelay(L"0.35")});
        Command(ID_FRAMEEDIT_DELAY_OTHER);
        EXPECT_EQ(given.Given(), 1u);
    }
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{350, 100, 350}));
    EXPECT_EQ(Label(IDC_FRAMEEDIT_DURATION), L"0.80 초");
    ExpectStripMatchesStore();
}

TEST_F(FrameEditor, CroppingCutsEveryFrameToTheRectangle) {
    AddFrames({{150, 120, kRed, 100}, {150, 120, kGreen, 100}});
    Open();
    {
        DialogAnswers given({RunCrop()});
        Click(IDC_FRAMEEDIT_CROP);
        EXPECT_EQ(given.Given(), 1u);
    }
    // The crop dialog's rectangle starts at (10, 10), 100 x 100.
    for (const auto& frame : store.GetFrames()) {
        EXPECT_EQ(store.PictureSize(*frame).cx, 100);
        EXPECT_EQ(store.PictureSize(*frame).cy, 100);
    }
    EXPECT_EQ(Label(IDC_FRAMEEDIT_SIZE), L"100 X 100");
    ExpectStripMatchesStore();
}

// Draws a line across the capture editor opened over a frame of width x height (at y = 40),
// then finishes.
DialogAnswers::Answer DrawAcrossAndFinish(int width = 120, int height = 80) {
    return {[width, height](HWND hwnd) {
                RECT r{};
                ::GetWindowRect(hwnd, &r);
                return r.right - r.left == width && r.bottom - r.top == height;
            },
            [](HWND hwnd) {
                ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 40));
                for (int x = 20; x <= 110; x += 10) ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 40));
                ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(110, 40));
                ::PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(ID_EDITOR_FINISH, 0), 0);
            }};
}

TEST_F(FrameEditor, TheCaptureEditorsDrawingGoesOntoEverySelectedFrame) {
    AddFrames({{120, 80, kGrey, 100}, {120, 80, kGrey, 100}, {120, 80, kGrey, 100}});
    Open();
    Select({0, 2});
    {
        // The frame editor waits under the capture editor: its "저장" or a delete there would
        // change the frames the drawing goes onto.
        bool waited = false;
        DialogAnswers::Answer draw = DrawAcrossAndFinish();
        draw.act = [&, act = draw.act](HWND hwnd) {
            waited = !::IsWindowEnabled(dialog->m_hWnd);
            act(hwnd);
        };
        DialogAnswers given({draw});
        Command(ID_FRAMEEDIT_EDIT);
        EXPECT_EQ(given.Given(), 1u);
        EXPECT_TRUE(waited);
    }
    EXPECT_FALSE(Near(Pixel(0, 60, 40), kGrey, 0));
    EXPECT_TRUE(Near(Pixel(1, 60, 40), kGrey, 0));
    EXPECT_FALSE(Near(Pixel(2, 60, 40), kGrey, 0));
    // Away from the line the frames are as they were.
    EXPECT_TRUE(Near(Pixel(0, 60, 10), kGrey, 0));
    EXPECT_EQ(store.GetFrames().size(), 3u);
    ExpectStripMatchesStore();
}

// With "편집후저장" on, stopping a recording opens the editor over its frames instead of saving:
// closed, it leaves the frames unsaved in the store; its "저장" writes the file the recorder
// reports, as "작은 파일로 저장" asks.
TEST(RecorderWithEditing, TheStopOpensTheFrameEditorAndOnlyItsSaveWritesTheFile) {
    TempFolder folder, settings;
    const std::wstring ini = settings.File(L"tovrix.ini");
    ::WritePrivateProfileStringW(L"AniGif", L"ChkEdit", L"1", ini.c_str());
    ::WritePrivateProfileStringW(L"AniGif", L"fps", L"20", ini.c_str());
    ::WritePrivateProfileStringW(L"AniGif", L"SmallFile", L"1", ini.c_str());
    CAnigifCapture recorder(nullptr, [&] { return folder.File(L"TX_[20261210-214000].png"); }, ini);
    ASSERT_TRUE(recorder.Create(IDD_ANIGIF_CAPTURE, nullptr));
    recorder.ShowWindow(SW_SHOW);
    PumpMessages(100);
    auto clickRecord = [&] {
        recorder.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GIF_RECORD, BN_CLICKED),
                             reinterpret_cast<LPARAM>(recorder.GetDlgItem(IDC_GIF_RECORD)));
    };
    struct Round {
        int button;  // what the user presses in the editor
        bool saved;
    };
    bool framesLeft = false;
    for (const Round round : {Round{IDCANCEL, false}, Round{IDOK, true}}) {
        {
            // Frames the editor left are thrown away only when the user says so.
            MessageBoxRecorder asked(IDNO);
            clickRecord();
            EXPECT_EQ(framesLeft ? std::vector<std::wstring>{CAnigifCapture::kKeptFramesText} : std::vector<std::wstring>{},
                      asked.Texts());
        }
        ASSERT_TRUE(recorder.IsRecording());
        ASSERT_TRUE(WaitUntil([&] { return recorder.GetWindowText().find(L"Frames(") != std::wstring::npos; }, 20000));
        int shown = -1;
        DialogAnswers given({{[](HWND hwnd) { return GetWindowTextString(hwnd) == L"프레임 편집"; },
                              [&](HWND hwnd) {
                                  shown = static_cast<int>(
                                      ::SendDlgItemMessageW(hwnd, IDC_FRAMEEDIT_LIST, LVM_GETITEMCOUNT, 0, 0));
                                  ::PostMessageW(hwnd, WM_COMMAND, round.button, 0);
                              }}});
        clickRecord();
        EXPECT_EQ(given.Given(), 1u);
        EXPECT_FALSE(recorder.IsRecording());
        EXPECT_GE(shown, 1);
        if (round.saved) {
            EXPECT_TRUE(recorder.Recording().GetFrames().empty());
            EXPECT_EQ(recorder.LastSavedPath(), folder.File(L"TX_[20261210-214000].gif"));
            EXPECT_TRUE(testing_support::FileExists(recorder.LastSavedPath()));
            // "작은 파일로 저장" reaches the editor's save: even the first frame says so.
            DecodedGif gif;
            std::string error;
            ASSERT_TRUE(recorder_testing::DecodeGifFile(recorder.LastSavedPath(), gif, error)) << error;
            ASSERT_FALSE(gif.frames.empty());
            EXPECT_EQ(0x04, gif.frames[0].controlPacked);
        } else {
            EXPECT_EQ(static_cast<int>(recorder.Recording().GetFrames().size()), shown);
            EXPECT_TRUE(recorder.LastSavedPath().empty());
            EXPECT_TRUE(testing_support::ListFiles(folder.Path()).empty());
        }
        EXPECT_TRUE(recorder.FrameWindow().IsWindowVisible());
        framesLeft = !round.saved;
    }
    recorder.DestroyWindow();
    PumpMessages(50);
}

// A model of the frames kept beside the editor, changed as each command should change the
// pictures: after every command the frames rebuilt from the store are the model's, pixel for
// pixel (pictures whose pixels differ from their neighbours, so that nothing passes by chance).
TEST_F(Inserting, AfterEveryCommandTheFramesRebuiltFromTheStoreAreTheExpectedPictures) {
    struct Picture {
        int width, height;
        std::vector<uint32_t> pixels;  // red, green and blue only
    };
    const int width = 150, height = 120;
    std::vector<Picture> model;
    for (int f = 0; f < 8; ++f) {
        Picture picture{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.pixels[static_cast<size_t>(y) * width + x] = static_cast<uint32_t>(
                    ((x * 5 + f * 31) & 0xFF) | ((y * 3 + f * 11) & 0xFF) << 8 | ((f * 29 + (x ^ y)) & 0xFF) << 16);
        CGifFrameImage frame;
        ASSERT_TRUE(frame.SetPixels(picture.pixels.data(), width, height));
        frame.delay = 100;
        ASSERT_TRUE(store.AppendFrame(frame));
        model.push_back(std::move(picture));
    }
    Open();
    const auto unlike = [&](size_t i, const Picture& expected, int fromRow, int toRow) {
        const auto picture = recorder_testing::Rebuilt(store, i);
        std::vector<uint32_t> pixels;
        if (picture->GetWidth() != expected.width || picture->GetHeight() != expected.height ||
            !picture->ReadPixels(pixels))
            return static_cast<size_t>(-1);
        size_t count = 0;
        for (size_t p = static_cast<size_t>(fromRow) * expected.width; p < static_cast<size_t>(toRow) * expected.width;
             ++p)
            count += ((pixels[p] ^ expected.pixels[p]) & 0x00FFFFFFu) != 0;
        return count;
    };
    const auto expectModel = [&](const std::string& step) {
        ASSERT_EQ(store.GetFrames().size(), model.size()) << step;
        for (size_t i = 0; i < model.size(); ++i)
            EXPECT_EQ(unlike(i, model[i], 0, model[i].height), 0u) << step << ", frame " << i;
        ExpectStripMatchesStore();
    };
    expectModel("opened");

    Click(IDC_FRAMEEDIT_REVERSE);
    std::reverse(model.begin(), model.end());
    expectModel("reversed");

    Select({1, 3});
    Command(ID_FRAMEEDIT_DELETE);
    model.erase(model.begin() + 3);
    model.erase(model.begin() + 1);
    expectModel("deleted");

    const int copied = dialog->GetCurrent();
    Command(ID_FRAMEEDIT_DUPLICATE);
    model.insert(model.begin() + copied + 1, model[copied]);
    expectModel("copied");

    Select({0, 2});
    Command(ID_FRAMEEDIT_DELAY_1S);
    Click(IDC_FRAMEEDIT_SLOWER);
    expectModel("delays");

    Select({1});
    {
        DialogAnswers given({DrawAcrossAndFinish(width, height)});
        Command(ID_FRAMEEDIT_EDIT);
        EXPECT_EQ(given.Given(), 1u);
    }
    // The drawn frame changed along its line only; the others not at all.
    for (size_t i = 0; i < model.size(); ++i) {
        if (i == 1) continue;
        EXPECT_EQ(unlike(i, model[i], 0, height), 0u) << "drawn, frame " << i;
    }
    EXPECT_EQ(unlike(1, model[1], 0, 30), 0u);
    EXPECT_GT(unlike(1, model[1], 30, 50), 0u);
    EXPECT_EQ(unlike(1, model[1], 50, height), 0u);
    {
        const auto drawn = recorder_testing::Rebuilt(store, 1);
        ASSERT_TRUE(drawn->ReadPixels(model[1].pixels));
        for (uint32_t& pixel : model[1].pixels) pixel &= 0x00FFFFFFu;
    }

    {
        DialogAnswers given({RunCrop()});
        Click(IDC_FRAMEEDIT_CROP);
        EXPECT_EQ(given.Given(), 1u);
    }
    // The crop dialog's rectangle: (10, 10), 100 x 100.
    for (Picture& picture : model) {
        Picture cropped{100, 100, std::vector<uint32_t>(100 * 100)};
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                cropped.pixels[static_cast<size_t>(y) * 100 + x] =
                    picture.pixels[static_cast<size_t>(y + 10) * picture.width + x + 10];
        picture = std::move(cropped);
    }
    expectModel("cropped");

    ASSERT_TRUE(WritePicture(pictures.File(L"c.png"), 100, 100, kCyan));
    const int at = dialog->GetCurrent();
    Insert({L"c.png"}, InsertTopLeft);
    const uint32_t cyan = static_cast<uint32_t>(GetRValue(kCyan)) << 16 | GetGValue(kCyan) << 8 | GetBValue(kCyan);
    model.insert(model.begin() + at, Picture{100, 100, std::vector<uint32_t>(100 * 100, cyan)});
    expectModel("inserted");
}

}  // namespace
