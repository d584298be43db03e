#pragma once
// The clock arithmetic of a recording: one capture attempt at once and then at most one per
// interval of 1000 / fps milliseconds, and the delays of the kept frames as whole multiples of
// that interval (a frame that stays unchanged over several attempts is shown for all of them).
// No Windows API here.
#include <cstddef>
#include <cstdint>
#include <vector>

class GifRecordingPacer {
public:
    // fps below 1 counts as 1.
    explicit GifRecordingPacer(int fps);

    int Interval() const { return m_interval; }

    // True when a capture should be attempted `elapsed` milliseconds after the start: the first
    // call, and afterwards the first call in each new interval. A capture that took longer than
    // an interval skips the missed intervals without counting their time.
    bool Due(uint32_t elapsed);
    // How long the thread may pause `elapsed` milliseconds after the start: `poll`, but never
    // past the start of the next interval, and at least 1. A capture that took most of an
    // interval thus does not make the next interval's attempt late or missed.
    uint32_t PauseBefore(uint32_t elapsed, uint32_t poll) const;
    // The attempt just made kept a frame: the time since the previous kept frame becomes a delay.
    void Kept();
    // The attempt just made got no picture (the screen could not be read): its interval is not
    // counted, as that of a slot with no attempt.
    void Missed();
    // The recording ended: the time after the last kept frame becomes the last delay.
    void Finish();

    // One entry per kept frame (the time up to it; the first is unused) and one at the end.
    const std::vector<int32_t>& Delays() const { return m_delays; }

    // What each of `frames` frames is shown for: frame i gets delay entry i + 1, the time from
    // its capture to the next kept capture (or to the end). Missing entries give 0.
    static std::vector<uint32_t> FrameDelays(const std::vector<int32_t>& delays, size_t frames);

private:
    int m_interval;
    bool m_first = true;
    uint32_t m_lastSlot = 0;
    int32_t m_pending = 0;
    std::vector<int32_t> m_delays;
};
