#pragma once
// One owning holder for every kind of handle that is not a GDI object: the handle is closed once,
// by the function the holder is made over, when the holder goes away or is given another one.
// Holders move and never copy. The aliases below name the handles the program keeps.
#include <windows.h>
#include <objbase.h>
#include <utility>

// The "no handle" value of most handle kinds.
template <typename Handle>
constexpr Handle NullHandleValue() {
    return Handle{};
}
// The "no handle" value of file and find handles.
inline HANDLE InvalidHandleValue() {
    return INVALID_HANDLE_VALUE;
}

template <typename Handle, auto Close, Handle (*Invalid)() = &NullHandleValue<Handle>>
class CUniqueAny {
public:
    CUniqueAny() = default;
    explicit CUniqueAny(Handle handle) : m_handle(handle) {}
    ~CUniqueAny() { reset(); }
    CUniqueAny(const CUniqueAny&) = delete;
    CUniqueAny& operator=(const CUniqueAny&) = delete;
    CUniqueAny(CUniqueAny&& other) noexcept : m_handle(other.release()) {}
    CUniqueAny& operator=(CUniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return m_handle; }
    bool is_valid() const { return m_handle != Invalid(); }
    explicit operator bool() const { return is_valid(); }
    // For holders of interface pointers and other pointers to objects.
    Handle operator->() const { return m_handle; }

    // Closes the handle held (if any) and takes the new one.
    void reset(Handle handle = Invalid()) {
        Handle old = std::exchange(m_handle, handle);
        if (old != Invalid()) Close(old);
    }
    // Gives the handle up without closing it; the caller owns it now.
    [[nodiscard]] Handle release() { return std::exchange(m_handle, Invalid()); }
    // Closes what is held and lends the address to a function that writes a new handle into it.
    Handle* put() {
        reset();
        return &m_handle;
    }
    // put() for functions that write an interface pointer through void** (QueryInterface).
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void swap(CUniqueAny& other) noexcept { std::swap(m_handle, other.m_handle); }

private:
    Handle m_handle = Invalid();
};

namespace unique_any_detail {
template <typename Interface>
void ReleaseInterface(Interface* pointer) {
    pointer->Release();
}
}  // namespace unique_any_detail

using CUniqueMenu = CUniqueAny<HMENU, &::DestroyMenu>;
using CUniqueIcon = CUniqueAny<HICON, &::DestroyIcon>;
// Cursors made at run time (CreateIconIndirect, CreateCursor); shared cursors from LoadCursor
// are not owned and need no holder.
using CUniqueCursor = CUniqueAny<HCURSOR, &::DestroyCursor>;
// Kernel objects whose "no handle" value is null: mutexes, threads, events.
using CUniqueHandle = CUniqueAny<HANDLE, &::CloseHandle>;
// Kernel objects whose "no handle" value is INVALID_HANDLE_VALUE: CreateFile.
using CUniqueFile = CUniqueAny<HANDLE, &::CloseHandle, &InvalidHandleValue>;
using CUniqueModule = CUniqueAny<HMODULE, &::FreeLibrary>;
using CUniqueFindHandle = CUniqueAny<HANDLE, &::FindClose, &InvalidHandleValue>;
// Memory handed out by the shell and COM (item id lists, strings), freed with CoTaskMemFree.
template <typename T = void>
using CUniqueCoTaskMem = CUniqueAny<T*, &::CoTaskMemFree>;
// An interface pointer that is released once; copies would need AddRef, so there are none.
template <typename Interface>
using CUniqueComPtr = CUniqueAny<Interface*, &unique_any_detail::ReleaseInterface<Interface>>;
