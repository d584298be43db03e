#include "CTovrixApp.h"
#include <cstdio>
#include "CMonitors.h"
#include "CScreenImage.h"
#include "ModulePath.h"

namespace {
// Standard error is how a command-line run reports to whoever started it.
void PrintError(const std::string& utf8) {
    std::fputs(utf8.c_str(), stderr);
    std::fflush(stderr);
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                          bytes, nullptr, nullptr);
    return out;
}

RECT ToRect(const OptionRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}
}  // namespace

CTovrixApp::CTovrixApp() : CWinApp(L"Tovrix") {}

BOOL CTovrixApp::InitInstance() {
    RECT all = CMonitors().GetUnionRect();
    std::string errors;
    CommandLineOptions options =
        ParseCommandLine(m_lpCmdLine, OptionRect{all.left, all.top, all.right, all.bottom}, errors);
    if (!errors.empty()) PrintError(errors);

    m_gdiplus.Startup();

    if (options.openEditor) {
        // The annotation editor is not part of the program yet: end as a capture would,
        // without writing anything.
        SetExitCode(0);
        return FALSE;
    }
    if (options.captureToFile) {
        SetExitCode(RunCommandLineCapture(options));
        return FALSE;
    }
    // The interactive program starts with the settings; the tray program is not part of it yet,
    // so it ends when the dialog closes.
    m_settingsDlg.DoModal();
    return FALSE;
}

int CTovrixApp::RunCommandLineCapture(const CommandLineOptions& options) {
    if (options.outputPathTooLong) {
        PrintError("Tovrix: the -f path is longer than " + std::to_string(kMaxOutputPathLength) +
                   " characters; nothing was written\n");
        return kExitBadArguments;
    }
    std::wstring path = options.outputPath;
    if (path.empty()) path = GetModuleFolder() + L"\\temp.jpg";

    CScreenImage picture;
    picture.CaptureRect(ToRect(options.rectangle));
    if (FAILED(picture.SaveJpeg(path, 80))) {
        PrintError("Tovrix: cannot write " + ToUtf8(path) + "\n");
        return kExitCannotWrite;
    }
    return 0;
}

int CTovrixApp::ExitInstance() {
    m_gdiplus.Shutdown();
    return CWinApp::ExitInstance();
}
