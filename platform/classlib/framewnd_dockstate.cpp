// CFrameWnd's bar layout as a dock state: taken from the bars, put in
// force on them, and kept in the profile.
#include "platform/classlib/dockcontext.h"
#include <algorithm>
#include "platform/classlib/dockstate.h"
#include "platform/classlib/framewnd.h"
#include "platform/classlib/miniframe.h"

namespace {

const DWORD kHiddenBarFlag = 0x10000;

bool Contains(const std::vector<CControlBar*>& bars, CControlBar* bar)
{
    return std::find(bars.begin(), bars.end(), bar) != bars.end();
}

void PlaceInDockBar(CControlBar* bar, CDockBar* dockBar)
{
    bar->m_pDockBar = dockBar;
    DWORD style = bar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    style |= dockBar->m_dwStyle & CBRS_ALIGN_ANY;
    if (dockBar->m_bFloating)
        style |= CBRS_FLOATING;
    bar->SetBarStyle(style);
    if (::GetParent(bar->m_hWnd) != dockBar->m_hWnd)
        ::SetParent(bar->m_hWnd, dockBar->m_hWnd);
}

}  // namespace

void CFrameWnd::GetDockState(CDockState& state) const
{
    state.Clear();
    state.m_sizeScreen = CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    for (CControlBar* bar : m_listControlBars) {
        if (!bar->m_hWnd)
            continue;
        CControlBarInfo info;
        info.m_nBarID = (UINT)bar->GetDlgCtrlID();
        info.m_bVisible = bar->IsVisible();
        info.m_bDockBar = bar->IsDockBar();
        info.m_bHorz = (bar->m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        if (info.m_bDockBar) {
            const CDockBar* dockBar = static_cast<const CDockBar*>(bar);
            info.m_bFloating = dockBar->m_bFloating;
            if (dockBar->m_bFloating) {
                HWND frame = ::GetParent(dockBar->m_hWnd);
                CRect window;
                ::GetWindowRect(frame, &window);
                info.m_pointPos = window.TopLeft();
                info.m_bVisible = ::IsWindowVisible(frame);
            }
            for (INT_PTR i = 0; i < dockBar->m_arrBars.GetSize(); ++i) {
                CControlBar* docked = dockBar->GetDockedControlBar((int)i);
                DWORD entry = 0;
                if (docked)
                    entry = (DWORD)docked->GetDlgCtrlID() | (docked->IsVisible() ? 0 : kHiddenBarFlag);
                info.m_arrBarID.push_back(entry);
            }
        } else {
            info.m_bFloating = bar->IsFloating();
            if (bar->m_pDockBar) {
                CRect window;
                bar->GetWindowRect(&window);
                bar->m_pDockBar->ScreenToClient(&window);
                info.m_pointPos = window.TopLeft();
            }
            if (info.m_bFloating && (bar->m_dwStyle & CBRS_SIZE_DYNAMIC))
                info.m_nMRUWidth = bar->m_nMRUWidth;
            if (const CDockContext* context = bar->m_pDockContext) {
                info.m_bDocking = TRUE;
                info.m_uMRUDockID = context->m_uMRUDockID;
                info.m_rectMRUDockPos = context->m_rectMRUDockPos;
                info.m_dwMRUFloatStyle = context->m_dwMRUFloatStyle;
                info.m_ptMRUFloatPos = context->m_ptMRUFloatPos;
            }
        }
        state.m_arrBarInfo.push_back(info);
    }
}

void CFrameWnd::SetDockState(const CDockState& saved)
{
    CDockState state = saved;
    state.ScaleToScreen();
    size_t count = state.m_arrBarInfo.size();

    // The dock bars the state fills: the frame's sides and new floating frames.
    std::vector<CDockBar*> dockBars(count, nullptr);
    std::vector<CMiniDockFrameWnd*> newFrames;
    for (size_t i = 0; i < count; ++i) {
        const CControlBarInfo& info = state.m_arrBarInfo[i];
        if (!info.m_bDockBar)
            continue;
        if (!info.m_bFloating) {
            dockBars[i] = GetDockBar(info.m_nBarID);
            continue;
        }
        CMiniDockFrameWnd* frame = static_cast<CMiniDockFrameWnd*>(m_pFloatingFrameClass->CreateObject());
        if (!frame)
            continue;
        if (!frame->Create(this, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC)) {
            if (frame->m_hWnd)
                frame->DestroyWindow();
            else
                delete frame;
            continue;
        }
        frame->SetWindowPos((HWND)nullptr, info.m_pointPos.x, info.m_pointPos.y, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        newFrames.push_back(frame);
        dockBars[i] = &frame->m_wndDockBar;
    }

    // The bars each dock bar takes; a bar is placed once, and only bars
    // that can dock.
    std::vector<CControlBar*> placed;
    std::vector<CPtrArray> entries(count);
    for (size_t i = 0; i < count; ++i) {
        if (!dockBars[i])
            continue;
        for (DWORD id : state.m_arrBarInfo[i].m_arrBarID) {
            if (id == 0) {
                entries[i].Add(nullptr);
                continue;
            }
            CControlBar* bar = GetControlBar(id & 0xFFFF);
            if (!bar || bar->IsDockBar() || !bar->m_pDockContext || Contains(placed, bar))
                continue;
            placed.push_back(bar);
            entries[i].Add(bar);
        }
    }
    for (CControlBar* bar : placed) {
        if (bar->m_pDockBar)
            bar->m_pDockBar->RemoveControlBar(bar);
    }
    for (size_t i = 0; i < count; ++i) {
        CDockBar* dockBar = dockBars[i];
        if (!dockBar)
            continue;
        // Bars that stay in this dock bar come after the state's rows.
        CPtrArray all;
        all.Append(entries[i]);
        all.Add(nullptr);
        all.Append(dockBar->m_arrBars);
        dockBar->SetEntries(all);
        for (INT_PTR e = 0; e < entries[i].GetSize(); ++e) {
            if (CControlBar* bar = static_cast<CControlBar*>(entries[i].GetAt(e)))
                PlaceInDockBar(bar, dockBar);
        }
    }

    // Each bar's own record: place in its dock bar, visibility and history.
    for (const CControlBarInfo& info : state.m_arrBarInfo) {
        CControlBar* bar = info.m_bDockBar ? nullptr : GetControlBar(info.m_nBarID);
        if (!bar || bar->IsDockBar())
            continue;
        if (bar->m_pDockBar && info.m_pointPos != CPoint(-1, -1)) {
            ::SetWindowPos(bar->m_hWnd, nullptr, info.m_pointPos.x, info.m_pointPos.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (info.m_bFloating && (bar->m_dwStyle & CBRS_SIZE_DYNAMIC))
            bar->m_nMRUWidth = info.m_nMRUWidth;
        if (bar->m_pDockContext && info.m_bDocking) {
            bar->m_pDockContext->m_uMRUDockID = info.m_uMRUDockID;
            bar->m_pDockContext->m_rectMRUDockPos = info.m_rectMRUDockPos;
            bar->m_pDockContext->m_dwMRUFloatStyle = info.m_dwMRUFloatStyle;
            bar->m_pDockContext->m_ptMRUFloatPos = info.m_ptMRUFloatPos;
        }
        bar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
        bar->ShowWindow(info.m_bVisible ? SW_SHOWNA : SW_HIDE);
    }

    // New floating frames take their bars' size and stay on the screen;
    // one left empty goes.
    for (CMiniDockFrameWnd* frame : newFrames) {
        CControlBar* bar = frame->GetFirstBar();
        if (!bar) {
            frame->DestroyWindow();
            continue;
        }
        CString title;
        bar->GetWindowText(title);
        frame->SetWindowText(title);
        CSize size = frame->WindowSizeFor(bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH));
        frame->SetWindowPos((HWND)nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame->RecalcLayout();
        CRect window;
        frame->GetWindowRect(&window);
        FloatControlBar(bar, window.TopLeft(), bar->m_dwStyle);
        frame->ShowWindow(frame->m_wndDockBar.GetDockedVisibleCount() ? SW_SHOWNA : SW_HIDE);
    }
    RecalcLayout();
}

void CFrameWnd::LoadBarState(LPCSTR profile)
{
    CDockState state;
    state.LoadState(profile);
    SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCSTR profile) const
{
    CDockState state;
    GetDockState(state);
    state.SaveState(profile);
}
