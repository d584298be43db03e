#pragma once
// Owning holders of GDI objects (bitmaps, pens, brushes, fonts, regions): each deletes its
// handle once, cannot be copied, and can be moved.
#include <windows.h>
#include <utility>

template <typename Handle>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(Handle handle) : m_handle(handle) {}
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other) Attach(std::exchange(other.m_handle, nullptr));
        return *this;
    }

    Handle get() const { return m_handle; }
    operator Handle() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    // Takes ownership of a handle, deleting the one held before.
    void Attach(Handle handle) {
        DeleteObject();
        m_handle = handle;
    }
    [[nodiscard]] Handle Detach() { return std::exchange(m_handle, nullptr); }
    void DeleteObject() {
        if (m_handle) ::DeleteObject(m_handle);
        m_handle = nullptr;
    }

protected:
    Handle m_handle = nullptr;
};

class CBitmap : public CGdiObject<HBITMAP> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height) {
        Attach(::CreateCompatibleBitmap(dc, width, height));
        return m_handle != nullptr;
    }
};

class CPen : public CGdiObject<HPEN> {
public:
    using CGdiObject::CGdiObject;
    CPen(int style, int width, COLORREF color) : CGdiObject(::CreatePen(style, width, color)) {}
};

class CBrush : public CGdiObject<HBRUSH> {
public:
    using CGdiObject::CGdiObject;
    explicit CBrush(COLORREF color) : CGdiObject(::CreateSolidBrush(color)) {}
};

class CFont : public CGdiObject<HFONT> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreateFontIndirect(const LOGFONTW& font) {
        Attach(::CreateFontIndirectW(&font));
        return m_handle != nullptr;
    }
};

class CRgn : public CGdiObject<HRGN> {
public:
    using CGdiObject::CGdiObject;
};
