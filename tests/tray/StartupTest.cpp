// Start-up when the imaging library cannot start: the interactive program says so and ends
// cleanly instead of failing every save later; a command-line JPEG does not need the library.
#include <gtest/gtest.h>
#include "CTovrixApp.h"
#include "TestSupport.h"

namespace {

class AppWithoutImaging : public CTovrixApp {
protected:
    bool StartImaging() override { return false; }
};

TEST(Startup, ImagingThatDoesNotStartIsReportedAndEndsTheProgram) {
    testing_support::MessageBoxRecorder boxes;
    AppWithoutImaging app;
    app.m_lpCmdLine = L"";
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.GetExitCode(), CTovrixApp::kExitNoImaging);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{CTovrixApp::kImagingFailedText});
    EXPECT_EQ(app.m_pMainWnd, nullptr);

    testing_support::TempFolder folder;
    AppWithoutImaging commandLine;
    commandLine.m_lpCmdLine = L"-c -x 10 -y 10 -w 32 -h 24 -f " + folder.File(L"shot.jpg");
    EXPECT_FALSE(commandLine.InitInstance());
    EXPECT_EQ(commandLine.GetExitCode(), 0);
    EXPECT_TRUE(testing_support::FileExists(folder.File(L"shot.jpg")));
    EXPECT_EQ(boxes.Texts().size(), 1u);
}

}  // namespace
