// A gallery for the eye: every control in every state written as a PNG file into "gallery"
// beside the test program (build/<arch>/tests/controls/gallery). The test checks that each
// picture was written and reads back at the size shown.
#include <windows.h>
#include <gtest/gtest.h>
#include <objidl.h>
#include <gdiplus.h>
#include <string>
#include <vector>
#include "CNinePatch.h"
#include "CProgressWnd.h"
#include "CAppProfile.h"
#include "ControlsTestSupport.h"
#include "ModulePath.h"
#include "TestSupport.h"
#include "resource.h"

namespace {
using namespace controls_test;

class Gallery : public testing::Test {
protected:
    void SetUp() override {
        m_folder = GetModuleFolder() + L"\\gallery";
        ::CreateDirectoryW(m_folder.c_str(), nullptr);
    }
    // Writes what the screen shows around a window (a small margin included).
    void Shoot(HWND hwnd, const std::wstring& name, int margin = 3) {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
        PumpBriefly();
        RECT rc{};
        ::GetWindowRect(hwnd, &rc);
        ::InflateRect(&rc, margin, margin);
        Expect(name, SaveScreenPicture(rc, File(name)), rc.right - rc.left, rc.bottom - rc.top);
    }
    void Expect(const std::wstring& name, bool saved, int width, int height) {
        EXPECT_TRUE(saved) << "could not write the picture";
        Gdiplus::Bitmap back(File(name).c_str(), FALSE);
        EXPECT_EQ(static_cast<int>(back.GetWidth()), width);
        EXPECT_EQ(static_cast<int>(back.GetHeight()), height);
        ++m_written;
    }
    std::wstring File(const std::wstring& name) const { return m_folder + L"\\" + name + L".png"; }

    std::wstring m_folder;
    int m_written = 0;
};

TEST_F(Gallery, NinePatchFrames) {
    struct Frame { UINT id; const wchar_t* name; int width, height; };
    for (Frame f : {Frame{IDB_FIXED_FRAME, L"ninepatch_fixed_inner", 50, 70},
                    Frame{IDB_FIXED_FRAME, L"ninepatch_fixed_53x73", 53, 73},
                    Frame{IDB_FIXED_FRAME, L"ninepatch_fixed_320x200", 320, 200},
                    Frame{IDB_RECORD_FRAME, L"ninepatch_record_inner", 65, 65},
                    Frame{IDB_RECORD_FRAME, L"ninepatch_record_320x200", 320, 200}}) {
        CNinePatch skin;
        ASSERT_TRUE(skin.LoadPng(f.id));
        Surface surface(f.width + 8, f.height + 8, RGB(96, 160, 96));
        ASSERT_TRUE(skin.Draw(surface.dc(), 4, 4, f.width, f.height));
        Expect(f.name, SaveSurfacePicture(surface, File(f.name)), f.width + 8, f.height + 8);
    }
    EXPECT_EQ(m_written, 5);
}

TEST_F(Gallery, ProgressWindow) {
    testing_support::TempFolder folder;
    CAppProfile::SetPath(folder.File(L"gallery.ini"));
    CProgressWnd progress(nullptr, L"Progress", TRUE);
    progress.SetRange(0, 7, 1);
    progress.SetText(L"Save......");
    for (int i = 0; i < 3; ++i) progress.StepIt();
    Shoot(progress, L"progress_3_of_7", 0);
    EXPECT_EQ(m_written, 1);
}

}  // namespace
