// The view frame's status bar: its two panes or its one simple pane, the
// page and layout tab strip in the second pane, the progress bar while a
// drawing loads, and the menu prompts.
#include "views/viewer/view_frame.h"

#include "core/appsw.h"
#include "core/file_types.h"
#include "core/res_string.h"
#include "drawing/draw_thread/draw_commands.h"
#include "resources/views_ids.h"
#include "views/common/idle_use.h"
#include "views/common/view_state.h"

namespace {

const DWORD kTabStripStyle = WS_CHILD | WS_VISIBLE | CTabsetCtrl::kStyleShiftScrollBar |
                             CTabsetCtrl::kStyleScrollButtons | CTabsetCtrl::kStyleFirstLastButtons |
                             CTabsetCtrl::kStyleToolTips;
// The progress bar ends this far before the status bar's right edge when
// there is room; a text wider than the bar leaves it this much room.
const int kProgressRightGap = 15;
const int kProgressRoomNeeded = 115;
const int kProgressNarrowWidth = 100;

}  // namespace

bool CViewFrame::CreateTabStrip()
{
    if (!m_tabs.Create(kTabStripStyle, CRect(0, 0, 0, 0), &m_statusBar, IDC_PAGE_TABS))
        return false;
    m_tabs.SetOwner(this);
    PlaceTabStrip();
    return true;
}

void CViewFrame::PlaceTabStrip()
{
    if (m_tabs.GetSafeHwnd() == NULL)
        return;
    CRect pane;
    m_statusBar.GetItemRect(1, &pane);
    m_tabs.MoveWindow(pane.left + 2, pane.top - 1, pane.Width() - 2, pane.Height() + 1);
}

void CViewFrame::ShowStatusPanes(bool simple, LPCSTR simpleText)
{
    m_statusBar.SendMessage(SB_SIMPLE, simple ? TRUE : FALSE, 0);
    if (simple)
        m_statusBar.SendMessage(SB_SETTEXTA, SB_SIMPLEID, (LPARAM)(simpleText != NULL ? simpleText : ""));
}

int CViewFrame::GetTabCount() const
{
    return m_tabs.GetSafeHwnd() != NULL ? m_tabs.GetItemCount() : 0;
}

int CViewFrame::GetRasterFrameCount(TDwgDrawThread* thread) const
{
    CIdleUse use(thread);
    CxImage* image = use.IsHeld() ? use.Picture().GetImage().GetImage() : NULL;
    return image != NULL ? image->GetNumFrames() : 0;
}

void CViewFrame::ClearPageTabs()
{
    m_tabs.DeleteAllItems();
}

void CViewFrame::FillPageTabs()
{
    m_tabs.DeleteAllItems();
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread != NULL && IsDrawingKind(thread->GetFileKind())) {
        ShowStatusPanes(false, NULL);
        CStringList names;
        if (thread->HasDrawing() && thread->GetLayoutNames(names) > 0) {
            int index = 0;
            for (POSITION at = names.GetHeadPosition(); at != NULL; ++index)
                m_tabs.InsertItem(index, names.GetNext(at));
            m_tabs.SetCurSel(thread->GetDrawingValue());
        }
        m_tabs.ShowWindow(SW_SHOW);
    } else if (thread != NULL) {
        int frames = GetRasterFrameCount(thread);
        if (frames > 0) {
            ShowStatusPanes(false, NULL);
            for (int frame = 0; frame < frames; ++frame) {
                CString label;
                label.Format("%d", frame);
                m_tabs.InsertItem(frame, label);
            }
            m_tabs.SetCurSel(0);
            m_tabs.ShowWindow(SW_SHOW);
        } else {
            m_tabs.ShowWindow(SW_HIDE);
            ShowStatusPanes(true, NULL);
            ShowImageInfo();
        }
    }
    m_tabsNeedRefill = 0;
}

BOOL CViewFrame::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* header = (const NMHDR*)lParam;
    if (header->idFrom == IDC_PAGE_TABS && header->code == TCN_SELCHANGE)
        ApplyTabSelection();
    return CCJFrameWnd::OnNotify(wParam, lParam, result);
}

void CViewFrame::ApplyTabSelection()
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    int selected = m_tabs.GetCurSel();
    if (thread == NULL || selected < 0)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->SetLayoutIndex(selected);
        thread->SetPendingCommand(DCMD_SET_LAYOUT);
        thread->Wake(false);
        return;
    }
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        JGraphics& picture = use.Picture();
        picture.GetImage().DecodeFrame(selected);
        // The earlier views belong to the other page.
        picture.ClearViewportCache();
        picture.ResetView();
    }
    Regenerate();
}

void CViewFrame::OnNextLayout()
{
    int current = m_tabs.GetCurSel();
    if (GetTabCount() == 0 || current >= GetTabCount() - 1)
        return;
    m_tabs.SetCurSel(current + 1);
    ApplyTabSelection();
}

void CViewFrame::OnPreviousLayout()
{
    int current = m_tabs.GetCurSel();
    if (GetTabCount() == 0 || current <= 0)
        return;
    m_tabs.SetCurSel(current - 1);
    ApplyTabSelection();
}

void CViewFrame::OnUpdateNextLayout(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetIdleDrawThread() != NULL && GetTabCount() > 0 && m_tabs.GetCurSel() < GetTabCount() - 1);
}

void CViewFrame::OnUpdatePreviousLayout(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetIdleDrawThread() != NULL && GetTabCount() > 0 && m_tabs.GetCurSel() > 0);
}

// --- Progress -------------------------------------------------------------------------

void CViewFrame::BeginProgressDisplay()
{
    CString text;
    text.Format(LoadResString(IDS_OPENING_FILE), (LPCSTR)AppSW.GetViewPath());
    m_tabs.ShowWindow(SW_HIDE);
    ShowStatusPanes(true, text);

    CRect bar;
    m_statusBar.GetClientRect(&bar);
    CClientDC dc(&m_statusBar);
    HGDIOBJ formerFont = SelectObject(dc.GetSafeHdc(), (HFONT)m_statusBar.SendMessage(WM_GETFONT));
    CRect measured(0, 0, 0, 0);
    DrawTextA(dc.GetSafeHdc(), text, -1, &measured, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(dc.GetSafeHdc(), formerFont);
    CRect place = bar;
    place.left = bar.left + measured.Width();
    if (bar.right - place.left > kProgressRoomNeeded) {
        place.right = bar.right - kProgressRightGap;
    } else if (measured.Width() > bar.Width()) {
        place.left = bar.right - kProgressNarrowWidth;
        if (place.left < 0)
            place.left = 0;
    }
    m_progress = new CProgressCtrl;
    if (!m_progress->Create(WS_CHILD | WS_VISIBLE | WS_BORDER, place, &m_statusBar, IDC_LOAD_PROGRESS)) {
        delete m_progress;
        m_progress = NULL;
        return;
    }
    m_progress->UpdateWindow();
}

void CViewFrame::EndProgressDisplay()
{
    if (m_progress == NULL)
        return;
    ShowStatusPanes(false, NULL);
    PlaceTabStrip();
    m_tabs.ShowWindow(SW_SHOW);
    m_progress->DestroyWindow();
    delete m_progress;
    m_progress = NULL;
}

// --- Menu prompts ---------------------------------------------------------------------

void CViewFrame::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    CCJFrameWnd::OnMenuSelect(item, flags, menu);
    CString prompt;
    if (item != 0 && (flags & MF_POPUP) == 0 && !(flags == 0xFFFF && menu == NULL)) {
        prompt = LoadResString(item);
        int lineBreak = prompt.Find('\n');
        if (lineBreak >= 0)
            prompt = prompt.Left(lineBreak);
    }
    if (prompt.IsEmpty()) {
        if (IsRasterFile() && GetIdleDrawThread() != NULL)
            ShowImageInfo();
        if (GetTabCount() > 0) {
            ShowStatusPanes(false, NULL);
            m_tabs.ShowWindow(SW_SHOW);
        }
        return;
    }
    m_tabs.ShowWindow(SW_HIDE);
    ShowStatusPanes(true, prompt);
}
