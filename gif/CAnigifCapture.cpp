#include "CAnigifCapture.h"
#include <cwchar>
#include "CGifFrameEditDlg.h"
#include "CInteraction.h"
#include "CScreenImage.h"
#include "CWinApp.h"
#include "DeviceContext.h"
#include "DataExchange.h"
#include "Dpi.h"
#include "MessageArgs.h"
#include "MessageBox.h"
#include "WindowMessages.h"
#include "resource.h"

namespace {
const wchar_t* const kQualityNames[GifRecorderSettings::kQualities] = {L"최고", L"고", L"중", L"저", L"최저"};
// The controls that a recording locks.
const int kSettingControls[] = {IDC_GIF_RESIZE, IDC_GIF_WIDTH, IDC_GIF_HEIGHT, IDC_GIF_CURSOR,
                                IDC_GIF_FPS, IDC_GIF_QUALITY, IDC_GIF_OVERLAY};
}  // namespace

CAnigifCapture::CAnigifCapture(CWnd* parent, std::function<std::wstring()> nextStillPath, const std::wstring& iniPath)
    : CDialogEx(IDD_ANIGIF_CAPTURE, parent), m_nextStillPath(std::move(nextStillPath)) {
    if (iniPath.empty()) {
        m_ini.SetPathToModule();
    } else {
        m_ini.SetPath(iniPath);
    }
    m_overlay.GetIni().SetPath(m_ini.GetPath());
    m_settings.Load(m_ini);
}

CAnigifCapture::~CAnigifCapture() {
    // The thread must not outlive the frame window it asks for frames.
    m_recording.Stop();
}

BOOL CAnigifCapture::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_ended = false;
    m_quality.SubclassDlgItem(IDC_GIF_QUALITY, m_hWnd);
    for (const wchar_t* name : kQualityNames) m_quality.AddString(name);
    m_quality.SetCurSel(m_settings.quality);

    m_overlay.LoadOverlaySettings();
    {
        CClientDC dc(m_hWnd);
        m_overlay.BuildCaptionFont(dc);
    }
    ShowOverlayState();

    CWinApp* app = AfxGetApp();
    HWND mainWindow = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    m_snap.Create(mainWindow);
    m_snap.SetOwner(m_hWnd);
    m_snap.ShowWindow(SW_SHOWNOACTIVATE);
    m_recording.SetOwner(m_hWnd);
    m_recording.SetFrameWindow(m_snap.m_hWnd);
    // Drawn on the recording thread, after the comparison; the overlay's values cannot change
    // then, its button being disabled while recording.
    m_recording.SetOverlay([this](HDC dc) { m_overlay.ApplyOverlay(dc); });

    m_record.SubclassDlgItem(IDC_GIF_RECORD, m_hWnd);
    m_record.LoadSkin(IDB_RECORD_BUTTON);
    m_record.SetTextFormat(DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    // The button takes its size from its picture at every scale, not from the template.
    KeepControlLayoutOnDpiChange(m_record.m_hWnd);

    // Below the frame, 10 pixels (at 100 %) in from its left edge and 10 below its bottom.
    RECT frame;
    m_snap.GetWindowRect(&frame);
    const int gap = ScaleToDpi(10, m_record.GetDpi());
    SetWindowPos(nullptr, frame.left + gap, frame.bottom + gap, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    m_area = m_snap.GetCaptureRect();
    ShowAreaCaption();
    ::EnableWindow(GetDlgItem(IDC_GIF_WIDTH), m_settings.resize);
    ::EnableWindow(GetDlgItem(IDC_GIF_HEIGHT), m_settings.resize);
    // Without the hot key the button still works; nothing to tell the user.
    m_hotKey = ::RegisterHotKey(m_hWnd, kHotKeyId, MOD_NOREPEAT, VK_F5) != FALSE;
    return TRUE;
}

void CAnigifCapture::DoDataExchange(CDataExchange* dx) {
    DDX_Check(dx, IDC_GIF_RESIZE, m_settings.resize);
    // A size the user cannot edit (greyed while "Resize" is off) is neither read nor checked:
    // it must never block a recording that does not use it.
    const bool sizeEditable = !dx->m_bSaveAndValidate || ::IsWindowEnabled(GetDlgItem(IDC_GIF_WIDTH));
    if (sizeEditable) {
        DDX_Text(dx, IDC_GIF_WIDTH, m_settings.width);
        DDV_MinMaxInt(dx, m_settings.width, GifRecorderSettings::kMinSide, GifRecorderSettings::kMaxSide);
        DDX_Text(dx, IDC_GIF_HEIGHT, m_settings.height);
        DDV_MinMaxInt(dx, m_settings.height, GifRecorderSettings::kMinSide, GifRecorderSettings::kMaxSide);
    }
    DDX_Text(dx, IDC_GIF_FPS, m_settings.fps);
    DDV_MinMaxInt(dx, m_settings.fps, GifRecorderSettings::kMinFps, GifRecorderSettings::kMaxFps);
    DDX_Check(dx, IDC_GIF_CURSOR, m_settings.cursor);
    DDX_CBIndex(dx, IDC_GIF_QUALITY, m_settings.quality);
    DDX_Check(dx, IDC_GIF_EDIT, m_settings.edit);
    DDX_Check(dx, IDC_GIF_SMALLFILE, m_settings.smallFile);
}

BOOL CAnigifCapture::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id) {
    case IDC_GIF_RECORD:
        if (code == BN_CLICKED) OnRecord();
        return TRUE;
    case IDC_GIF_RESIZE:
        if (code == BN_CLICKED) OnResizeClicked();
        return TRUE;
    case IDC_GIF_OVERLAY:
        if (code == BN_CLICKED) OnOverlayClicked();
        return TRUE;
    case IDC_GIF_QUALITY:
        if (code == CBN_SELCHANGE) m_settings.quality = m_quality.GetCurSel();
        return TRUE;
    default:
        return CDialogEx::OnCommand(wParam, lParam);
    }
}

BOOL CAnigifCapture::PreTranslateMessage(MSG* msg) {
    // Enter would press the default button; the recorder has none worth pressing by accident.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return TRUE;
    return CDialogEx::PreTranslateMessage(msg);
}

LRESULT CAnigifCapture::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_HOTKEY:
        OnRecord();
        break;
    case WM_GIF_AREA_CHANGED:
        OnAreaChanged();
        return 0;
    case WM_GIF_FRAME_ADDED:
        OnFrameAdded(wParam);
        return 0;
    case WM_GIF_RECORDING_STOPPED:
        OnRecordingStopped(wParam);
        return 0;
    case WM_TIMER:
        if (wParam != kStoppedTimer) break;
        KillTimer(kStoppedTimer);
        OnRecordingStopped(static_cast<WPARAM>(m_recording.GetStopReason()));
        return 0;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_DPICHANGED: {
        const LRESULT result = CDialogEx::WindowProc(msg, wParam, lParam);
        OnDpiChanged(DpiChangedArgsFrom(wParam, lParam).dpi);
        return result;
    }
    default:
        break;
    }
    return CDialogEx::WindowProc(msg, wParam, lParam);
}

void CAnigifCapture::OnRecord() {
    RunRecordCommand();
    // The skin shows its stop picture exactly while recording, whether the button or F5 gave
    // the command and whether it was carried out: a click turns the picture over before.
    m_record.SendMessage(BM_SETCHECK, m_recordingNow ? BST_CHECKED : BST_UNCHECKED);
}

void CAnigifCapture::RunRecordCommand() {
    // F5 keeps arriving while something waits for the user: the frames being finished off, a
    // box or dialog of the recorder (the logo dialog changes what every frame gets drawn on),
    // a capture's picker or editor. Starting or stopping under it is refused.
    if (m_ended || m_finishing || CInteraction::IsRunning()) return;
    if (!UpdateData(TRUE)) return;
    m_area = m_snap.GetCaptureRect();
    if (m_recordingNow) {
        StopRecording();
        return;
    }
    // Frames left from the last recording go only when the user says so.
    if (m_recording.HasUnsavedFrames() && !SettleKeptFrames()) return;
    StartRecording();
}

void CAnigifCapture::StartRecording() {
    EnableSettings(FALSE);
    m_snap.ShowRecordingLook();
    GifRecordingSettings settings;
    settings.fps = m_settings.fps;
    settings.capture.resize = m_settings.resize;
    settings.capture.width = m_settings.width;
    settings.capture.height = m_settings.height;
    settings.capture.cursor = m_settings.cursor;
    if (!m_recording.Start(settings)) {
        m_snap.ShowIdleLook();
        EnableSettings(TRUE);
        AfxMessageBox(CGifRecording::kStartFailedText, MB_OK | MB_ICONERROR);
        return;
    }
    SetDlgItemText(IDC_GIF_RECORD, kStopText);
    m_recordingNow = true;
}

void CAnigifCapture::EndRecording() {
    m_snap.ShowWindow(SW_HIDE);
    EnableSettings(TRUE);
    m_recording.Stop();
    SetDlgItemText(IDC_GIF_RECORD, kRecordText);
    m_recordingNow = false;
}

void CAnigifCapture::StopRecording() {
    EndRecording();
    if (m_settings.edit) {
        // The editor saves when the user presses its "저장"; closed otherwise, the frames stay
        // unsaved in the store until the user says what becomes of them.
        m_finishing = true;
        CInteraction editing;
        CGifFrameEditDlg editor(this);
        // Both the save here and the frame editor's follow "작은 파일로 저장".
        m_recording.SetSmallFile(m_settings.smallFile);
        editor.SetStore(&m_recording, m_nextStillPath, m_settings.quality);
        m_lastSaved = editor.DoModal() == IDOK ? editor.SavedPath() : std::wstring();
        m_finishing = false;
    } else {
        SaveFrames();
    }
    ShowIdle();
}

bool CAnigifCapture::SaveFrames() {
    const bool outer = m_finishing;
    m_finishing = true;
    m_recording.SetSmallFile(m_settings.smallFile);
    const bool saved =
        m_recording.Save(this, m_nextStillPath, m_settings.quality, &m_lastSaved) == CGifRecording::SaveResult::Saved;
    if (!saved) m_lastSaved.clear();
    m_finishing = outer;
    return saved;
}

bool CAnigifCapture::SettleKeptFrames() {
    switch (Ask(kKeptFramesText, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: {
        const bool saved = SaveFrames();
        ShowAreaCaption();
        return saved;
    }
    case IDNO:
        m_recording.Clear();
        ShowAreaCaption();
        return true;
    default:
        return false;
    }
}

bool CAnigifCapture::ConfirmEnd() {
    // Ending now would destroy what waits for the user (and, during a save, the frames being
    // written): the program stays.
    if (m_ended) return true;
    if (m_finishing || CInteraction::IsRunning()) return false;
    if (!m_recordingNow) return !m_recording.HasUnsavedFrames() || SettleKeptFrames();
    const int answer = Ask(kEndWhileRecordingText, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer != IDYES && answer != IDNO) return false;
    EndRecording();
    m_record.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    // Straight into the file, "편집후저장" or not: the program is about to end.
    const bool ended = answer == IDNO || SaveFrames();
    if (answer == IDNO) m_recording.Clear();
    // Shown again for the case that the program stays after all (a save that did not happen).
    ShowIdle();
    return ended;
}

void CAnigifCapture::ShowIdle() {
    ShowAreaCaption();
    m_snap.ShowIdleLook();
    m_snap.ShowWindow(SW_SHOWNOACTIVATE);
}

int CAnigifCapture::Ask(const std::wstring& text, UINT type) {
    // Owned by the recorder, so that it takes no clicks while the box waits.
    return ShowMessageBox(m_hWnd, text, L"", type);
}

void CAnigifCapture::OnRecordingStopped(WPARAM reason) {
    if (!m_recordingNow || m_finishing) return;
    // Ended by itself while a box or a capture waits for the user: the stop sequence (a save, the
    // frame editor, a message) would run under that window, so it waits until it is answered.
    if (CInteraction::IsRunning()) {
        SetTimer(kStoppedTimer, 200);
        return;
    }
    StopRecording();
    m_record.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    Ask(reason == CGifRecording::StoppedDiskFull ? CGifRecording::kDiskFullText : CGifRecording::kNoPictureText,
        MB_OK | MB_ICONINFORMATION);
}

void CAnigifCapture::EnableSettings(BOOL enable) {
    for (int id : kSettingControls) ::EnableWindow(GetDlgItem(id), enable);
}

void CAnigifCapture::OnResizeClicked() {
    UpdateData(TRUE);
    const bool resize = ::SendMessageW(GetDlgItem(IDC_GIF_RESIZE), BM_GETCHECK, 0, 0) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(IDC_GIF_WIDTH), resize);
    ::EnableWindow(GetDlgItem(IDC_GIF_HEIGHT), resize);
}

bool CAnigifCapture::OverlayOn() const {
    return m_overlay.IsLogoOn() || m_overlay.IsCaptionOn();
}

void CAnigifCapture::ShowOverlayState() {
    ::SendMessageW(GetDlgItem(IDC_GIF_OVERLAY), BM_SETCHECK, OverlayOn() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CAnigifCapture::OnOverlayClicked() {
    // The check only ever shows whether an overlay is on; a click never changes it by itself.
    ShowOverlayState();
    UpdateData(TRUE);
    // The preview shows the frames as they will be recorded: resized when they will be, so that
    // the overlays are placed against the same size in the preview and in the recording.
    m_area = m_snap.GetCaptureRect();
    CScreenImage preview;
    const BOOL grabbed = m_settings.resize ? preview.CaptureStretched(m_settings.width, m_settings.height, m_area)
                                           : preview.CaptureRect(m_area);
    m_overlay.SetPreviewBitmap(grabbed ? static_cast<HBITMAP>(preview) : nullptr);
    {
        CInteraction editing;
        m_overlay.DoModal(this);
    }
    ShowOverlayState();
}

void CAnigifCapture::ShowAreaCaption() {
    std::wstring caption = CGifSnapDlg::AreaCaption(m_area);
    // Frames that were not saved stay until the user says what becomes of them: in sight.
    if (m_recording.HasUnsavedFrames())
        caption += L" 저장 안 된 프레임(" + std::to_wstring(m_recording.GetFrames().size()) + L")";
    SetWindowText(caption);
}

void CAnigifCapture::OnAreaChanged() {
    if (!m_snap.IsWindow()) return;
    m_area = m_snap.GetCaptureRect();
    ShowAreaCaption();
}

void CAnigifCapture::OnFrameAdded(WPARAM count) {
    // During the save the count is over; a late message must not spoil the caption.
    if (!m_recordingNow) return;
    wchar_t text[96];
    std::swprintf(text, 96, L"%dX%d Frames(%d)", static_cast<int>(m_area.right - m_area.left),
                  static_cast<int>(m_area.bottom - m_area.top), static_cast<int>(count));
    SetWindowText(text);
}

void CAnigifCapture::OnClose() {
    if (m_ended || m_finishing) return;
    if (m_recordingNow) {
        Ask(kRecordingText, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!UpdateData(TRUE)) return;
    if (m_recording.HasUnsavedFrames() && !SettleKeptFrames()) return;
    m_settings.Save(m_ini);
    // The window goes when this dialog's loop ends, which waits for any loop running inside it
    // (a dialog the tray opened over the recorder): until then nothing of it may be used.
    m_ended = true;
    if (m_hotKey) ::UnregisterHotKey(m_hWnd, kHotKeyId);
    m_hotKey = false;
    m_snap.ShowWindow(SW_HIDE);
    ShowWindow(SW_HIDE);
    EndDialog(IDOK);
}

void CAnigifCapture::OnDestroy() {
    if (m_hotKey) ::UnregisterHotKey(m_hWnd, kHotKeyId);
    m_hotKey = false;
    // Destroyed without being asked (its owner destroyed outright): what is left goes with it.
    // Every way of ending that can ask has asked before (ConfirmEnd, OnClose).
    KillTimer(kStoppedTimer);
    m_recording.Stop();
    m_recordingNow = false;
    m_recording.SetFrameWindow(nullptr);
    if (m_snap.IsWindow()) m_snap.DestroyWindow();
}

void CAnigifCapture::OnDpiChanged(UINT dpi) {
    const UINT old = m_record.GetDpi();
    if (dpi == 0 || dpi == old || !m_record.IsWindow()) return;
    // Its corner moves as the dialog's layout scales; its size is its picture's at the new scale.
    RECT place{};
    m_record.GetWindowRect(&place);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    m_record.SetDpi(dpi);
    m_record.SetWindowPos(nullptr, ::MulDiv(place.left, static_cast<int>(dpi), static_cast<int>(old)),
                          ::MulDiv(place.top, static_cast<int>(dpi), static_cast<int>(old)), 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_record.Invalidate();
}
