#include "CActivePicture.h"
#include <algorithm>
#include <iterator>

namespace {
// What the checkpoints of one editor may take together.
const size_t kCheckpointBudget = size_t(64) << 20;
}

CActivePicture::~CActivePicture() {
    if (m_dc && m_oldBitmap) ::SelectObject(*m_dc, m_oldBitmap);
}

bool CActivePicture::Create(HDC compatible, const CScreenImage* picture, int width, int height) {
    m_picture = picture;
    m_width = width;
    m_height = height;
    m_dc = std::make_unique<CMemoryDC>(compatible);
    if (!*m_dc || !m_bitmap.CreateCompatibleBitmap(compatible, width, height)) {
        m_dc.reset();
        return false;
    }
    m_oldBitmap = ::SelectObject(*m_dc, m_bitmap);
    const size_t bytes = size_t(width) * size_t(height) * 4;
    m_maxCheckpoints = std::max<size_t>(2, kCheckpointBudget / std::max<size_t>(bytes, 1));
    Reset();
    return true;
}

void CActivePicture::Reset() {
    m_checkpoints.clear();
    m_spacing = 100;
    Restore(0);
}

void CActivePicture::Restore(size_t count) {
    if (!m_dc) return;
    auto it = m_checkpoints.upper_bound(count);
    if (it == m_checkpoints.begin()) {
        if (m_picture) m_picture->BitBlt(*m_dc, 0, 0, SRCCOPY);
        m_count = 0;
        return;
    }
    --it;
    CMemoryDC source(m_dc->get());
    CSelectObject select(source, it->second);
    ::BitBlt(*m_dc, 0, 0, m_width, m_height, source, 0, 0, SRCCOPY);
    m_count = it->first;
}

void CActivePicture::Keep(size_t count) {
    if (count == 0 || count % m_spacing != 0 || m_checkpoints.count(count)) return;
    CBitmap copy;
    if (!copy.CreateCompatibleBitmap(*m_dc, m_width, m_height)) return;
    {
        CMemoryDC target(m_dc->get());
        CSelectObject select(target, copy);
        ::BitBlt(target, 0, 0, m_width, m_height, *m_dc, 0, 0, SRCCOPY);
    }
    m_checkpoints.emplace(count, std::move(copy));
    // Too many: twice the spacing, keeping the checkpoints that fall on it.
    while (m_checkpoints.size() > m_maxCheckpoints) {
        m_spacing *= 2;
        for (auto it = m_checkpoints.begin(); it != m_checkpoints.end();)
            it = it->first % m_spacing ? m_checkpoints.erase(it) : std::next(it);
    }
}

void CActivePicture::ForgetFrom(size_t count) {
    m_checkpoints.erase(m_checkpoints.upper_bound(count), m_checkpoints.end());
    if (m_count > count) Restore(count);
}

void CActivePicture::Update(const EditorItems& items, OutlineTextRenderer& renderer) {
    if (!m_dc) return;
    const size_t target = items.ActiveCount();
    if (target < m_count) Restore(target);
    size_t index = 0;
    items.ForEachActive([&](const CVectorData& item) {
        if (index++ < m_count) return;
        DrawVectorItem(*m_dc, item, renderer);
        ++m_count;
        Keep(m_count);
    });
}
