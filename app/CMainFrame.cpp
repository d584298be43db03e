#include "CMainFrame.h"
#include <mmsystem.h>
#include <shellapi.h>
#include <utility>
#include "CAboutDlg.h"
#include "CAnigifCapture.h"
#include "CCutControl.h"
#include "CCutRegion.h"
#include "CDialog.h"
#include "CDonateDlg.h"
#include "CInteraction.h"
#include "CPresentDlg.h"
#include "CTovrixDlg.h"
#include "CWebBrowserDlg.h"
#include "CaptureSteps.h"
#include "MessageBox.h"
#include "SavePicture.h"
#include "PrintScreenShortcut.h"
#include "RawInput.h"
#include "UserGuide.h"
#include "WindowMessages.h"
#include "resource.h"

namespace {
// Balloon texts by the hotKey setting; they name the key the program started with.
const wchar_t* BalloonText(int hotKey) {
    switch (hotKey) {
    case 1: return L"F11 버튼으로 캡쳐";
    case 2: return L"F12 버튼으로 캡쳐";
    default: return L"PrintScreen 버튼으로 캡쳐";
    }
}

bool IsTrayCommand(UINT id) {
    static const UINT commands[] = {ID_TRAY_ABOUT,       ID_TRAY_SETTINGS, ID_TRAY_WEB_CAPTURE, ID_TRAY_GIF_RECORDER,
                                    ID_TRAY_OPEN_FOLDER, ID_TRAY_HELP,     ID_TRAY_DONATE,      ID_TRAY_EXIT};
    for (UINT command : commands)
        if (command == id) return true;
    return false;
}

// Sets a flag for the life of a scope, whatever way the scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};
}  // namespace

CMainFrame::CMainFrame(const CaptureSettings& settings, std::function<std::wstring()> buildOutputPath,
                       CDialog* settingsDialog)
    : m_settings(settings),
      m_buildOutputPath(std::move(buildOutputPath)),
      m_settingsDialog(settingsDialog) {}

CMainFrame::CMainFrame(CTovrixDlg& settings)
    : CMainFrame(settings.GetLiveSettings(), [&settings] { return settings.BuildOutputPath(); },
                 &settings) {}

CMainFrame::~CMainFrame() {
    for (Watch* watch = m_watches; watch; watch = watch->m_outer) watch->m_gone = true;
}

CMainFrame::Watch::Watch(CMainFrame& frame) : m_frame(frame), m_outer(frame.m_watches) {
    frame.m_watches = this;
}

CMainFrame::Watch::~Watch() {
    if (!m_gone) m_frame.m_watches = m_outer;
}

BOOL CMainFrame::CreateHidden() {
    if (!Create(L"Tovrix", WS_OVERLAPPEDWINDOW)) return FALSE;
    ShowWindow(SW_HIDE);
    UpdateWindow();
    return TRUE;
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_QUERYENDSESSION:
        return MayEnd() ? TRUE : FALSE;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_INPUT:
        OnRawInput(GET_RAWINPUT_CODE_WPARAM(wParam), reinterpret_cast<HRAWINPUT>(lParam));
        return 0;
    case WM_SAVE_CAPTURE:
        if (CInteraction::IsRunning()) return HRESULT_FROM_WIN32(ERROR_BUSY);
        return OnSaveCapture(wParam, lParam);
    case WM_TRAY_NOTIFY:
        return OnTrayNotify(wParam, lParam);
    }
    return CFrameWnd::WindowProc(msg, wParam, lParam);
}

int CMainFrame::OnCreate(CREATESTRUCTW*) {
    if (Default() == -1) return -1;

    m_icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    SetIcon(m_icon, FALSE);
    SetIcon(m_icon, TRUE);

    // Windows' own Print Screen shortcut would lay its overlay over the captures: say so once.
    const bool printScreenKey = m_settings.hotKey != 1 && m_settings.hotKey != 2;
    const std::wstring balloon = StartBalloonText(
        BalloonText(m_settings.hotKey), printScreenKey && IsWindowsPrintScreenShortcutOn(CurrentSystemVersion()));
    if (!m_trayIcon.Create(this, IDR_TRAYMENU, L"Tovrix", m_icon, balloon.c_str(), L"Tovrix 화면 캡쳐",
                           WM_TRAY_NOTIFY)) {
        AfxMessageBox(L"Failed to create tray icon", MB_ICONHAND);
        return -1;
    }

    // The sink delivers the key while other programs have the focus, and the key still reaches
    // them: the capture key is listened to, not taken.
    m_rawInputRegistered = RegisterRawKeyboard(m_hWnd) != FALSE;
    if (!m_rawInputRegistered) {
        // The program still runs: the menu works, only the capture key does not.
        AfxMessageBox(L"RegisterRawInputDevices Error " + std::to_wstring(::GetLastError()), MB_OK);
    }
    return 0;
}

void CMainFrame::OnClose() {
    // Asking may run nested loops (a box, a save): touch nothing of the frame afterwards, in case
    // it went meanwhile.
    const HWND window = m_hWnd;
    if (MayEnd() && ::IsWindow(window)) ::DestroyWindow(window);
}

bool CMainFrame::MayEnd() {
    // A recording, or frames not saved, end only when the user has said so.
    return !m_recorder || m_recorder->ConfirmEnd();
}

void CMainFrame::OnDestroy() {
    if (m_rawInputRegistered) {
        UnregisterRawKeyboard();
        m_rawInputRegistered = false;
    }
}

void CMainFrame::OnRawInput(UINT, HRAWINPUT handle) {
    if (!capturing && !CInteraction::IsRunning()) {
        RAWINPUT input;
        if (ReadRawInput(handle, &input) && OnKeyboardEvent(input) == CaptureResult::FrameGone)
            return;  // Exit chosen from a nested loop: the frame and its window are gone
    }
    // The default processing lets the system release the event's data.
    Default();
}

CMainFrame::CaptureResult CMainFrame::OnKeyboardEvent(const RAWINPUT& input) {
    // The key keeps arriving while something waits for the user (a picker, an editor, a box, a
    // dialog over the recorder, a save): a capture then would start under that window.
    if (capturing || CInteraction::IsRunning()) return CaptureResult::Busy;
    if (!IsCaptureKeyRelease(input, m_settings.hotKey)) return CaptureResult::Ignored;
    // Pickers, the editor and message boxes run nested loops, where Exit can destroy the frame:
    // after each of them the watch says whether anything of the frame may still be touched.
    Watch watch(*this);
    capturing = true;
    CInteraction capture;
    CaptureResult result = RunCapture(watch);
    if (watch.FrameGone()) return CaptureResult::FrameGone;
    capturing = false;
    return result;
}

CMainFrame::CaptureResult CMainFrame::RunCapture(const Watch& watch) {
    RECT rect{};
    bool grabbed = false;
    if (m_settings.area == AreaRegionAtCapture || m_settings.area == AreaControlAtCapture) {
        const bool picked = RunAreaPicker(m_settings.area, rect);
        if (watch.FrameGone()) return CaptureResult::FrameGone;
        // Nothing chosen (a click without a drag, Enter before any click) is a choice the user
        // made on the screen, not a setting to correct: no balloon.
        if (!picked || ::IsRectEmpty(&rect)) return CaptureResult::Abandoned;
        grabbed = true;
    } else {
        rect = CaptureRectForArea(m_settings, ::GetForegroundWindow());
    }
    if (::IsRectEmpty(&rect)) {
        TellNothingToCapture();
        return CaptureResult::NothingToCapture;
    }

    if (!grabbed) {
        if (!m_picture.CaptureRect(rect) && m_picture.IsNull()) {
            // Larger than any picture can be, or no memory for it.
            AfxMessageBox(L"Error", MB_OK);
            return watch.FrameGone() ? CaptureResult::FrameGone : CaptureResult::SaveFailed;
        }
        POINT pointer{};
        if (m_settings.checkCursor && ::GetCursorPos(&pointer))
            DrawCursor(m_picture, rect, pointer, GetShownCursor());
    }
    if (m_settings.checkEdit) {
        const bool edited = RunEditor(rect);
        if (watch.FrameGone()) return CaptureResult::FrameGone;
        if (!edited) return CaptureResult::Abandoned;
    }
    // The sound starts before the file is written, and is not waited for.
    if (m_settings.shutter) PlayShutter();
    const LRESULT saved = OnSaveCapture(0, 0);
    if (watch.FrameGone()) return CaptureResult::FrameGone;
    return saved == 0 ? CaptureResult::Saved : CaptureResult::SaveFailed;
}

void CMainFrame::TellNothingToCapture() {
    // Once: a key release that keeps capturing nothing would otherwise bury the desktop in
    // balloons. Accepting the settings again earns a new one.
    if (m_toldNothingToCapture) return;
    m_toldNothingToCapture = m_trayIcon.ShowBalloon(kNothingToCaptureText, L"Tovrix");
}

bool CMainFrame::RunAreaPicker(int area, RECT& rect) {
    if (area == AreaRegionAtCapture) {
        CCutRegion picker;
        return TakePickedArea(picker, rect);
    }
    if (area == AreaControlAtCapture) {
        CCutControl picker;
        return TakePickedArea(picker, rect);
    }
    return false;
}

bool CMainFrame::TakePickedArea(CScreenPickerDlg& picker, RECT& rect) {
    Watch watch(*this);
    const INT_PTR result = picker.DoModal();
    // Exit chosen from the picker's loop: nothing of the frame may be touched any more.
    if (watch.FrameGone() || result != IDOK) return false;
    rect = picker.GetSelectedRect();
    // Nothing chosen is nothing to save; the picture keeps what it held.
    if (::IsRectEmpty(&rect)) return true;
    // The picker's still picture of the key press is the capture: no second grab, no cursor.
    if (!picker.CopySelectedImage(m_picture)) ::SetRectEmpty(&rect);
    return true;
}

bool CMainFrame::RunEditor(const RECT& rect) {
    CPresentDlg editor;
    editor.captureRect = rect;
    editor.picture = &m_picture;
    return editor.DoModal() == IDOK;
}

void CMainFrame::PlayShutter() const {
    ::PlaySoundW(MAKEINTRESOURCEW(IDR_SHUTTER), ::GetModuleHandleW(nullptr),
                 SND_RESOURCE | SND_ASYNC);
}

LRESULT CMainFrame::OnSaveCapture(WPARAM, LPARAM) {
    // A picture that cannot be resized (no memory for the new size) is not saved at the wrong
    // size without a word.
    if (m_settings.resize && !m_picture.Resize(m_settings.width, m_settings.height)) {
        AfxMessageBox(L"Error", MB_OK);
        return E_OUTOFMEMORY;
    }
    std::wstring path = m_buildOutputPath ? m_buildOutputPath() : std::wstring();
    HRESULT result = path.empty() ? E_FAIL
                                  : SavePicture(m_picture, path, m_settings.saveType,
                                                JpegQualityFor(m_settings.jpgQuality));
    if (result != S_OK) AfxMessageBox(L"Error", MB_OK);
    return result;
}

LRESULT CMainFrame::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    return m_trayIcon.HandleNotification(wParam, lParam);
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
    // The menu (or the icon's double click) reaches the frame inside the loop of whatever waits
    // for the user: a command then would run under that window, and Exit would destroy it. The
    // menu shows its commands greyed meanwhile.
    if (IsTrayCommand(LOWORD(wParam)) && CInteraction::IsRunning()) return TRUE;
    switch (LOWORD(wParam)) {
    case ID_TRAY_ABOUT: OnAppAbout(); return TRUE;
    case ID_TRAY_SETTINGS: OnSettings(); return TRUE;
    case ID_TRAY_WEB_CAPTURE: OnWebCapture(); return TRUE;
    case ID_TRAY_GIF_RECORDER: OnGifRecorder(); return TRUE;
    case ID_TRAY_OPEN_FOLDER: OnOpenSaveFolder(); return TRUE;
    case ID_TRAY_HELP: OnHelp(); return TRUE;
    case ID_TRAY_DONATE: OnDonate(); return TRUE;
    case ID_TRAY_EXIT: OnAppExit(); return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
}

void CMainFrame::OnAppAbout() {
    CAboutDlg about(this);
    about.DoModal();
}

void CMainFrame::OnSettings() {
    // The one settings object holds the live values; a second window on it would fight the
    // first over them.
    if (!m_settingsDialog || m_settingsDialog->IsWindow()) return;
    Watch watch(*this);
    const INT_PTR result = m_settingsDialog->DoModal();
    if (!watch.FrameGone() && result == IDOK) m_toldNothingToCapture = false;
}

void CMainFrame::OnWebCapture() {
    if (webCaptureOpen) return;
    FlagScope open(webCaptureOpen);
    RunWebCaptureDialog();
}

void CMainFrame::RunWebCaptureDialog() {
    // The page goes into the frame's picture and is saved here, through WM_SAVE_CAPTURE.
    CWebBrowserDlg web(this);
    web.SetTarget(&m_picture, m_hWnd);
    // No start page chosen: the guide beside the program, which opens without a network.
    web.SetStartAddress(m_settings.webUrl.empty() ? UserGuideAddress() : m_settings.webUrl);
    web.DoModal();
}

void CMainFrame::OnGifRecorder() {
    if (gifRecorderOpen) return;
    FlagScope open(gifRecorderOpen);
    RunGifRecorderDialog();
}

void CMainFrame::RunGifRecorderDialog() {
    CAnigifCapture recorder(this, m_buildOutputPath, m_recorderSettingsFile);
    Watch watch(*this);
    m_recorder = &recorder;
    recorder.DoModal();
    if (!watch.FrameGone()) m_recorder = nullptr;
}

void CMainFrame::OnOpenSaveFolder() {
    // A folder the shell cannot open is not worth a message: the settings dialog shows it.
    ::ShellExecuteW(nullptr, L"open", m_settings.saveFolder.c_str(), nullptr, nullptr, SW_SHOW);
}

void CMainFrame::OnHelp() {
    // The program has no web site: Help is the guide that comes with it.
    OpenUserGuide(m_hWnd);
}

void CMainFrame::OnDonate() {
    CDonateDlg donate(this);
    donate.DoModal();
}

void CMainFrame::OnAppExit() {
    // Posted, as the framework's exit always is: the frame goes away from the message loop,
    // after whatever handler chose Exit has returned. WM_CLOSE asks first when a recording
    // would be lost.
    PostMessage(WM_CLOSE);
}
