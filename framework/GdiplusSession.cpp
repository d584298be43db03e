#include "GdiplusSession.h"

bool GdiplusSession::Startup() {
    if (m_token) return true;
    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, nothing suppressed
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    m_token = token;
    return true;
}

void GdiplusSession::Shutdown() {
    if (m_token) Gdiplus::GdiplusShutdown(m_token);
    m_token = 0;
}

bool GdiplusSession::EnsureStarted() {
    // GdiplusStartup counts its callers, so an extra start beside the program's own is harmless;
    // this one is deliberately never shut down, as objects may be released during exit.
    static const bool started = [] {
        static GdiplusSession* session = new GdiplusSession;
        return session->Startup();
    }();
    return started;
}
