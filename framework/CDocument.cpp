#include "CDocument.h"
#include <algorithm>
#include "CWnd.h"

void CDocument::AddView(CWnd* view) {
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) m_views.push_back(view);
}

void CDocument::RemoveView(CWnd* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CDocument::UpdateAllViews(CWnd* sender) const {
    for (CWnd* view : m_views)
        if (view != sender && view->IsWindow()) view->Invalidate(FALSE);
}
