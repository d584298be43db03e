#include "CTovrixApp.h"
#include <cstdio>
#include <commctrl.h>
#include <ole2.h>
#include "CMainFrame.h"
#include "CMonitors.h"
#include "MessageBox.h"
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
    return StartInteractive();
}

BOOL CTovrixApp::StartInteractive() {
    // One interactive instance: a second would answer the same key with a second picture. A
    // command-line capture above never gets here and may run beside it.
    m_instanceMutex = ::CreateMutexW(nullptr, TRUE, L"Tovrix");
    if (!m_instanceMutex) return FALSE;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ReleaseInstanceMutex();
        AfxMessageBox(L"이미 실행중입니다.", MB_OK);
        return FALSE;
    }

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    m_richEdit = ::LoadLibraryW(L"RICHED32.DLL");
    // The web page capture hosts an ActiveX control, which needs OLE on this thread.
    m_oleStarted = SUCCEEDED(::OleInitialize(nullptr));

    // Cancelling the first settings dialog ends the program: there is no main window, so the
    // message loop ends at once.
    if (m_settingsDlg.DoModal() != IDOK) return TRUE;

    auto* frame = new CMainFrame(m_settingsDlg);
    if (!frame->CreateHidden()) return FALSE;  // the frame has deleted itself
    m_pMainWnd = frame;
    return TRUE;
}

void CTovrixApp::ReleaseInstanceMutex() {
    if (!m_instanceMutex) return;
    ::ReleaseMutex(m_instanceMutex);
    ::CloseHandle(m_instanceMutex);
    m_instanceMutex = nullptr;
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
    ReleaseInstanceMutex();
    if (m_oleStarted) ::OleUninitialize();
    m_oleStarted = false;
    if (m_richEdit) ::FreeLibrary(m_richEdit);
    m_richEdit = nullptr;
    m_gdiplus.Shutdown();
    return CWinApp::ExitInstance();
}
