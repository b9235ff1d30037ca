// CCJControlBar: a docking bar that the user sizes with the mouse. Its one
// child (the pane) fills the client area; the bar draws its non-client
// parts: a sizing edge towards the frame's middle and between bars of its
// row, a gripper strip with a hide and an expand button, and a button-face
// background. Bars of one dock row share the row's length; their sizes are
// kept in the profile under "<profile>-SCBar-<id>".
#pragma once
#include "toolkit/bars/scb_button.h"
#include "toolkit/bars/tool_bar_base.h"
#include <vector>

class CCJControlBar : public CCJToolBarBase {
    DECLARE_DYNAMIC(CCJControlBar)
public:
    CCJControlBar();
    ~CCJControlBar() override;

    // A bar of that size in every orientation, with a gripper strip and
    // caption buttons when caption is set. style: window and CBRS_ bits.
    virtual BOOL Create(CWnd* parent, UINT id, LPCSTR title, int cx, int cy, DWORD style, BOOL caption);
    virtual void LoadState(LPCSTR profile);
    virtual void SaveState(LPCSTR profile);
    // Every sizing bar's state at once.
    static void GlobalLoadState(LPCSTR profile);
    static void GlobalSaveState(LPCSTR profile);
    // Dragging an edge (a hit code: HTLEFT, HTRIGHT, HTTOP, HTBOTTOM) from
    // a client point.
    virtual void StartTracking(UINT edge, CPoint point);
    virtual void StopTracking();
    virtual void OnTrackUpdateSize(CPoint point);
    virtual void OnTrackInvertTracker();
    // Moves the row's bars next to each other, in row order.
    virtual void AlignRow();
    virtual BOOL ClipNcPaint() { return TRUE; }

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL DestroyWindow() override;

    BOOL IsHorzDocked() const;
    BOOL IsVertDocked() const;
    // The dragged edge lies between two bars of the row.
    BOOL IsRowEdge() const;
    // Indexes in the dock bar's entries of the first and last entry of the
    // bar's row and of the bar itself.
    void GetRowRange(int& first, int& last, int& self) const;
    // The row's visible sizing bars, in row order.
    void GetRowBars(std::vector<CCJControlBar*>& bars) const;
    BOOL IsLastOnRow() const;
    // Fills the row with this bar (the others at their minimum), or gives
    // the row's bars back their sizes.
    void ToggleExpand();
    // Shares the row's length among its sizing bars; FALSE when the row is
    // too short (the bar then moves to a row of its own).
    BOOL ShareRowLength(int total, BOOL horz);
    // Whether an edge (hit code) is shown, and its strip in the window
    // rectangle.
    BOOL HasEdge(UINT edge) const;
    BOOL GetEdgeStrip(const CRect& window, UINT edge, CRect& strip) const;
    static BOOL IsSizingBar(const CControlBar* bar);

    CSize m_horzSize{200, 200};
    CSize m_vertSize{200, 200};
    CSize m_floatSize{200, 200};
    CSize m_minSize{33, 32};
    CSize m_dragMin;
    CSize m_dragMax;
    CSize m_savedSize;
    CPoint m_dragStart;
    UINT m_dragEdge = 0;
    BOOL m_dragging = FALSE;
    BOOL m_expanded = FALSE;
    BOOL m_alone = FALSE;
    CSCBButton m_buttons[2];

protected:
    enum EdgeFlags { kLeftEdge = 1, kRightEdge = 2, kTopEdge = 4, kBottomEdge = 8, kEdgesDrawn = 16 };
    static const int kEdgeWidth = 5;
    static const int kClientInset = 5;

    // The id of the side dock bar that holds the bar, 0 when it floats or
    // is not docked.
    UINT DockSide() const;
    CSize& SizeOfOrientation() { return IsHorzDocked() ? m_horzSize : m_vertSize; }
    int Length(const CSize& size) const { return IsHorzDocked() ? size.cx : size.cy; }
    int Thickness(const CSize& size) const { return IsHorzDocked() ? size.cy : size.cx; }
    // The neighbour across the dragged edge of a row edge, else null.
    CCJControlBar* DragNeighbour() const;
    // The sizes of the area left to the frame's pane.
    CSize FreeArea() const;
    void HoverUpdate(CPoint screenPoint);
    void ReleaseButtons();
    void RepaintButton(int index);
    void PaintNonClient(HRGN updateRegion);
    UINT HitTestButtons(CPoint windowPoint) const;
    void TakeMouseDown(UINT hitTest, CPoint screenPoint);

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnWindowPosChanging(WINDOWPOS* position);
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg LRESULT OnNcPaintMessage(WPARAM region, LPARAM);
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnNcMouseMove(UINT hitTest, CPoint point);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnCaptureChanged(CWnd* window);
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

    UINT m_edgeFlags = 0;
    int m_pushedButton = -1;
    BOOL m_keepSize = FALSE;
    BOOL m_parentSizing = FALSE;
    int m_captionThickness = 0;
    CToolTipCtrl m_toolTip;
    CRect m_repaintRect;
    BOOL m_hoverTimer = FALSE;
};
