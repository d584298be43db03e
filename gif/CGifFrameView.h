#pragma once
// The frame editor's full-size preview of one frame: the picture 1:1 on grey, scrolled when it
// is larger than the view. The crop dialog switches on a rubber-band rectangle over it, which
// the user moves and resizes and which moves with the content when the view scrolls.
#include <windows.h>
#include "CRectTracker.h"
#include "CScrollView.h"

class CScreenImage;

class CGifFrameView : public CScrollView {
public:
    CGifFrameView();

    // A visible child with a sunken client edge.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id = 10001);
    // Picture size 300 x 200 and the scroll sizes to match.
    void OnInitialUpdate();
    // The picture is not owned and must outlive its showing; nullptr shows the empty white area.
    void ShowPicture(CScreenImage* picture);
    // Shows the tracker: 100 x 100 at (10, 10), solid outline, hatched border, handles outside.
    void EnableTracker();
    bool IsTrackerEnabled() const { return m_trackerEnabled; }
    // The tracker rectangle in view client coordinates (empty while the tracker is off).
    RECT GetTrackerRect() const;
    SIZE GetPictureSize() const { return m_pictureSize; }

protected:
    void OnDraw(HDC dc) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Brings the tracker's client rectangle up to date with scrolling done since it was last set.
    void SyncTracker();
    BOOL OnLButtonDown(POINT point);

    CRectTracker m_tracker;
    bool m_trackerEnabled = false;
    POINT m_trackerScroll{};  // the scroll position m_tracker.m_rect belongs to
    SIZE m_pictureSize{300, 200};
    CScreenImage* m_picture = nullptr;
};
