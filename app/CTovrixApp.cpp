#include "CTovrixApp.h"
#include <cstdio>
#include <commctrl.h>
#include <ole2.h>
#include "CGifSpillFile.h"
#include "CMainFrame.h"
#include "CMonitors.h"
#include "CPresentDlg.h"
#include "MessageBox.h"
#include "CScreenImage.h"
#include "SavePicture.h"
#include "ModulePath.h"
#include "Utf8.h"

namespace {
// Standard error is how a command-line run reports to whoever started it.
void PrintError(const std::string& utf8) {
    std::fputs(utf8.c_str(), stderr);
    std::fflush(stderr);
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
    // A recording's temporary file outlives its process only when that ended without closing it.
    (void)CGifSpillFile::RemoveLeftovers(CGifSpillFile::TemporaryFolder());
    if (options.rejected) {
        // Whatever was meant, it was not what the program would do: do nothing.
        SetExitCode(kExitBadArguments);
        return FALSE;
    }

    // A command-line JPEG needs no imaging library, so only the interactive program depends on
    // it starting; the others say so and end cleanly rather than failing every save later.
    const bool imaging = StartImaging();

    if (options.openEditor) {
        SetExitCode(RunCommandLineEditor(options));
        return FALSE;
    }
    if (options.captureToFile) {
        SetExitCode(RunCommandLineCapture(options));
        return FALSE;
    }
    if (!imaging) {
        AfxMessageBox(kImagingFailedText, MB_OK | MB_ICONHAND);
        SetExitCode(kExitNoImaging);
        return FALSE;
    }
    return StartInteractive();
}

bool CTovrixApp::StartImaging() {
    return m_gdiplus.Startup();
}

BOOL CTovrixApp::StartInteractive() {
    // One interactive instance: a second would answer the same key with a second picture. A
    // command-line capture above never gets here and may run beside it.
    m_instanceMutex.reset(::CreateMutexW(nullptr, TRUE, L"Tovrix"));
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
    m_richEdit.reset(::LoadLibraryW(L"RICHED32.DLL"));
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
    ::ReleaseMutex(m_instanceMutex.get());
    m_instanceMutex.reset();
}

int CTovrixApp::RunCommandLineCapture(const CommandLineOptions& options) {
    if (options.outputPathTooLong) {
        PrintError("Tovrix: the -f path is longer than " + std::to_string(kMaxOutputPathLength) +
                   " characters; nothing was written\n");
        return kExitBadArguments;
    }
    const RECT rect = ToRect(options.rectangle);
    const long long width = static_cast<long long>(rect.right) - rect.left;
    const long long height = static_cast<long long>(rect.bottom) - rect.top;
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height <= 0) {
        PrintError("Tovrix: the rectangle is empty (" + size + " pixels); nothing was captured\n");
        return kExitBadArguments;
    }
    if (width > CScreenImage::kMaxSide || height > CScreenImage::kMaxSide ||
        !CScreenImage::IsPossibleSize(static_cast<int>(width), static_cast<int>(height))) {
        PrintError("Tovrix: a picture of " + size + " pixels is larger than the system allows (at most " +
                   std::to_string(CScreenImage::kMaxSide) + " pixels a side and " +
                   std::to_string(CScreenImage::kMaxPixels) + " in all); nothing was captured\n");
        return kExitBadArguments;
    }
    std::wstring path = options.outputPath;
    if (path.empty()) path = GetModuleFolder() + L"\\temp.jpg";

    CScreenImage picture;
    if (!picture.CaptureRect(rect) && picture.IsNull()) {
        PrintError("Tovrix: cannot grab " + size + " pixels of the screen (not enough memory?); nothing was written\n");
        return kExitCannotWrite;
    }
    // An existing file is replaced only by a complete picture: a failed write keeps it.
    HRESULT result = SavePicture(picture, path, Jpg, kCommandLineQuality, ExistingTarget::Replace);
    if (FAILED(result)) {
        std::string why = result == E_OUTOFMEMORY ? " (not enough memory)" : "";
        PrintError("Tovrix: cannot write " + ToUtf8(path) + why + "\n");
        return kExitCannotWrite;
    }
    return 0;
}

int CTovrixApp::RunCommandLineEditor(const CommandLineOptions& options) {
    const RECT rect = ToRect(options.rectangle);
    CScreenImage picture;
    picture.CaptureRect(rect);
    CPresentDlg editor;
    editor.captureRect = rect;
    editor.picture = &picture;
    // An annotation surface over the screen: no resizing frame, and no button on the taskbar.
    editor.styleToRemove = WS_THICKFRAME;
    editor.styleToAdd = 0x80;
    editor.showPenToolbar = options.showPenToolbar;
    editor.penSizeIndex = options.penSizeIndex;
    editor.toolIndex = options.toolIndex;
    editor.colorIndex = options.colorIndex;
    // The result leaves through the clipboard; the process ends the same way either way.
    editor.DoModal();
    return 0;
}

int CTovrixApp::ExitInstance() {
    ReleaseInstanceMutex();
    if (m_oleStarted) ::OleUninitialize();
    m_oleStarted = false;
    m_richEdit.reset();
    m_gdiplus.Shutdown();
    return CWinApp::ExitInstance();
}
