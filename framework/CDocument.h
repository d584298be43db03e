#pragma once
// The data that views show, in the manner of the classic document/view split: a document knows
// the views that show it so that a change redraws them all. It never owns its views, and it
// never deletes itself when the last one goes: its owner (usually a dialog object) keeps it.
#include <vector>

class CWnd;

class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    // A view calls these when its window is made and when it is destroyed.
    void AddView(CWnd* view);
    void RemoveView(CWnd* view);
    bool HasViews() const { return !m_views.empty(); }

    // Every view but the sender repaints on its next turn, without erasing first.
    void UpdateAllViews(CWnd* sender = nullptr) const;

private:
    std::vector<CWnd*> m_views;
};

// Handed to a view at creation: the document it will show.
struct CCreateContext {
    CDocument* m_pCurrentDoc = nullptr;
};
