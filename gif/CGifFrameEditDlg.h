#pragma once
// The frame editor: reworks a recording before it is written. It shows the frames of the
// recording store as a strip of numbered thumbnails with their delays, previews the current frame
// at full size, plays the animation, and changes delays, order, content and size of frames. Its
// "저장" writes the GIF through the store; closing it any other way leaves the frames in the store.
//
//   CGifFrameEditDlg editor;
//   editor.SetStore(&recording, nextStillPath, qualityIndex);
//   if (editor.DoModal() == IDOK) ...the GIF is written: editor.SavedPath()...
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "CDialogEx.h"
#include "CGifFrameView.h"
#include "CGifRecording.h"
#include "CImageList.h"
#include "CListCtrl.h"
#include "Dpi.h"

class CGifFrameEditDlg : public CDialogEx {
public:
    static constexpr UINT_PTR kPlayTimer = 1;
    // Thumbnails stand in one row, 6 pixels apart (at 100 %; they are scaled to the dialog's DPI).
    static constexpr int kThumbnailSide = 75;
    static constexpr int kThumbnailStep = 81;
    // Thumbnails are made when the strip shows them, into this many pictures of the image list,
    // which the items shown last keep: a long recording has no thumbnail per frame up front.
    static constexpr int kThumbnailSlots = 48;
    static constexpr const wchar_t* kPictureFilter =
        L"모든 그림  파일|*bmp;*.dib;*.jpg;*.jpeg;*.jpe;*.jfif;*.gif;*.tif;*.tiff;*.png|";
    static constexpr size_t kFileBufferChars = 65537;
    // Said after an insertion when some chosen files gave no picture; the files follow.
    static constexpr const wchar_t* kUnreadableText =
        L"다음 파일은 열 수 없거나 그림이 아니어서 넣지 않았습니다:";

    // `owner` waits under the editor (disabled) while it runs.
    explicit CGifFrameEditDlg(CWnd* owner = nullptr);
    ~CGifFrameEditDlg() override;

    // The store whose frames are edited (they stay its own), and what its Save needs: the name
    // of the next still capture and the recorder's quality index.
    void SetStore(CGifRecording* store, std::function<std::wstring()> nextStillPath, int qualityIndex);

    // What the editor shows now, for its caller and tests.
    int GetCurrent() const { return m_current; }
    bool IsPlaying() const { return m_playing; }
    // The file "저장" wrote (empty before).
    const std::wstring& SavedPath() const { return m_savedPath; }
    CListCtrl& GetList() { return m_list; }
    CGifFrameView& GetPreview() { return m_preview; }
    const CImageList& GetImageList() const { return m_images; }
    // The picture of the image list that shows item `index`'s thumbnail, made now when no
    // picture holds it (as the strip asks when it shows the item); -1 for no such item.
    int ThumbnailImage(int index);

    // "%.2f 초" of a time in seconds (the item texts and the total).
    static std::wstring SecondsText(double seconds);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // "저장".
    void OnOK() override;
    void OnCancel() override;

private:
    CGifRecording::Frames& Frames();
    int Count() { return static_cast<int>(Frames().size()); }
    bool HasCurrent() { return m_current >= 0 && m_current < Count(); }
    std::vector<int> SelectedIndexes() const;

    void RebuildThumbnails();
    // The list's pictures at the dialog's DPI: made again, empty, for another DPI.
    void CreateThumbnailList();
    void DrawThumbnail(int index, int image);
    // Moves a thumbnail to its place in the row, keeping its height.
    void PlaceThumbnail(int index);
    void OnPlaceThumbnails();
    void ShowCurrentFrame();
    void UpdateLabels();
    void ShowPictureSize();
    // Selects, focuses and scrolls to item current (the list's focus too when asked).
    void SelectCurrent(bool focusList);
    void MakeCurrent(int index);

    void OnListClick(const NMITEMACTIVATE& click);
    void OnListKey(const NMLVKEYDOWN& key);
    void OnContextMenu(HWND from, POINT screen);
    void OnPlay();
    void StopPlaying();
    void OnTimer(UINT_PTR id);
    void OnDelayPreset(uint32_t milliseconds);
    void OnOtherDelay();
    void SetSelectedDelays(uint32_t milliseconds);
    void OnScaleDelays(double factor);
    void OnReverse();
    void OnDelete();
    void OnDuplicate();
    void OnInsertPictures();
    void OnCrop();
    void OnEditFrames();
    void OnDestroy();

    // Makes m_shown the current frame's picture (none without a current frame).
    void MakeShownPicture();
    // Gives every frame with a picture the picture `change` leaves in a bitmap of it; a frame
    // whose change fails keeps its picture.
    void ChangePictures(const std::vector<int>& indexes, const std::function<bool(CGifFrameImage&)>& change);

    CGifRecording* m_store = nullptr;
    CGifRecording::Frames m_noFrames;  // what a dialog without a store shows
    // The current frame's picture as a bitmap: the preview shows it and the crop dialog reads it.
    CGifFrameImage m_shown;
    std::function<std::wstring()> m_nextStillPath;
    int m_quality = 0;
    std::wstring m_savedPath;

    CListCtrl m_list;
    CImageList m_images;
    // What each picture of the image list shows: a frame's number and picture, and when the strip
    // last asked for it.
    struct ThumbnailSlot {
        int index = -1;
        uint32_t picture = CGifPictureLog::kNoPicture;
        uint64_t used = 0;
    };
    std::vector<ThumbnailSlot> m_slots;
    uint64_t m_slotClock = 0;
    CGifFrameView m_preview;
    int m_current = -1;
    bool m_playing = false;
    UINT m_dpi = kDefaultDpi;
};
