// CControlBar: a bar along a side of a frame (tool bar, status bar, dock
// bar, sizing bar). The frame lays its bars out around its client pane
// (CFrameWnd::RecalcLayout); a bar that allows docking moves between the
// frame's dock bars and floating frames by its dock context.
#pragma once
#include <windows.h>
#include "platform/classlib/barstyles.h"
#include "platform/classlib/framewnd.h"

class CDockBar;
class CDockContext;

// Adds one window's change to a deferred positioning, beginning the
// positioning when defer is null, so that a layout that moves nothing makes
// none; returns the positioning, null when it failed.
HDWP AfxDeferWindowChange(HDWP defer, HWND window, const CRect& rect, UINT flags);

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // The bar's size along its side: stretch asks for the whole length of
    // the side, horz for a horizontal bar.
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horz);
    // The size for a length (-1: the bar's own choice) in a mode of LM_ bits.
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    // Takes the borders (and the gripper of a docked bar) from the rectangle.
    virtual void CalcInsideRect(CRect& rect, BOOL horz) const;
    // A size that, with stretch, takes the whole length of the side.
    static CSize Stretched(CSize size, BOOL stretch, BOOL horz);
    virtual BOOL IsDockBar() const { return FALSE; }
    // Asks the target's update handlers for the bar's commands (idle time).
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler);

    // Painting of the borders and the gripper.
    virtual void DoPaint(CDC* dc);
    virtual void DrawBorders(CDC* dc, CRect& rect);
    virtual void DrawGripper(CDC* dc, const CRect& rect);

    DWORD GetBarStyle() const { return m_dwStyle; }
    virtual void SetBarStyle(DWORD style);
    void SetBorders(int left, int top, int right, int bottom);
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }

    // The sides (CBRS_ALIGN_ bits) the bar may dock on; 0 takes its dock
    // context away. Call after the bar is created.
    void EnableDocking(DWORD dockStyle);
    // In a floating frame's dock bar.
    BOOL IsFloating() const;
    // Visible, counting a pending delayed show or hide.
    BOOL IsVisible() const;
    // Shows or hides the bar at the next layout.
    void DelayShow(BOOL show);
    // Carries out a pending delayed show or hide, through the deferred
    // positioning when one is given (begun here when it is still null).
    void ApplyDelayedShow(HDWP* defer);
    // The frame the bar lies in now: its floating frame, else its dock site.
    CFrameWnd* GetDockingFrame() const;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 6;
    int m_cyTopBorder = 2;
    int m_cyBottomBorder = 2;
    // The width of a dynamically sized bar when it last floated.
    int m_nMRUWidth = 32767;
    // The frame whose layout holds the bar, its dock bar (null when it is
    // not docked) and its dock context (null when it cannot dock).
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;
    // The object is deleted with its window.
    BOOL m_bAutoDelete = FALSE;
    enum StateFlags { delayHide = 1, delayShow = 2 };
    UINT m_nStateFlags = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM disableIfNoHandler, LPARAM);

    DECLARE_MESSAGE_MAP()

public:
    // Paints the borders and gripper that lie in the non-client area.
    void PaintNonClient();
    // Starts dragging the bar when it may dock; TRUE when a drag began.
    BOOL StartDragAt(CPoint screenPoint);

protected:
    // Takes borderLine pixels for each bordered side, the bar's border
    // widths and, for a docked bar with a gripper, gripperSpace pixels.
    void DeflateInside(CRect& rect, BOOL horz, int borderLine, int gripperSpace) const;
};
