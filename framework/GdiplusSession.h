#pragma once
// GDI+ start-up and shut-down as a scoped object; the program keeps one for its whole run.
// EnsureStarted starts the library on demand for code that may run before (or without) it.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

class GdiplusSession {
public:
    GdiplusSession() = default;
    ~GdiplusSession() { Shutdown(); }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    // Version 1, no debug callback, background thread and external codecs not suppressed.
    bool Startup();
    void Shutdown();
    bool IsStarted() const { return m_token != 0; }

    // Starts GDI+ once for the rest of the process if nobody has; false if it cannot start.
    static bool EnsureStarted();

private:
    ULONG_PTR m_token = 0;
};
