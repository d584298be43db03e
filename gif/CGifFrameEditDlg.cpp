#include "CGifFrameEditDlg.h"
#include <algorithm>
#include <cwchar>
#include <new>
#include "CClippingDlg.h"
#include "CFileDialog.h"
#include "CInsertImageQuery.h"
#include "CPresentDlg.h"
#include "CSetFrameTimeDlg.h"
#include "CUniqueAny.h"
#include "DeviceContext.h"
#include "GdiObject.h"
#include "MessageArgs.h"
#include "MessageBox.h"
#include "WindowMessages.h"
#include "resource.h"

namespace {
// The delay presets of the context menu, in the order of their commands.
struct DelayPreset {
    UINT command;
    uint32_t milliseconds;
};
const DelayPreset kDelayPresets[] = {
    {ID_FRAMEEDIT_DELAY_NONE, 0},     {ID_FRAMEEDIT_DELAY_100MS, 100}, {ID_FRAMEEDIT_DELAY_200MS, 200},
    {ID_FRAMEEDIT_DELAY_500MS, 500},  {ID_FRAMEEDIT_DELAY_1S, 1000},   {ID_FRAMEEDIT_DELAY_2S, 2000},
    {ID_FRAMEEDIT_DELAY_5S, 5000},    {ID_FRAMEEDIT_DELAY_10S, 10000},
};

// An item's text: the delay in seconds as the frame list has always shown it (single precision).
std::wstring DelayText(uint32_t milliseconds) {
    return CGifFrameEditDlg::SecondsText(static_cast<float>(milliseconds * 0.001));
}

// A delay scaled and truncated toward zero, kept within the delay's range.
uint32_t ScaledDelay(uint32_t milliseconds, double factor) {
    const double scaled = milliseconds * factor;
    return scaled >= 4294967295.0 ? 0xffffffffu : static_cast<uint32_t>(scaled);
}
}  // namespace

CGifFrameEditDlg::CGifFrameEditDlg(CWnd* owner) : CDialogEx(IDD_GIF_FRAME_EDIT, owner) {}

CGifFrameEditDlg::~CGifFrameEditDlg() = default;

void CGifFrameEditDlg::SetStore(CGifRecording* store, std::function<std::wstring()> nextStillPath, int qualityIndex) {
    m_store = store;
    m_nextStillPath = std::move(nextStillPath);
    m_quality = qualityIndex;
}

std::wstring CGifFrameEditDlg::SecondsText(double seconds) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.2f 초", seconds);
    return text;
}

CGifRecording::Frames& CGifFrameEditDlg::Frames() {
    return m_store ? m_store->GetFrames() : m_noFrames;
}

std::vector<int> CGifFrameEditDlg::SelectedIndexes() const {
    std::vector<int> indexes;
    for (int i = m_list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = m_list.GetNextItem(i, LVNI_SELECTED)) {
        indexes.push_back(i);
    }
    return indexes;
}

BOOL CGifFrameEditDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_list.SubclassDlgItem(IDC_FRAMEEDIT_LIST, m_hWnd);
    m_dpi = WindowDpi(m_hWnd);
    CreateThumbnailList();

    RECT area{};
    ::GetWindowRect(GetDlgItem(IDC_FRAMEEDIT_PREVIEW_AREA), &area);
    ScreenToClient(&area);
    m_preview.Create(this, area, IDC_FRAMEEDIT_PREVIEW);
    m_preview.OnInitialUpdate();

    m_current = Frames().empty() ? -1 : 0;
    RebuildThumbnails();
    ShowCurrentFrame();
    UpdateLabels();
    ShowPictureSize();
    SelectCurrent(true);

    RECT desktop{}, window{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    GetWindowRect(&window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(nullptr, desktop.left + (desktop.right - desktop.left - width) / 2,
                 desktop.top + (desktop.bottom - desktop.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Some list views settle their item metrics on their first paint and arrange their icons
    // anew then, undoing the thumbnails' places: they are placed again once the dialog shows.
    PostMessage(WM_FRAMEEDIT_PLACE_THUMBNAILS);
    // The focus is in the strip already.
    return FALSE;
}

BOOL CGifFrameEditDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const CommandArgs command = CommandArgsFrom(wParam, lParam);
    for (const DelayPreset& preset : kDelayPresets) {
        if (command.id == preset.command) {
            OnDelayPreset(preset.milliseconds);
            return TRUE;
        }
    }
    const bool clicked = command.control == nullptr || command.code == BN_CLICKED;
    switch (command.id) {
    case IDC_FRAMEEDIT_PLAY:
        if (clicked) OnPlay();
        return TRUE;
    case IDC_FRAMEEDIT_FASTER:
        if (clicked) OnScaleDelays(0.9);
        return TRUE;
    case IDC_FRAMEEDIT_SLOWER:
        if (clicked) OnScaleDelays(1.1);
        return TRUE;
    case IDC_FRAMEEDIT_REVERSE:
        if (clicked) OnReverse();
        return TRUE;
    case IDC_FRAMEEDIT_CROP:
        if (clicked) OnCrop();
        return TRUE;
    case ID_FRAMEEDIT_DELAY_OTHER:
        OnOtherDelay();
        return TRUE;
    case ID_FRAMEEDIT_DELETE:
        OnDelete();
        return TRUE;
    case ID_FRAMEEDIT_DUPLICATE:
        OnDuplicate();
        return TRUE;
    case ID_FRAMEEDIT_INSERT:
        OnInsertPictures();
        return TRUE;
    case ID_FRAMEEDIT_EDIT:
        OnEditFrames();
        return TRUE;
    default:
        return CDialogEx::OnCommand(wParam, lParam);
    }
}

BOOL CGifFrameEditDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == IDC_FRAMEEDIT_LIST) {
        switch (header->code) {
        case NM_CLICK:
            OnListClick(*reinterpret_cast<const NMITEMACTIVATE*>(lParam));
            *result = 0;
            return TRUE;
        case LVN_GETDISPINFOW: {
            // The strip shows an item: its thumbnail is made now if no picture holds it.
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if (info->item.mask & LVIF_IMAGE) info->item.iImage = ThumbnailImage(info->item.iItem);
            *result = 0;
            return TRUE;
        }
        case LVN_KEYDOWN:
            OnListKey(*reinterpret_cast<const NMLVKEYDOWN*>(lParam));
            // The list still moves its own focus and selection with the key.
            *result = 0;
            return TRUE;
        default:
            break;
        }
    }
    return CDialogEx::OnNotify(wParam, lParam, result);
}

LRESULT CGifFrameEditDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam == kPlayTimer) {
            OnTimer(wParam);
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == m_list.m_hWnd) {
            OnContextMenu(reinterpret_cast<HWND>(wParam), MousePoint(lParam));
            return 0;
        }
        break;
    case WM_FRAMEEDIT_PLACE_THUMBNAILS:
        OnPlaceThumbnails();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_DPICHANGED: {
        // The system lays out the dialog; the thumbnails are made again at the new scale.
        const LRESULT result = CDialogEx::WindowProc(msg, wParam, lParam);
        m_dpi = DpiChangedArgsFrom(wParam, lParam).dpi;
        CreateThumbnailList();
        RebuildThumbnails();
        SelectCurrent(false);
        return result;
    }
    default:
        break;
    }
    return CDialogEx::WindowProc(msg, wParam, lParam);
}

void CGifFrameEditDlg::CreateThumbnailList() {
    const int side = ScaleToDpi(kThumbnailSide, m_dpi);
    m_images.Create(side, side, ILC_COLOR24, kThumbnailSlots, 0);
    m_images.SetImageCount(kThumbnailSlots);
    m_slots.assign(kThumbnailSlots, ThumbnailSlot{});
    m_list.SetImageList(m_images, LVSIL_NORMAL);
}

void CGifFrameEditDlg::RebuildThumbnails() {
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_list.DeleteAllItems();
    // Numbers and pictures may all have moved: every thumbnail is made again when shown.
    m_slots.assign(kThumbnailSlots, ThumbnailSlot{});
    CGifRecording::Frames& frames = Frames();
    for (size_t i = 0; i < frames.size(); ++i) {
        const int index = static_cast<int>(i);
        m_list.InsertItem(index, DelayText(frames[i]->delay), I_IMAGECALLBACK);
        m_list.SetItemData(index, reinterpret_cast<LPARAM>(frames[i].get()));
        PlaceThumbnail(index);
    }
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
}

int CGifFrameEditDlg::ThumbnailImage(int index) {
    if (index < 0 || index >= Count() || m_slots.empty()) return -1;
    const uint32_t picture = Frames()[index]->picture;
    size_t oldest = 0;
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].index == index && m_slots[i].picture == picture) {
            m_slots[i].used = ++m_slotClock;
            return static_cast<int>(i);
        }
        if (m_slots[i].used < m_slots[oldest].used) oldest = i;
    }
    DrawThumbnail(index, static_cast<int>(oldest));
    m_slots[oldest] = ThumbnailSlot{index, picture, ++m_slotClock};
    return static_cast<int>(oldest);
}

void CGifFrameEditDlg::DrawThumbnail(int index, int image) {
    const int side = ScaleToDpi(kThumbnailSide, m_dpi);
    CDisplayDC screen;
    CMemoryDC memory(screen);
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    CBitmap thumbnail;
    if (!thumbnail.CreateCompatibleBitmap(screen, side, side)) return;
    {
        CSelectObject picture(memory, thumbnail);
        const RECT whole{0, 0, side, side};
        ::SetStretchBltMode(memory, HALFTONE);
        ::SetBrushOrgEx(memory, 0, 0, nullptr);
        if (!m_store || !m_store->DrawPicture(*Frames()[index], memory, whole)) {
            ::FillRect(memory, &whole, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        }
        CSelectObject pen(memory, black);
        CSelectObject brush(memory, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(memory, 0, 0, side, side);
        const std::wstring number = std::to_wstring(index);
        ::TextOutW(memory, 1, 1, number.c_str(), static_cast<int>(number.size()));
    }
    m_images.Replace(image, thumbnail);
}

void CGifFrameEditDlg::PlaceThumbnail(int index) {
    POINT at{};
    m_list.GetItemPosition(index, &at);
    m_list.SetItemPosition(index, POINT{ScaleToDpi(6 + kThumbnailStep * index, m_dpi), at.y});
}

void CGifFrameEditDlg::OnPlaceThumbnails() {
    m_list.UpdateWindow();
    for (int i = 0; i < m_list.GetItemCount(); ++i) PlaceThumbnail(i);
    m_list.Invalidate();
}

void CGifFrameEditDlg::MakeShownPicture() {
    // The preview must never show a picture while it is made again.
    m_preview.ShowPicture(nullptr);
    if (!HasCurrent() || !m_store->MakePicture(*Frames()[m_current], m_shown)) m_shown.Destroy();
}

void CGifFrameEditDlg::ChangePictures(const std::vector<int>& indexes,
                                      const std::function<bool(CGifFrameImage&)>& change) {
    CGifRecording::Frames& frames = Frames();
    CGifFrameImage picture;
    for (int index : indexes) {
        if (index < 0 || index >= static_cast<int>(frames.size())) continue;
        GifStoredFrame& frame = *frames[index];
        if (!m_store->MakePicture(frame, picture) || !change(picture)) continue;
        (void)m_store->KeepPicture(picture, frame);
    }
}

void CGifFrameEditDlg::ShowCurrentFrame() {
    MakeShownPicture();
    m_preview.ShowPicture(m_shown.IsNull() ? nullptr : &m_shown);
    // The size beside the preview always belongs to the picture it shows: frames may differ in
    // size once pictures were fitted in.
    ShowPictureSize();
}

void CGifFrameEditDlg::UpdateLabels() {
    double total = 0;
    for (const auto& frame : Frames()) total += frame->delay;
    SetDlgItemText(IDC_FRAMEEDIT_COUNT, std::to_wstring(Count()));
    SetDlgItemText(IDC_FRAMEEDIT_DURATION, SecondsText(total * 0.001));
}

void CGifFrameEditDlg::ShowPictureSize() {
    const SIZE size = m_preview.GetPictureSize();
    wchar_t text[64];
    std::swprintf(text, 64, L"%d X %d", static_cast<int>(size.cx), static_cast<int>(size.cy));
    SetDlgItemText(IDC_FRAMEEDIT_SIZE, text);
}

void CGifFrameEditDlg::SelectCurrent(bool focusList) {
    if (!HasCurrent()) return;
    if (focusList) m_list.SetFocus();
    m_list.SetItemState(m_current, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(m_current, FALSE);
}

void CGifFrameEditDlg::MakeCurrent(int index) {
    if (index < 0 || index >= Count() || index == m_current) return;
    m_current = index;
    ShowCurrentFrame();
}

void CGifFrameEditDlg::OnListClick(const NMITEMACTIVATE& click) {
    MakeCurrent(m_list.SubItemHitTest(click.ptAction));
}

void CGifFrameEditDlg::OnListKey(const NMLVKEYDOWN& key) {
    if (key.wVKey == VK_LEFT && m_current > 0) {
        MakeCurrent(m_current - 1);
    } else if (key.wVKey == VK_RIGHT && m_current < m_list.GetItemCount() - 1) {
        MakeCurrent(m_current + 1);
    }
}

void CGifFrameEditDlg::OnContextMenu(HWND from, POINT screen) {
    if (screen.x == -1 && screen.y == -1) {
        // Asked for from the keyboard: the menu opens at the current thumbnail (or the strip).
        POINT at{};
        if (HasCurrent()) m_list.GetItemPosition(m_current, &at);
        ::ClientToScreen(from, &at);
        screen = at;
    } else {
        POINT client = screen;
        ::ScreenToClient(from, &client);
        MakeCurrent(m_list.SubItemHitTest(client));
    }
    CUniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_GIF_FRAME_MENU)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return;
    const UINT command = static_cast<UINT>(::TrackPopupMenu(
        popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screen.x, screen.y, 0, m_hWnd, nullptr));
    if (command) PostMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void CGifFrameEditDlg::OnPlay() {
    if (m_playing) {
        StopPlaying();
    } else if (HasCurrent()) {
        // Each frame is shown for its own delay (0 gives the system's shortest timer).
        SetTimer(kPlayTimer, Frames()[m_current]->delay);
        SetDlgItemText(IDC_FRAMEEDIT_PLAY, L"Stop");
        m_playing = true;
    }
    // Without frames there is nothing to play: the button stays "Play".
    m_list.SetFocus();
}

void CGifFrameEditDlg::StopPlaying() {
    KillTimer(kPlayTimer);
    SetDlgItemText(IDC_FRAMEEDIT_PLAY, L"Play");
    m_playing = false;
}

void CGifFrameEditDlg::OnTimer(UINT_PTR id) {
    KillTimer(id);
    if (!m_playing) return;
    if (Count() == 0) {
        // Every frame was deleted while playing: playback ends, and starts again on request.
        StopPlaying();
        return;
    }
    if (HasCurrent()) m_list.SetItemState(m_current, 0, LVIS_SELECTED);
    m_current = m_current + 1 < Count() ? std::max(m_current + 1, 0) : 0;
    SelectCurrent(false);
    ShowCurrentFrame();
    SetTimer(kPlayTimer, Frames()[m_current]->delay);
}

void CGifFrameEditDlg::SetSelectedDelays(uint32_t milliseconds) {
    CGifRecording::Frames& frames = Frames();
    for (int index : SelectedIndexes()) {
        if (index >= static_cast<int>(frames.size())) continue;
        frames[index]->delay = milliseconds;
        m_list.SetItemText(index, 0, DelayText(milliseconds));
    }
    UpdateLabels();
}

void CGifFrameEditDlg::OnDelayPreset(uint32_t milliseconds) {
    SetSelectedDelays(milliseconds);
}

void CGifFrameEditDlg::OnOtherDelay() {
    if (!HasCurrent()) return;
    CSetFrameTimeDlg dialog(this);
    dialog.m_value = Frames()[m_current]->delay / 1000.0;
    if (dialog.DoModal() != IDOK) return;
    // The dialog accepts 0.01 to 180 seconds only, so the product always fits.
    SetSelectedDelays(static_cast<uint32_t>(dialog.m_value * 1000.0));
}

void CGifFrameEditDlg::OnScaleDelays(double factor) {
    CGifRecording::Frames& frames = Frames();
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i]->delay = ScaledDelay(frames[i]->delay, factor);
        m_list.SetItemText(static_cast<int>(i), 0, DelayText(frames[i]->delay));
    }
    UpdateLabels();
}

void CGifFrameEditDlg::OnReverse() {
    CGifRecording::Frames& frames = Frames();
    std::reverse(frames.begin(), frames.end());
    RebuildThumbnails();
    // current keeps its index, so it now shows another frame.
    ShowCurrentFrame();
}

void CGifFrameEditDlg::OnDelete() {
    std::vector<int> indexes = SelectedIndexes();
    CGifRecording::Frames& frames = Frames();
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(),
                                 [&](int index) { return index < 0 || index >= static_cast<int>(frames.size()); }),
                  indexes.end());
    if (indexes.empty()) return;
    std::sort(indexes.begin(), indexes.end());
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        frames.erase(frames.begin() + *it);
        if (*it < m_current) --m_current;
    }
    RebuildThumbnails();
    if (m_current > Count() - 1) m_current = Count() - 1;
    ShowCurrentFrame();
    UpdateLabels();
    if (Count() > 0) {
        SelectCurrent(true);
    } else if (m_playing) {
        StopPlaying();
    }
}

void CGifFrameEditDlg::OnDuplicate() {
    if (!HasCurrent()) return;
    std::unique_ptr<GifStoredFrame> copy(new (std::nothrow) GifStoredFrame);
    if (!copy) return;
    CGifRecording::Frames& frames = Frames();
    // A copy shows the same picture: nothing is kept twice.
    *copy = *frames[m_current];
    frames.insert(frames.begin() + m_current + 1, std::move(copy));
    RebuildThumbnails();
    UpdateLabels();
}

void CGifFrameEditDlg::OnInsertPictures() {
    // Pictures are kept by the store: without one there is nowhere to put them.
    if (!m_store) return;
    CFileDialog files(kPictureFilter, OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_EXPLORER, this);
    files.SetFileBufferSize(kFileBufferChars);
    files.m_ofn.lpstrDefExt = L"txt";
    if (files.DoModal() != IDOK) return;
    const std::vector<std::wstring> paths = files.GetPathNames();

    CGifRecording::Frames& frames = Frames();
    const SIZE first = frames.empty() ? SIZE{0, 0} : m_store->PictureSize(*frames.front());
    const int width = first.cx;
    const int height = first.cy;
    int largestWidth = 0, largestHeight = 0;

    CInsertImageQuery query(this);
    const bool confirmed = query.DoModal() == IDOK;
    const int mode = query.m_mode;
    std::vector<std::wstring> skipped;
    if (confirmed) {
        for (const std::wstring& path : paths) {
            CGifFrameImage picture;
            std::unique_ptr<GifStoredFrame> frame(new (std::nothrow) GifStoredFrame);
            // Without frames to fit into there is no size to place a picture in: each picture
            // then comes at its own size.
            const int loadMode = width <= 0 || height <= 0 ? InsertFitFrames : mode;
            if (!frame || !picture.LoadPicture(path, RECT{0, 0, width, height}, loadMode) ||
                !m_store->KeepPicture(picture, *frame)) {
                // A missing or unreadable file would only give an empty frame: it is left out,
                // and the user hears which files were.
                skipped.push_back(path);
                continue;
            }
            frame->delay = picture.delay;
            largestWidth = std::max(largestWidth, picture.GetWidth());
            largestHeight = std::max(largestHeight, picture.GetHeight());
            if (m_current < 0) m_current = 0;
            frames.insert(frames.begin() + std::min(m_current, static_cast<int>(frames.size())), std::move(frame));
        }
        if (mode == InsertFitFrames && (width < largestWidth || height < largestHeight)) {
            std::vector<int> all(frames.size());
            for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
            ChangePictures(all, [&](CGifFrameImage& picture) {
                const int left = (picture.GetWidth() - largestWidth) / 2;
                const int top = (picture.GetHeight() - largestHeight) / 2;
                return picture.CropTo(RECT{left, top, left + largestWidth, top + largestHeight});
            });
        }
    }
    RebuildThumbnails();
    ShowCurrentFrame();
    UpdateLabels();
    ShowPictureSize();
    if (!skipped.empty()) {
        std::wstring text = kUnreadableText;
        for (const std::wstring& path : skipped) text += L"\n" + path;
        AfxMessageBox(text, MB_OK | MB_ICONWARNING);
    }
}

void CGifFrameEditDlg::OnCrop() {
    if (!HasCurrent()) return;
    if (m_shown.IsNull()) return;
    CClippingDlg dialog(&m_shown, this);
    if (dialog.DoModal() != IDOK) return;
    const RECT crop = dialog.m_result;
    // The dialog refuses a rectangle outside the picture; an empty one would crop every frame to
    // nothing.
    if (::IsRectEmpty(&crop)) return;
    std::vector<int> all(Frames().size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    ChangePictures(all, [&](CGifFrameImage& picture) { return picture.CropTo(crop); });
    RebuildThumbnails();
    ShowCurrentFrame();
    ShowPictureSize();
}

void CGifFrameEditDlg::OnEditFrames() {
    if (!HasCurrent()) return;
    CGifFrameImage picture;
    if (!m_store->MakePicture(*Frames()[m_current], picture)) return;
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    const int left = desktop.left + (desktop.right - desktop.left - picture.GetWidth()) / 2;
    const int top = desktop.top + (desktop.bottom - desktop.top - picture.GetHeight()) / 2;
    CPresentDlg editor(this);
    // Centred on the desktop, and exactly the picture's size (an odd difference must not make
    // the editor one pixel larger than the picture it shows).
    editor.captureRect = RECT{left, top, left + picture.GetWidth(), top + picture.GetHeight()};
    editor.picture = &picture;
    editor.styleToAdd = WS_THICKFRAME;
    if (editor.DoModal() != IDOK) return;
    ChangePictures(SelectedIndexes(), [&](CGifFrameImage& frame) {
        HDC dc = frame.GetDC();
        if (!dc) return false;
        editor.DrawActiveItems(dc);
        ::GdiFlush();
        frame.ReleaseDC();
        return true;
    });
    RebuildThumbnails();
    ShowCurrentFrame();
}

void CGifFrameEditDlg::OnOK() {
    if (!m_store) return;
    if (m_playing) StopPlaying();
    // The save lets messages through for its progress window: no command may change the frames
    // it is writing.
    EnableWindow(FALSE);
    const CGifRecording::SaveResult result = m_store->Save(this, m_nextStillPath, m_quality, &m_savedPath);
    EnableWindow(TRUE);
    if (result == CGifRecording::SaveResult::Saved) {
        m_current = -1;
        ShowCurrentFrame();
        EndDialog(IDOK);
        return;
    }
    // Not written (the failure was told) or cancelled: the frames are all still there, and so is
    // the editor.
    m_savedPath.clear();
}

void CGifFrameEditDlg::OnCancel() {
    if (m_playing) StopPlaying();
    EndDialog(IDCANCEL);
}

void CGifFrameEditDlg::OnDestroy() {
    KillTimer(kPlayTimer);
    m_playing = false;
    if (m_preview.IsWindow()) m_preview.ShowPicture(nullptr);
}
