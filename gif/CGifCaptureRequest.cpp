#include "CGifCaptureRequest.h"

WPARAM CGifCaptureRequest::Offer(CGifFrameImage* frame) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_frame = frame;
    m_filled = false;
    m_grabFailed = false;
    // Never 0, so that a message with wParam 0 is never taken for an offer.
    if (++m_serial == 0) {
        ++m_serial;
    }
    return m_serial;
}

CGifCaptureRequest::Outcome CGifCaptureRequest::TakeBack() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_frame = nullptr;
    if (!m_filled) return Outcome::Unanswered;
    return m_grabFailed ? Outcome::GrabFailed : Outcome::Filled;
}
