#include "CTovrixDlg.h"
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <cwchar>
#include "CMonitorSelectDlg.h"
#include "CUniqueAny.h"
#include "CSnapDlg.h"
#include "DataExchange.h"
#include "Dpi.h"
#include "MessageArgs.h"
#include "MessageBox.h"
#include "WindowMessages.h"
#include "ModulePath.h"
#include "OutputNaming.h"
#include "PrintScreenNote.h"
#include "SettingsFile.h"
#include "UserGuide.h"
#include "resource.h"

namespace {
const wchar_t* const kAreaEntries[] = {L"전체영역", L"선택 모니터", L"선택영역", L"최상위 윈도우",
                                       L"캡쳐시 자르기", L"캡쳐시 컨트롤 선택"};
const wchar_t* const kFormats[] = {L"BMP", L"JPG", L"PNG", L"GIF"};
const wchar_t* const kQualities[] = {L"60", L"70", L"80", L"90", L"100"};

void AddStrings(HWND combo, const wchar_t* const* items, size_t count) {
    for (size_t i = 0; i < count; ++i)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
}

RECT ClientRectOf(HWND dialog, HWND control) {
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) ::SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}
}  // namespace

CTovrixDlg::CTovrixDlg() : CDialogEx(IDD_TOVRIX_DIALOG) {
    m_ini.SetPathToModule();
}

namespace {
std::vector<RECT> MonitorRects() {
    CMonitors monitors;  // afresh: a monitor may have come or gone since the last load
    std::vector<RECT> rects;
    for (int i = 0; i < monitors.GetCount(); ++i) {
        RECT rect{};
        monitors.GetMonitor(i)->GetMonitorRect(rect);
        rects.push_back(rect);
    }
    return rects;
}
}  // namespace

CTovrixDlg::~CTovrixDlg() = default;

int CTovrixDlg::AreaFromEntry(int entry, bool hasMonitorEntry) {
    if (hasMonitorEntry || entry <= 0) return entry;
    return entry + 1;
}

int CTovrixDlg::EntryFromArea(int area, bool hasMonitorEntry) {
    if (hasMonitorEntry || area <= AreaMonitor) return area;
    return area - 1;
}

std::wstring CTovrixDlg::AreaLabel(int area, int monitorIndex, const RECT& r) {
    wchar_t text[64];
    switch (area) {
    case AreaMonitor:
        std::swprintf(text, 64, L"캡쳐영역(%d모니터)", monitorIndex + 1);
        return text;
    case AreaFixedRect:
        std::swprintf(text, 64, L"캡쳐영역(%dX%d)", static_cast<int>(r.right - r.left),
                      static_cast<int>(r.bottom - r.top));
        return text;
    case AreaForegroundWindow: return L"캡쳐영역(최상위)";
    case AreaRegionAtCapture: return L"캡쳐영역(캡쳐시자르기)";
    case AreaControlAtCapture: return L"캡쳐영역(컨트롤선택)";
    default: return L"캡쳐영역(전체영역)";
    }
}

bool CTovrixDlg::LoadSettings() {
    if (!LoadSettingsFile(m_ini, *this, GetModuleFolder())) return false;
    NormaliseArea(*this, MonitorRects());
    return true;
}

void CTovrixDlg::RestoreLiveSettings() {
    static_cast<CaptureSettings&>(*this) = m_live;
}

bool CTovrixDlg::CommitSettings() {
    if (m_hWnd && !UpdateData(TRUE)) return false;
    if (const wchar_t* refusal = ValidateSettings(*this)) {
        AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_liveStored = WriteSettingsFile(m_ini, *this);
    // Unwritable settings (a read-only folder, a directory in the file's place) still go live:
    // refusing them would leave the program without settings, at its first start included.
    if (!m_liveStored) AfxMessageBox(kNotStoredText, MB_OK | MB_ICONEXCLAMATION);
    m_live = *this;
    m_hasLive = true;
    NextSerial = RescanNextSerial(m_live.saveFolder, m_live.prefix);
    return true;
}

std::wstring CTovrixDlg::BuildOutputPath() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return ::BuildOutputPath(m_live, NextSerial, now);
}

BOOL CTovrixDlg::OnInitDialog() {
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    SetIcon(icon, TRUE);
    SetIcon(icon, FALSE);
    m_banner.SubclassDlgItem(IDC_BANNER, m_hWnd);
    m_banner.SetPicture(IDB_BANNER);
    KeepControlLayoutOnDpiChange(m_banner.m_hWnd);
    m_formatRect = ClientRectOf(m_hWnd, GetDlgItem(IDC_FORMAT_COMBO));

    m_monitorCount = ::GetSystemMetrics(SM_CMONITORS);
    m_hasMonitorEntry = m_monitorCount > 1;
    HWND areaCombo = GetDlgItem(IDC_AREA_COMBO);
    for (int area = AreaAllMonitors; area <= AreaControlAtCapture; ++area) {
        if (area == AreaMonitor && !m_hasMonitorEntry) continue;
        ::SendMessageW(areaCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAreaEntries[area]));
    }
    AddStrings(GetDlgItem(IDC_FORMAT_COMBO), kFormats, 4);
    AddStrings(GetDlgItem(IDC_QUALITY_COMBO), kQualities, 5);

    // The file, as the settings are stored; the choices in force when the file could not take
    // them (reopening must not show first-run defaults, and Cancel must keep them).
    if (m_hasLive && !m_liveStored) {
        RestoreLiveSettings();
    } else if (!LoadSettings()) {
        if (m_hasLive) RestoreLiveSettings(); else ApplyFirstRunDefaults(*this, GetModuleFolder());
    }
    EnableResizeBoxes(resize);

    ::SendMessageW(areaCombo, CB_SETCURSEL, static_cast<WPARAM>(EntryFromArea(area, m_hasMonitorEntry)), 0);
    UpdateAreaLabel();
    ::SendDlgItemMessageW(m_hWnd, IDC_FORMAT_COMBO, CB_SETCURSEL, static_cast<WPARAM>(saveType), 0);
    ApplyFormatRule();
    ::SendDlgItemMessageW(m_hWnd, IDC_QUALITY_COMBO, CB_SETCURSEL, static_cast<WPARAM>(jpgQuality), 0);
    WriteControls();
    UpdatePrintScreenNote(m_hWnd);
    return TRUE;
}

void CTovrixDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_SAVE_FOLDER, saveFolder);
    DDX_Radio(dx, IDC_KEY_PRINT, hotKey);
    DDX_Radio(dx, IDC_SHUTTER_OFF, shutter);
    DDX_Text(dx, IDC_PREFIX, prefix);
    DDX_Radio(dx, IDC_NAME_DATETIME, postfix);
    DDX_Check(dx, IDC_RESIZE, resize);
    DDX_Text(dx, IDC_RESIZE_WIDTH, width);
    DDX_Text(dx, IDC_RESIZE_HEIGHT, height);
    DDX_Check(dx, IDC_EDIT_AFTER, checkEdit);
    DDX_Check(dx, IDC_WITH_CURSOR, checkCursor);
}

void CTovrixDlg::WriteControls() {
    m_writingControls = true;
    UpdateData(FALSE);
    m_writingControls = false;
}

void CTovrixDlg::OnOK() {
    if (!CommitSettings()) return;
    CDialogEx::OnOK();
}

void CTovrixDlg::OnCancel() {
    // Whatever was chosen while the dialog was open, on screen or in the controls, is dropped.
    if (m_hasLive) RestoreLiveSettings(); else LoadSettings();
    EndDialog(IDCANCEL);
}

BOOL CTovrixDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    switch (id) {
    case IDC_AREA_COMBO:
        if (code == CBN_SELCHANGE) OnAreaChange();
        return TRUE;
    case IDC_FORMAT_COMBO:
        if (code == CBN_SELCHANGE) OnFormatChange();
        return TRUE;
    case IDC_QUALITY_COMBO:
        if (code == CBN_SELCHANGE) OnQualityChange();
        return TRUE;
    case IDC_BROWSE_FOLDER:
        if (code == BN_CLICKED) OnBrowseFolder();
        return TRUE;
    case IDC_PREFIX:
        if (code == EN_CHANGE) OnPrefixChange();
        return TRUE;
    case IDC_RESIZE:
        if (code == BN_CLICKED) OnResizeClick();
        return TRUE;
    case IDC_BANNER:
        if (code == STN_CLICKED) OnBannerClick();
        return TRUE;
    case IDC_KEY_PRINT:
    case IDC_KEY_F11:
    case IDC_KEY_F12:
        if (code == BN_CLICKED) UpdatePrintScreenNote(m_hWnd);
        break;
    case IDC_PRINTSCREEN_OFF:
        if (code == BN_CLICKED) OnPrintScreenOffClick(m_hWnd);
        return TRUE;
    }
    return CDialogEx::OnCommand(wParam, lParam);
}

LRESULT CTovrixDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MONITOR_SELECTED:
        return OnMonitorSelected(wParam, lParam);
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED: {
        const LRESULT result = CDialogEx::WindowProc(msg, wParam, lParam);
        m_banner.SetDpi(DpiChangedArgsFrom(wParam, lParam).dpi);
        return result;
    }
    }
    return CDialogEx::WindowProc(msg, wParam, lParam);
}

void CTovrixDlg::OnAreaChange() {
    int entry = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_AREA_COMBO, CB_GETCURSEL, 0, 0));
    if (entry < 0) return;
    area = AreaFromEntry(entry, m_hasMonitorEntry);
    switch (area) {
    case AreaMonitor:
        OpenMonitorChooser();
        break;
    case AreaFixedRect:
        OpenFixedRegionFrame();
        break;
    default:
        UpdateAreaLabel();
        break;
    }
}

void CTovrixDlg::OpenFixedRegionFrame() {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    ShowWindow(SW_HIDE);
    CSnapDlg frame;
    if (frame.DoModalWithRect(areaRect) == IDOK) {
        const RECT chosen = frame.GetCaptureRect();
        // A hole wholly off the screen would leave an area that captures nothing at every key
        // release: the rectangle the user had is worth more than an empty one.
        if (::IsRectEmpty(&chosen)) AfxMessageBox(kOffScreenAreaText, MB_OK | MB_ICONEXCLAMATION);
        else areaRect = chosen;
    }
    UpdateAreaLabel();
    ShowWindow(SW_SHOW);
    RedrawWindow();
}

void CTovrixDlg::OpenMonitorChooser() {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    ShowWindow(SW_HIDE);
    ::Sleep(500);  // let the dialog leave the screen before the veil covers it
    m_chooser = std::make_unique<CMonitorSelectDlg>(CMonitorSelectDlg::kModeChooseMonitor, &m_monitors, this);
    if (!m_chooser->CreateAndShow()) {
        m_chooser.reset();
        ShowWindow(SW_SHOW);
    }
}

LRESULT CTovrixDlg::OnMonitorSelected(WPARAM wParam, LPARAM) {
    const auto* chosen = reinterpret_cast<const CMonitor*>(wParam);
    int index = m_monitors.IndexOf(chosen);
    if (index >= 0) {
        monitorIndex = index;
        chosen->GetMonitorRect(areaRect);
    }
    if (m_chooser) {
        m_chooser->EndDialog(IDOK);
        m_chooser.reset();
    }
    UpdateAreaLabel();
    ShowWindow(SW_SHOW);
    RedrawWindow();
    return 0;
}

void CTovrixDlg::UpdateAreaLabel() {
    SetDlgItemText(IDC_AREA_LABEL, AreaLabel(area, monitorIndex, areaRect));
}

void CTovrixDlg::OnFormatChange() {
    int selected = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_FORMAT_COMBO, CB_GETCURSEL, 0, 0));
    if (selected < 0) return;
    saveType = selected;
    ApplyFormatRule();
}

void CTovrixDlg::ApplyFormatRule() {
    HWND format = GetDlgItem(IDC_FORMAT_COMBO);
    HWND quality = GetDlgItem(IDC_QUALITY_COMBO);
    RECT target = m_formatRect;
    if (saveType != Jpg) {
        RECT qualityRect = ClientRectOf(m_hWnd, quality);
        ::UnionRect(&target, &m_formatRect, &qualityRect);
    }
    // A drop-down list's window height includes its list: keep that, change place and width.
    RECT dropped{};
    ::SendMessageW(format, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    int height = std::max<int>(dropped.bottom - dropped.top, target.bottom - target.top);
    ::SetWindowPos(format, nullptr, target.left, target.top, target.right - target.left, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const bool jpeg = saveType == Jpg;
    ::EnableWindow(quality, jpeg);
    ::ShowWindow(quality, jpeg ? SW_SHOW : SW_HIDE);
}

void CTovrixDlg::OnQualityChange() {
    int selected = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_QUALITY_COMBO, CB_GETCURSEL, 0, 0));
    if (selected >= 0) jpgQuality = selected;
}

void CTovrixDlg::OnBrowseFolder() {
    if (!UpdateData(TRUE)) return;
    BROWSEINFOW browse{};
    browse.hwndOwner = m_hWnd;
    browse.lpszTitle = L"Select folder";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(saveFolder.c_str());
    CUniqueCoTaskMem<ITEMIDLIST_ABSOLUTE> chosen(::SHBrowseForFolderW(&browse));
    if (!chosen) return;
    wchar_t path[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(chosen.get(), path)) {
        saveFolder = path;
        WriteControls();
    }
}

void CTovrixDlg::OnPrefixChange() {
    if (m_writingControls) return;
    HWND edit = GetDlgItem(IDC_PREFIX);
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    // Only the prefix is taken: a half-typed number elsewhere must not raise a message box
    // on every keystroke here.
    prefix = GetDlgItemText(IDC_PREFIX);
    if (!FilterPrefix(prefix)) return;
    m_writingControls = true;
    SetDlgItemText(IDC_PREFIX, prefix);
    m_writingControls = false;
    ::SendMessageW(edit, EM_SETSEL, start, end);
}

void CTovrixDlg::OnResizeClick() {
    EnableResizeBoxes(::IsDlgButtonChecked(m_hWnd, IDC_RESIZE) == BST_CHECKED);
}

void CTovrixDlg::EnableResizeBoxes(bool enable) {
    ::EnableWindow(GetDlgItem(IDC_RESIZE_WIDTH), enable);
    ::EnableWindow(GetDlgItem(IDC_RESIZE_HEIGHT), enable);
}

void CTovrixDlg::OnBannerClick() {
    // The program has no web site: the banner opens the guide that comes with it.
    OpenUserGuide(m_hWnd);
}

LRESULT CTovrixDlg::OnCtlColorStatic(HDC dc, HWND control) {
    if (::GetDlgCtrlID(control) != IDC_TRAY_NOTE) return Default();
    ::SetTextColor(dc, RGB(255, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}
