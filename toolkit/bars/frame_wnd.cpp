#include "toolkit/bars/frame_wnd.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dock_bar.h"
#include "toolkit/bars/mini_dock_frame_wnd.h"

IMPLEMENT_DYNCREATE(CCJFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CCJFrameWnd, CFrameWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

void CCJFrameWnd::LoadBarState(LPCSTR profile)
{
    if (!VerifyBarState(profile))
        return;
    CFrameWnd::LoadBarState(profile);
    CCJControlBar::GlobalLoadState(profile);
    // Floating sizing bars take their stored floating size.
    for (CControlBar* bar : m_listControlBars) {
        if (!CCJControlBar::IsSizingBar(bar) || !bar->IsFloating())
            continue;
        CMiniDockFrameWnd* frame = static_cast<CMiniDockFrameWnd*>(bar->GetDockingFrame());
        CSize size = frame->WindowSizeFor(bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH));
        frame->SetWindowPos((HWND)nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RecalcLayout();
}

void CCJFrameWnd::SaveBarState(LPCSTR profile) const
{
    CFrameWnd::SaveBarState(profile);
    CCJControlBar::GlobalSaveState(profile);
}

BOOL CCJFrameWnd::VerifyBarState(LPCSTR profile) const
{
    CDockState state;
    if (!state.LoadState(profile))
        return FALSE;
    for (const CControlBarInfo& info : state.m_arrBarInfo) {
        for (DWORD entry : info.m_arrBarID) {
            if (entry && !GetControlBar(entry & 0xFFFF))
                return FALSE;
        }
        // Floating frames are made by the load; every other record is a bar.
        if (!info.m_bFloating && !GetControlBar(info.m_nBarID))
            return FALSE;
    }
    return TRUE;
}

void CCJFrameWnd::EnableDocking(DWORD dockStyle)
{
    m_pDockBarClass = RUNTIME_CLASS(CCJDockBar);
    m_pFloatingFrameClass = RUNTIME_CLASS(CCJMiniDockFrameWnd);
    CFrameWnd::EnableDocking(dockStyle);
}

void CCJFrameWnd::DockControlBarLeftOf(CControlBar* bar, CControlBar* leftOf)
{
    RecalcLayout();
    CRect rect;
    leftOf->GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    DWORD style = leftOf->GetBarStyle();
    UINT side = AFX_IDW_DOCKBAR_RIGHT;
    if (style & CBRS_ALIGN_TOP)
        side = AFX_IDW_DOCKBAR_TOP;
    else if (style & CBRS_ALIGN_BOTTOM)
        side = AFX_IDW_DOCKBAR_BOTTOM;
    else if (style & CBRS_ALIGN_LEFT)
        side = AFX_IDW_DOCKBAR_LEFT;
    DockControlBar(bar, side, &rect);
}

BOOL CCJFrameWnd::PreCreateWindowWithIcon(CREATESTRUCTA& cs, UINT iconId)
{
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconId));
    cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr, icon);
    return PreCreateWindow(cs);
}

BOOL CCJFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (nCode != CN_COMMAND && nCode != (int)CN_UPDATE_COMMAND_UI)
        return FALSE;
    CControlBar* bar = GetControlBar(nID);
    if (!bar || bar->IsDockBar())
        return FALSE;
    if (pHandlerInfo)
        return TRUE;
    if (nCode == CN_COMMAND)
        ShowControlBar(bar, !bar->IsVisible(), FALSE);
    else
        static_cast<CCmdUI*>(pExtra)->SetCheck(bar->IsVisible());
    return TRUE;
}

void CCJFrameWnd::OnClose()
{
    SetActiveView(nullptr);
    CFrameWnd::OnClose();
}
