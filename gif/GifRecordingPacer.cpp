#include "GifRecordingPacer.h"

GifRecordingPacer::GifRecordingPacer(int fps) : m_interval(1000 / (fps < 1 ? 1 : fps)) {}

bool GifRecordingPacer::Due(uint32_t elapsed) {
    // Whole intervals elapsed, computed in double precision as the recorder always has.
    const uint32_t slot = static_cast<uint32_t>(elapsed / 1000.0 * (1000.0 / m_interval));
    // The first attempt is keyed to a flag rather than to "less than 10 ms elapsed": a short
    // sleep must not make two attempts in the first interval and count it twice.
    if (!m_first && slot <= m_lastSlot) {
        return false;
    }
    m_first = false;
    m_lastSlot = slot;
    m_pending += m_interval;
    return true;
}

uint32_t GifRecordingPacer::PauseBefore(uint32_t elapsed, uint32_t poll) const {
    const uint32_t slot = static_cast<uint32_t>(elapsed / 1000.0 * (1000.0 / m_interval));
    // The next interval begins at about (slot + 1) x interval; waking a millisecond early only
    // costs one more short pause, since Due still decides.
    const uint64_t next = (static_cast<uint64_t>(slot) + 1) * static_cast<uint64_t>(m_interval);
    const uint64_t until = next > elapsed ? next - elapsed : 1;
    const uint64_t pause = until < poll ? until : poll;
    return pause < 1 ? 1u : static_cast<uint32_t>(pause);
}

void GifRecordingPacer::Kept() {
    m_delays.push_back(m_pending);
    m_pending = 0;
}

void GifRecordingPacer::Missed() {
    m_pending -= m_interval;
}

void GifRecordingPacer::Finish() {
    m_delays.push_back(m_pending);
    m_pending = 0;
}

std::vector<uint32_t> GifRecordingPacer::FrameDelays(const std::vector<int32_t>& delays, size_t frames) {
    std::vector<uint32_t> result(frames, 0);
    for (size_t i = 0; i < frames && i + 1 < delays.size(); ++i) {
        result[i] = delays[i + 1] < 0 ? 0u : static_cast<uint32_t>(delays[i + 1]);
    }
    return result;
}
