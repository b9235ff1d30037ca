// CCJFrameWnd: the frame both top-level windows are built on: the class
// library's frame with the toolkit's dock bars and floating frames, and
// the whole bar layout (dock state and sizing bars' sizes) loaded and
// saved under one profile name. A stored layout that names a bar the
// frame does not have, or that is damaged, is not applied at all.
#pragma once
#include "toolkit/bars/menu_bar.h"

class CCJFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CCJFrameWnd)
public:
    CCJFrameWnd() = default;

    virtual void LoadBarState(LPCSTR profile);
    virtual void SaveBarState(LPCSTR profile) const;
    virtual void EnableDocking(DWORD dockStyle);
    // Docks the bar in leftOf's row, just after leftOf.
    virtual void DockControlBarLeftOf(CControlBar* bar, CControlBar* leftOf);
    // A window class of its own with the icon of that resource id.
    virtual BOOL PreCreateWindowWithIcon(CREATESTRUCTA& cs, UINT iconId);
    // TRUE when the stored layout holds no bars or names only bars of
    // this frame.
    BOOL VerifyBarState(LPCSTR profile) const;

    // A bar's id as a command shows or hides the bar (the bar menu).
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg void OnClose();

    DECLARE_MESSAGE_MAP()

    CCJMenuBar m_wndMenuBar;
};
