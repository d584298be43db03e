#pragma once
// An image list (thumbnails of a list view, toolbar pictures): owns its HIMAGELIST unless
// handed to a control that takes it over.
#include <windows.h>
#include <commctrl.h>
#include <utility>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    CImageList(CImageList&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CImageList& operator=(CImageList&& other) noexcept {
        if (this != &other) {
            DeleteImageList();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }

    HIMAGELIST get() const { return m_handle; }
    operator HIMAGELIST() const { return m_handle; }

    // flags: ILC_COLOR32 (with alpha), ILC_COLOR24 | ILC_MASK (with a mask colour), ...
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow) {
        DeleteImageList();
        m_handle = ::ImageList_Create(cx, cy, flags, initial, grow);
        return m_handle != nullptr;
    }
    // The bitmap is copied: the caller keeps (and frees) its own.
    int Add(HBITMAP image, HBITMAP mask = nullptr) const { return ::ImageList_Add(m_handle, image, mask); }
    int Add(HBITMAP image, COLORREF maskColor) const { return ::ImageList_AddMasked(m_handle, image, maskColor); }
    int Add(HICON icon) const { return ::ImageList_AddIcon(m_handle, icon); }
    BOOL Replace(int index, HBITMAP image, HBITMAP mask = nullptr) const {
        return ::ImageList_Replace(m_handle, index, image, mask);
    }
    BOOL Remove(int index) const { return ::ImageList_Remove(m_handle, index); }
    int GetImageCount() const { return ::ImageList_GetImageCount(m_handle); }
    BOOL Draw(HDC dc, int index, POINT at, UINT style = ILD_NORMAL) const {
        return ::ImageList_Draw(m_handle, index, dc, at.x, at.y, style);
    }
    BOOL SetImageCount(UINT count) const { return ::ImageList_SetImageCount(m_handle, count); }

    void Attach(HIMAGELIST handle) {
        DeleteImageList();
        m_handle = handle;
    }
    [[nodiscard]] HIMAGELIST Detach() { return std::exchange(m_handle, nullptr); }
    void DeleteImageList() {
        if (m_handle) ::ImageList_Destroy(m_handle);
        m_handle = nullptr;
    }

private:
    HIMAGELIST m_handle = nullptr;
};
