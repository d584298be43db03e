#pragma once
// Scoped device contexts and selections: every DC is released or deleted the way it was
// obtained, and every object selected into a DC is put back when the scope ends.
#include <windows.h>
#include <utility>

// A device context made by CreateDCW / CreateCompatibleDC; deleted with DeleteDC.
class CDCHandle {
public:
    CDCHandle() = default;
    explicit CDCHandle(HDC dc) : m_dc(dc) {}
    ~CDCHandle() { if (m_dc) ::DeleteDC(m_dc); }
    CDCHandle(const CDCHandle&) = delete;
    CDCHandle& operator=(const CDCHandle&) = delete;
    CDCHandle(CDCHandle&& other) noexcept : m_dc(std::exchange(other.m_dc, nullptr)) {}

    HDC get() const { return m_dc; }
    operator HDC() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc = nullptr;
};

// The device context of the whole display (all monitors, virtual-screen coordinates).
class CDisplayDC : public CDCHandle {
public:
    CDisplayDC() : CDCHandle(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) {}
};

// A memory device context compatible with another (or with the screen for null).
class CMemoryDC : public CDCHandle {
public:
    explicit CMemoryDC(HDC compatibleWith) : CDCHandle(::CreateCompatibleDC(compatibleWith)) {}
};

// GetDC / ReleaseDC of a window (null: the screen).
class CClientDC {
public:
    explicit CClientDC(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~CClientDC() { if (m_dc) ::ReleaseDC(m_hwnd, m_dc); }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_dc; }
    HDC get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// GetWindowDC / ReleaseDC: the whole window including its frame.
class CWindowDC {
public:
    explicit CWindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetWindowDC(hwnd)) {}
    ~CWindowDC() { if (m_dc) ::ReleaseDC(m_hwnd, m_dc); }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    operator HDC() const { return m_dc; }
    HDC get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// BeginPaint / EndPaint for WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hwnd(hwnd), m_dc(::BeginPaint(hwnd, &m_ps)) {}
    ~CPaintDC() { ::EndPaint(m_hwnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_dc; }
    HDC get() const { return m_dc; }
    const PAINTSTRUCT& PaintStruct() const { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_dc;
};

// Selects an object for the scope and puts the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~CSelectObject() { if (m_previous && m_previous != HGDI_ERROR) ::SelectObject(m_dc, m_previous); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
