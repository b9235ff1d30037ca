#include "platform/classlib/statusbar.h"
#include "platform/classlib/dc.h"
#include "platform/classlib/module_state.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SETTEXT, &CStatusBar::OnSetText)
END_MESSAGE_MAP()

namespace {

// Room beside a pane's text for the pane's edges and margins.
const int kPaneTextMargin = 8;

// The update request of one status-bar pane.
class CStatusCmdUI : public CCmdUI {
public:
    CStatusBar* bar = nullptr;

    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        UINT style = bar->GetPaneStyle((int)m_nIndex);
        UINT updated = on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (updated != style)
            bar->SetPaneStyle((int)m_nIndex, updated);
    }
    void SetCheck(int check) override
    {
        UINT style = bar->GetPaneStyle((int)m_nIndex);
        UINT updated = check ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT);
        if (updated != style)
            bar->SetPaneStyle((int)m_nIndex, updated);
    }
    void SetText(LPCSTR text) override { bar->SetPaneText((int)m_nIndex, text); }
};

}  // namespace

CStatusBar::CStatusBar()
{
    SetBorders(0, 0, 0, 0);
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, 0, style, id);
}

BOOL CStatusBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&classes);
    DWORD windowStyle = (style & ~CBRS_ALL) | controlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
                        CCS_NORESIZE;
    return CWnd::Create(STATUSCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    m_panes.clear();
    CClientDC dc(this);
    HGDIOBJ oldFont = ::SelectObject(dc.m_hDC, (HFONT)SendMessage(WM_GETFONT));
    for (int i = 0; i < count; ++i) {
        Pane pane = {ids[i], 0, ids[i] ? SBPS_NORMAL : (UINT)SBPS_STRETCH, CString()};
        if (ids[i]) {
            char text[256] = {};
            ::LoadStringA(AfxGetResourceHandle(), ids[i], text, sizeof(text));
            pane.text = text;
            SIZE extent = {};
            ::GetTextExtentPoint32A(dc.m_hDC, text, lstrlenA(text), &extent);
            pane.width = extent.cx;
        }
        m_panes.push_back(pane);
    }
    ::SelectObject(dc.m_hDC, oldFont);
    UpdateAllPanes(TRUE, TRUE);
    return TRUE;
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].id == id)
            return (int)i;
    }
    return -1;
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[index].id : 0;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const
{
    if (!SendMessage(SB_GETRECT, index, (LPARAM)rect))
        ::SetRectEmpty(rect);
}

CString CStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[index].text : CString();
}

BOOL CStatusBar::SetPaneText(int index, LPCSTR text, BOOL update)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    m_panes[index].text = text ? text : "";
    if (update)
        ShowPaneText(index);
    return TRUE;
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    if (index < 0 || index >= GetCount()) {
        id = style = 0;
        width = 0;
        return;
    }
    id = m_panes[index].id;
    style = m_panes[index].style;
    width = m_panes[index].width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    if (index < 0 || index >= GetCount())
        return;
    Pane& pane = m_panes[index];
    bool textChanged = pane.style != style;
    pane.id = id;
    pane.style = style;
    pane.width = width;
    UpdateAllPanes(TRUE, FALSE);
    if (textChanged)
        ShowPaneText(index);
}

UINT CStatusBar::GetPaneStyle(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[index].style : 0;
}

void CStatusBar::SetPaneStyle(int index, UINT style)
{
    if (index < 0 || index >= GetCount() || m_panes[index].style == style)
        return;
    bool stretchChanged = (m_panes[index].style ^ style) & SBPS_STRETCH;
    m_panes[index].style = style;
    if (stretchChanged)
        UpdateAllPanes(TRUE, FALSE);
    ShowPaneText(index);
}

void CStatusBar::ShowPaneText(int index)
{
    const Pane& pane = m_panes[index];
    LPCSTR text = (pane.style & SBPS_DISABLED) ? "" : (LPCSTR)pane.text;
    SendMessage(SB_SETTEXTA, index | (pane.style & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW)), (LPARAM)text);
}

void CStatusBar::UpdateAllPanes(BOOL updateRects, BOOL updateTexts)
{
    if (!m_hWnd || m_panes.empty())
        return;
    if (updateRects) {
        int borders[3] = {};
        SendMessage(SB_GETBORDERS, 0, (LPARAM)borders);
        std::vector<int> edges;
        int x = 0;
        for (const Pane& pane : m_panes) {
            x += pane.width + kPaneTextMargin + borders[2];
            edges.push_back(x);
        }
        // The first stretching pane takes the room that is left.
        CRect client;
        GetClientRect(&client);
        int extra = client.Width() - x;
        for (size_t i = 0; extra > 0 && i < m_panes.size(); ++i) {
            if (!(m_panes[i].style & SBPS_STRETCH))
                continue;
            for (size_t j = i; j < edges.size(); ++j)
                edges[j] += extra;
            break;
        }
        // The last pane ends at the bar's right edge, given as a number: the
        // control works out its panes' rectangles again only when an edge
        // changes, and a bar that was only resized would keep the old ones.
        edges.back() = client.right;
        SendMessage(SB_SETPARTS, edges.size(), (LPARAM)edges.data());
    }
    if (updateTexts) {
        for (int i = 0; i < GetCount(); ++i)
            ShowPaneText(i);
    }
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    // A memory context like the screen measures the font as the bar's own
    // would, without asking the window system for the bar's visible region.
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr))
        return CSize(stretch ? 32767 : 0, 0);
    HGDIOBJ oldFont = ::SelectObject(dc.m_hDC, (HFONT)SendMessage(WM_GETFONT));
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc.m_hDC, &metrics);
    ::SelectObject(dc.m_hDC, oldFont);
    int borders[3] = {};
    SendMessage(SB_GETBORDERS, 0, (LPARAM)borders);
    // The text, the panes' sunken edges and the bar's own border.
    int height = metrics.tmHeight + 2 * borders[1] + 6;
    return CSize(stretch ? 32767 : 0, height);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL)
{
    CStatusCmdUI state;
    state.bar = this;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)GetCount();
    for (int i = 0; i < GetCount(); ++i) {
        if (m_panes[i].id == 0)
            continue;
        state.m_nIndex = (UINT)i;
        state.m_nID = m_panes[i].id;
        // A pane without a handler keeps what the program gave it.
        state.DoUpdate(target, FALSE);
    }
}

void CStatusBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    UpdateAllPanes(TRUE, FALSE);
}

void CStatusBar::OnPaint()
{
    Default();
}

BOOL CStatusBar::OnEraseBkgnd(CDC*)
{
    return (BOOL)Default();
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM text)
{
    int index = CommandToIndex(0);
    if (index < 0)
        index = 0;
    if (!SetPaneText(index, (LPCSTR)text))
        return Default();
    return TRUE;
}
