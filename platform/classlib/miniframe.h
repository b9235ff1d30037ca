// CMiniDockFrameWnd: the small tool window in which bars float. It holds
// one floating dock bar with the bars; its caption drags them, a double
// click on it docks them again and its close box hides them. With the
// frame style FWS_SNAPTOBARS the frame takes the size its bar asks for;
// without it the bar takes the frame's client size.
#pragma once
#include "platform/classlib/dockbar.h"

class CMiniDockFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd() = default;

    // A hidden floating frame owned by the dock site; barStyle (the bar's
    // style) decides whether the frame can be sized.
    virtual BOOL Create(CWnd* parent, DWORD barStyle);
    void RecalcLayout(BOOL notify = TRUE) override;
    // The frame's window size for a client size.
    CSize WindowSizeFor(CSize client) const;
    // The bar of the dock bar's first entry, null when empty.
    CControlBar* GetFirstBar() const;

    CDockBar m_wndDockBar;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    afx_msg void OnClose();
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    afx_msg LRESULT OnSizing(WPARAM edge, LPARAM rect);

    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bInLayout = FALSE;
};
