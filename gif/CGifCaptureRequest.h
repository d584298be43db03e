#pragma once
// The hand-over of one frame between the recording thread and the frame window. The thread
// offers a frame and sends WM_GIF_CAPTURE_FRAME (wParam the request's number, lParam this
// object); the frame window fills the frame on the user-interface thread through Fill. The send
// may time out while the window is still filling, or the message may arrive after the thread
// has given up: so the thread takes the frame back through TakeBack, which waits for a fill
// that is running and withdraws the offer, and Fill does nothing for a withdrawn or older offer.
// The frame is therefore never destroyed while the window may still be drawing into it. The fill
// says whether the screen could be read at all: a grab that failed leaves no frame to keep.
#include <windows.h>
#include <mutex>
#include "CGifFrameImage.h"

class CGifCaptureRequest {
public:
    // Recording thread: lends `frame` for the number returned, to be sent as wParam.
    WPARAM Offer(CGifFrameImage* frame);
    enum class Outcome {
        Unanswered,  // the window did not get to it in time (or is gone)
        Filled,      // the window filled the frame (it may still have got no bitmap)
        GrabFailed,  // the screen could not be read (a locked or secure desktop): no picture
    };
    // Recording thread: ends the loan. After it returns the frame window no longer touches the
    // frame.
    Outcome TakeBack();

    // Fixed for a recording before the thread starts.
    void SetOptions(const GifCaptureOptions& options) { m_options = options; }
    const GifCaptureOptions& Options() const { return m_options; }

    // User-interface thread: runs fill(frame, options), which returns whether the screen could
    // be read, if offer `serial` is still open; false for an offer withdrawn or replaced
    // meanwhile.
    template <typename FillFrame>
    bool Fill(WPARAM serial, FillFrame&& fill) {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_frame == nullptr || serial != m_serial || m_filled) {
            return false;
        }
        m_grabFailed = !fill(*m_frame, m_options);
        m_filled = true;
        return true;
    }

private:
    std::mutex m_lock;
    CGifFrameImage* m_frame = nullptr;
    WPARAM m_serial = 0;
    bool m_filled = false;
    bool m_grabFailed = false;
    GifCaptureOptions m_options;
};
