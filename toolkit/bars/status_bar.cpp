#include "toolkit/bars/status_bar.h"
#include <algorithm>
#include <memory>

IMPLEMENT_DYNCREATE(CCJStatusBarPaneControlInfo, CObject)
IMPLEMENT_DYNAMIC(CCJStatusBarPane, CObject)
IMPLEMENT_DYNAMIC(CCJStatusBar, CStatusBar)

BEGIN_MESSAGE_MAP(CCJStatusBar, CStatusBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// A new pane's width.
const int kNewPaneWidth = 50;

}  // namespace

CCJStatusBar::~CCJStatusBar()
{
    for (CCJStatusBarPaneControlInfo* info : m_arrPaneControls) {
        if (info->m_hWnd && info->m_hWnd->IsWindow())
            ::CloseWindow(info->m_hWnd->m_hWnd);
        if (info->m_bAutoDestroy)
            delete info->m_hWnd;
        delete info;
    }
}

void CCJStatusBar::OnSize(UINT type, int cx, int cy)
{
    CStatusBar::OnSize(type, cx, cy);
    PositionControls();
}

void CCJStatusBar::PositionControls()
{
    int borders[3] = {};
    SendMessage(SB_GETBORDERS, 0, (LPARAM)borders);
    for (CCJStatusBarPaneControlInfo* info : m_arrPaneControls) {
        int index = CommandToIndex(info->m_nPaneID);
        CRect rect;
        if (index < 0 || !SendMessage(SB_GETRECT, index, (LPARAM)&rect))
            rect.SetRectEmpty();
        if (!(GetPaneStyle(index) & SBPS_FILLCONTROL))
            rect.DeflateRect(borders[0] + borders[2], borders[1]);
        if (info->m_hWnd && info->m_hWnd->IsWindow())
            info->m_hWnd->MoveWindow(&rect, TRUE);
    }
}

CCJStatusBarPaneControlInfo* CCJStatusBar::FindPaneControl(UINT paneId)
{
    for (CCJStatusBarPaneControlInfo* info : m_arrPaneControls) {
        if (info->m_nPaneID == paneId)
            return info;
    }
    return nullptr;
}

BOOL CCJStatusBar::AddControl(CWnd* control, UINT paneId, BOOL autoDestroy)
{
    if (FindPaneControl(paneId) || CommandToIndex(paneId) < 0)
        return FALSE;
    CCJStatusBarPaneControlInfo* info = new CCJStatusBarPaneControlInfo;
    info->m_hWnd = control;
    info->m_nPaneID = paneId;
    info->m_bAutoDestroy = autoDestroy;
    m_arrPaneControls.push_back(info);
    PositionControls();
    Invalidate();
    return TRUE;
}

void CCJStatusBar::SetPaneWidth(int index, int width)
{
    UINT id, style;
    int oldWidth;
    GetPaneInfo(index, id, style, oldWidth);
    SetPaneInfo(index, id, style, width);
}

BOOL CCJStatusBar::GetPaneInfoEx(int index, CCJStatusBarPane* pane)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    GetPaneInfo(index, pane->m_nID, pane->m_nStyle, pane->m_cxText);
    pane->m_strText = GetPaneText(index);
    return TRUE;
}

void CCJStatusBar::CopyPanes(std::vector<CCJStatusBarPane*>& panes)
{
    for (int i = 0; i < GetCount(); ++i) {
        CCJStatusBarPane* pane = new CCJStatusBarPane;
        GetPaneInfoEx(i, pane);
        panes.push_back(pane);
    }
}

void CCJStatusBar::RebuildPanes(const std::vector<CCJStatusBarPane*>& panes, const CCJStatusBarPane* added)
{
    std::vector<UINT> ids;
    for (CCJStatusBarPane* pane : panes)
        ids.push_back(pane->m_nID);
    SetIndicators(ids.data(), (int)ids.size());
    SetRedraw(FALSE);
    for (size_t i = 0; i < panes.size(); ++i) {
        CCJStatusBarPane* pane = panes[i];
        if (pane == added)
            SetPaneInfo((int)i, pane->m_nID, 0, kNewPaneWidth);
        else
            SetPaneInfo((int)i, pane->m_nID, pane->m_nStyle, pane->m_cxText);
    }
    for (size_t i = 0; i < panes.size(); ++i)
        SetPaneText((int)i, panes[i]->m_strText, TRUE);
    SetRedraw(TRUE);
    Invalidate();
    PositionControls();
}

BOOL CCJStatusBar::AddIndicator(int position, UINT id)
{
    std::vector<CCJStatusBarPane*> panes;
    CopyPanes(panes);
    std::vector<std::unique_ptr<CCJStatusBarPane>> owned(panes.begin(), panes.end());
    int count = (int)panes.size();
    if (position < 0)
        position = 0;
    if (position > count)
        position = count - 1;
    if (CommandToIndex(id) >= 0)
        return FALSE;
    CCJStatusBarPane* added = new CCJStatusBarPane;
    added->m_nID = id;
    owned.emplace_back(added);
    panes.insert(panes.begin() + std::max(position, 0), added);
    RebuildPanes(panes, added);
    return TRUE;
}

BOOL CCJStatusBar::RemoveIndicator(UINT id)
{
    if (CommandToIndex(id) < 0)
        return FALSE;
    SetRedraw(FALSE);
    for (auto it = m_arrPaneControls.begin(); it != m_arrPaneControls.end(); ++it) {
        CCJStatusBarPaneControlInfo* info = *it;
        if (info->m_nPaneID != id)
            continue;
        if (info->m_bAutoDestroy && info->m_hWnd) {
            info->m_hWnd->DestroyWindow();
            delete info->m_hWnd;
        }
        delete info;
        m_arrPaneControls.erase(it);
        break;
    }
    std::vector<CCJStatusBarPane*> panes;
    CopyPanes(panes);
    std::vector<std::unique_ptr<CCJStatusBarPane>> owned(panes.begin(), panes.end());
    panes.erase(std::remove_if(panes.begin(), panes.end(), [id](CCJStatusBarPane* pane) { return pane->m_nID == id; }),
                panes.end());
    RebuildPanes(panes, nullptr);
    return TRUE;
}
