// Entry point of the Wine test programs: GDI+ and COM are up for every test, as in the program.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include "GdiplusSession.h"

int main(int argc, char** argv) {
    ::SetProcessDPIAware();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::CoInitialize(nullptr);
    GdiplusSession gdiplus;
    gdiplus.Startup();
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    gdiplus.Shutdown();
    ::CoUninitialize();
    return result;
}
