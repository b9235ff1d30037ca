// CDockContext: moves one bar between the frame's dock bars and floating
// frames. A drag starts on the bar's gripper (or a floating frame's
// caption): the bar captures the mouse, its mouse messages come here, a
// tracking rectangle shows where the bar would go, and the button's
// release docks or floats it. Escape or a lost capture cancels.
#pragma once
#include <windows.h>
#include "platform/classlib/geometry.h"

class CControlBar;
class CDockBar;
class CFrameWnd;

class CDockContext {
public:
    explicit CDockContext(CControlBar* bar);
    ~CDockContext();
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Starts a drag at the screen point.
    void StartDrag(CPoint screenPoint);
    BOOL IsTracking() const { return m_bTracking; }
    // A message of the bar while tracking; TRUE when it was taken.
    BOOL OnTrackMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Ends a drag without moving the bar.
    void CancelDrag();
    // Floats a docked bar at its last floating place, docks a floating bar
    // where it was last docked.
    void ToggleDocking();

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    // Where the bar was last docked: the dock bar's id and the bar's
    // rectangle in that dock bar's client coordinates.
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    // How and where (screen) the bar last floated; x is CW_USEDEFAULT
    // while it never floated.
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos;

private:
    void Move(CPoint screenPoint);
    void EndDrag();
    // The dock bar of the frame that the point lies over and that the bar
    // may dock on, else null.
    CDockBar* DockBarAt(CPoint screenPoint) const;
    // The rectangle the bar would take at the point: docked in that dock
    // bar, or floating when it is null.
    CRect TrackRect(CDockBar* target) const;
    void DrawTracker(const CRect& rect, bool floating);
    void EraseTracker();

    BOOL m_bTracking = FALSE;
    CPoint m_ptStart;
    CPoint m_ptLast;
    // The bar's rectangles at the start, in screen coordinates: docked
    // horizontally, docked vertically and floating.
    CRect m_rectHorz;
    CRect m_rectVert;
    CRect m_rectFloat;
    CDockBar* m_pTarget = nullptr;
    CRect m_rectDrawn;
    bool m_drawnFloating = false;
    bool m_drawn = false;
};
