#include "toolkit/bars/control_bar.h"
#include <algorithm>
#include "resources/toolkit_ids.h"
#include "toolkit/common/global_data.h"

IMPLEMENT_DYNAMIC(CCJControlBar, CCJToolBarBase)

BEGIN_MESSAGE_MAP(CCJControlBar, CCJToolBarBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_MESSAGE(WM_NCPAINT, &CCJControlBar::OnNcPaintMessage)
    ON_WM_SETCURSOR()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_CAPTURECHANGED()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

const UINT_PTR kHoverTimer = 1;
const UINT kHoverMilliseconds = 10;
// Stored sizes are held below this, so that a row's sums never overflow.
const int kMaxStoredSize = 32767;

// Every sizing bar with a window (membership), and the bars whose state
// is loaded and saved together.
std::vector<CCJControlBar*>& SizingBars()
{
    static std::vector<CCJControlBar*> bars;
    return bars;
}

std::vector<CCJControlBar*>& StateBars()
{
    static std::vector<CCJControlBar*> bars;
    return bars;
}

void Forget(std::vector<CCJControlBar*>& bars, CCJControlBar* bar)
{
    bars.erase(std::remove(bars.begin(), bars.end(), bar), bars.end());
}

CSize ClampStored(CSize size, CSize minimum)
{
    return CSize(std::min(std::max((int)size.cx, (int)minimum.cx), kMaxStoredSize),
                 std::min(std::max((int)size.cy, (int)minimum.cy), kMaxStoredSize));
}

}  // namespace

CCJControlBar::CCJControlBar()
    : m_buttons{CSCBButton(CSCBButton::kHideHit, IDS_HIDE_BAR), CSCBButton(CSCBButton::kExpandHit, IDS_CONTRACT_BAR)}
{
}

CCJControlBar::~CCJControlBar()
{
    // A bar whose window went with its parent still leaves the registries.
    Forget(SizingBars(), this);
    Forget(StateBars(), this);
}

BOOL CCJControlBar::IsSizingBar(const CControlBar* bar)
{
    const std::vector<CCJControlBar*>& bars = SizingBars();
    return std::find(bars.begin(), bars.end(), bar) != bars.end();
}

BOOL CCJControlBar::Create(CWnd* parent, UINT id, LPCSTR title, int cx, int cy, DWORD style, BOOL caption)
{
    DWORD barStyle = (style | WS_CHILD | WS_VISIBLE) & CBRS_ALL;
    m_dwStyle = barStyle;
    m_horzSize = m_vertSize = m_floatSize = CSize(cx, cy);
    m_captionThickness = caption ? std::max(12, g_globalData.cyMenuText) : 0;
    LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                             (HBRUSH)(COLOR_BTNFACE + 1), nullptr);
    DWORD windowStyle = ((style | WS_CHILD | WS_VISIBLE) & ~CBRS_ALL) | WS_CLIPCHILDREN;
    if (!CWnd::Create(windowClass, title, windowStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    m_dwStyle = barStyle | CBRS_SIZE_DYNAMIC;
    return TRUE;
}

BOOL CCJControlBar::DestroyWindow()
{
    Forget(SizingBars(), this);
    return CWnd::DestroyWindow();
}

int CCJControlBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CControlBar::OnCreate(cs) == -1)
        return -1;
    SizingBars().push_back(this);
    StateBars().push_back(this);
    m_edgeFlags |= kEdgesDrawn;
    if (m_toolTip.Create(this)) {
        m_toolTip.Activate(TRUE);
        for (int i = 0; i < 2; ++i) {
            char text[128] = {};
            ::LoadStringA(AfxGetResourceHandle(), m_buttons[i].m_tipTextId, text, sizeof(text));
            // The tools are not subclassed: PreTranslateMessage relays the
            // bar's mouse messages, and a subclassed bar would pay for a
            // property look-up in every message, its layout's included.
            TOOLINFOA info = {};
            info.cbSize = sizeof(info);
            info.hwnd = m_hWnd;
            info.uId = (UINT_PTR)(i + 1);
            info.lpszText = text;
            m_toolTip.SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&info);
        }
    }
    g_globalData.LoadSizingCursors();
    return 0;
}

void CCJControlBar::OnDestroy()
{
    Forget(StateBars(), this);
    CControlBar::OnDestroy();
}

BOOL CCJControlBar::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.m_hWnd)
        m_toolTip.RelayEvent(msg);
    return CCJToolBarBase::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------
// Where the bar is

UINT CCJControlBar::DockSide() const
{
    if (!m_pDockBar || m_pDockBar->m_bFloating || !m_pDockBar->m_hWnd)
        return 0;
    UINT id = (UINT)m_pDockBar->GetDlgCtrlID();
    return IsSideDockBarId(id) ? id : 0;
}

BOOL CCJControlBar::IsHorzDocked() const
{
    UINT side = DockSide();
    return side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_BOTTOM;
}

BOOL CCJControlBar::IsVertDocked() const
{
    UINT side = DockSide();
    return side == AFX_IDW_DOCKBAR_LEFT || side == AFX_IDW_DOCKBAR_RIGHT;
}

BOOL CCJControlBar::IsRowEdge() const
{
    if (IsHorzDocked())
        return m_dragEdge == HTLEFT || m_dragEdge == HTRIGHT;
    return m_dragEdge == HTTOP || m_dragEdge == HTBOTTOM;
}

void CCJControlBar::GetRowRange(int& first, int& last, int& self) const
{
    first = last = self = -1;
    if (!m_pDockBar)
        return;
    self = m_pDockBar->FindBar(const_cast<CCJControlBar*>(this));
    if (self < 0)
        return;
    int count = (int)m_pDockBar->m_arrBars.GetSize();
    for (first = self; first > 0 && m_pDockBar->GetDockedControlBar(first - 1);)
        --first;
    for (last = self; last + 1 < count && m_pDockBar->GetDockedControlBar(last + 1);)
        ++last;
}

void CCJControlBar::GetRowBars(std::vector<CCJControlBar*>& bars) const
{
    bars.clear();
    int first, last, self;
    GetRowRange(first, last, self);
    if (self < 0)
        return;
    for (int i = first; i <= last; ++i) {
        CControlBar* bar = m_pDockBar->GetDockedControlBar(i);
        if (bar && IsSizingBar(bar) && bar->IsVisible())
            bars.push_back(static_cast<CCJControlBar*>(bar));
    }
}

BOOL CCJControlBar::IsLastOnRow() const
{
    int first, last, self;
    GetRowRange(first, last, self);
    return self >= 0 && self == last;
}

CCJControlBar* CCJControlBar::DragNeighbour() const
{
    std::vector<CCJControlBar*> row;
    GetRowBars(row);
    auto found = std::find(row.begin(), row.end(), this);
    if (found == row.end())
        return nullptr;
    int index = (int)(found - row.begin()) + ((m_dragEdge == HTLEFT || m_dragEdge == HTTOP) ? -1 : 1);
    return index >= 0 && index < (int)row.size() ? row[index] : nullptr;
}

CSize CCJControlBar::FreeArea() const
{
    CRect rect;
    m_pDockSite->GetClientRect(&rect);
    m_pDockSite->RepositionBars(rect, TRUE);
    return rect.Size();
}

// ---------------------------------------------------------------------------
// Layout

CSize CCJControlBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    if (stretch)
        return horz ? CSize(32767, m_horzSize.cy) : CSize(m_vertSize.cx, 32767);

    int first, last, self;
    GetRowRange(first, last, self);
    if (self >= 0) {
        // Bars of the row shown or hidden later take their state now.
        HDWP defer = nullptr;
        for (int i = first; i <= last; ++i) {
            CControlBar* bar = m_pDockBar->GetDockedControlBar(i);
            if (bar && IsSizingBar(bar))
                bar->ApplyDelayedShow(m_pDockBar->m_bLayoutQuery ? nullptr : &defer);
        }
        if (defer)
            ::EndDeferWindowPos(defer);
    }
    std::vector<CCJControlBar*> row;
    GetRowBars(row);
    m_alone = row.size() < 2;
    CRect layout = m_pDockBar ? m_pDockBar->m_rectLayout : CRect();
    if (layout.IsRectEmpty() && m_pDockSite)
        m_pDockSite->GetClientRect(&layout);
    int total = horz ? layout.Width() : layout.Height() - 2;
    if (IsVisible() && DockSide() && m_parentSizing && !row.empty() && row.front() == this) {
        if (ShareRowLength(total, horz))
            AlignRow();
    }
    m_parentSizing = FALSE;
    CSize size = horz ? m_horzSize : m_vertSize;
    return CSize(std::max(size.cx, m_minSize.cx), std::max(size.cy, m_minSize.cy));
}

CSize CCJControlBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (mode & (LM_HORZDOCK | LM_VERTDOCK)) {
        if (length == -1)
            m_parentSizing = TRUE;
        return CControlBar::CalcDynamicLayout(length, mode);
    }
    if (!(mode & (LM_MRUWIDTH | LM_COMMIT))) {
        if (mode & LM_LENGTHY)
            m_floatSize.cy = length;
        else
            m_floatSize.cx = length;
    }
    m_floatSize.cx = std::max(m_floatSize.cx, m_minSize.cx);
    m_floatSize.cy = std::max(m_floatSize.cy, m_minSize.cy);
    return m_floatSize;
}

BOOL CCJControlBar::ShareRowLength(int total, BOOL horz)
{
    if (!m_pDockBar)
        return TRUE;
    int first, last, self;
    GetRowRange(first, last, self);
    for (int i = first; self >= 0 && i <= last; ++i) {
        CControlBar* bar = m_pDockBar->GetDockedControlBar(i);
        if (bar && bar->IsVisible() && !IsSizingBar(bar)) {
            CRect window;
            bar->GetWindowRect(&window);
            total -= horz ? window.Width() : window.Height();
        }
    }
    std::vector<CCJControlBar*> row;
    GetRowBars(row);
    auto length = [horz](CSize& size) -> LONG& { return horz ? size.cx : size.cy; };
    auto thickness = [horz](CSize& size) -> LONG& { return horz ? size.cy : size.cx; };
    auto own = [horz](CCJControlBar* bar) -> CSize& { return horz ? bar->m_horzSize : bar->m_vertSize; };
    int sum = 0, minimumSum = 2, thickest = 0;
    for (CCJControlBar* bar : row) {
        sum += length(own(bar));
        minimumSum += length(bar->m_minSize);
        thickest = std::max(thickest, (int)thickness(own(bar)));
    }
    if (total < minimumSum) {
        if (row.size() < 2 || self < 0)
            return FALSE;
        // The row cannot hold this bar too: it takes a row of its own right
        // after it. With the bar taken out, the row ends before index last.
        CPtrArray& entries = m_pDockBar->m_arrBars;
        entries.RemoveAt(self);
        entries.InsertAt(last, (void*)nullptr);
        entries.InsertAt(last + 1, (void*)this);
        if (last + 2 == entries.GetSize())
            entries.Add(nullptr);
        // The layout running now has passed the bar's new place.
        if (m_pDockSite)
            m_pDockSite->DelayRecalcLayout();
        return FALSE;
    }
    for (CCJControlBar* bar : row)
        thickness(own(bar)) = thickest;
    int difference = total - sum;
    bool keptSizesCleared = false;
    while (difference != 0) {
        bool progress = false;
        int step = difference > 0 ? 1 : -1;
        for (CCJControlBar* bar : row) {
            if (difference == 0)
                break;
            if (bar->m_keepSize || (step < 0 && length(own(bar)) <= length(bar->m_minSize)))
                continue;
            length(own(bar)) += step;
            difference -= step;
            progress = true;
        }
        if (!progress) {
            if (keptSizesCleared)
                break;
            for (CCJControlBar* bar : row)
                bar->m_keepSize = FALSE;
            keptSizesCleared = true;
        }
    }
    // A kept size is kept for one negotiation.
    for (CCJControlBar* bar : row)
        bar->m_keepSize = FALSE;
    return TRUE;
}

void CCJControlBar::AlignRow()
{
    if (!m_pDockBar)
        return;
    int first, last, self;
    GetRowRange(first, last, self);
    if (self < 0)
        return;
    BOOL horz = IsHorzDocked();
    int position = horz ? 0 : -2;
    bool moved = false;
    CControlBar* previous = nullptr;
    for (int i = first; i <= last; ++i) {
        CControlBar* bar = m_pDockBar->GetDockedControlBar(i);
        if (!bar || !bar->IsVisible())
            continue;
        CRect window;
        bar->GetWindowRect(&window);
        m_pDockBar->ScreenToClient(&window);
        CSize size = window.Size();
        if (IsSizingBar(bar)) {
            CCJControlBar* sizing = static_cast<CCJControlBar*>(bar);
            size = horz ? sizing->m_horzSize : sizing->m_vertSize;
        }
        if ((horz ? window.left : window.top) != position) {
            CPoint place = horz ? CPoint(position, window.top) : CPoint(window.left, position);
            ::SetWindowPos(bar->m_hWnd, nullptr, place.x, place.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            moved = true;
        }
        // Each such change of a sizing bar redraws its whole frame: one is
        // made only where the order differs.
        if (moved && previous && ::GetWindow(bar->m_hWnd, GW_HWNDNEXT) != previous->m_hWnd)
            ::SetWindowPos(previous->m_hWnd, bar->m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = bar;
        position += horz ? size.cx : size.cy;
    }
    if (moved && m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
}

void CCJControlBar::ToggleExpand()
{
    std::vector<CCJControlBar*> row;
    GetRowBars(row);
    if (!DockSide() || row.size() < 2)
        return;
    m_expanded = !m_expanded;
    CRect layout = m_pDockBar->m_rectLayout;
    if (layout.IsRectEmpty())
        m_pDockSite->GetClientRect(&layout);
    BOOL horz = IsHorzDocked();
    if (m_expanded) {
        for (CCJControlBar* bar : row)
            bar->m_savedSize = bar->SizeOfOrientation();
        for (CCJControlBar* bar : row) {
            CSize& size = bar->SizeOfOrientation();
            if (horz)
                size.cx = bar == this ? layout.Width() + 2 : bar->m_minSize.cx;
            else
                size.cy = bar == this ? layout.Height() - 2 : bar->m_minSize.cy;
        }
    } else {
        for (CCJControlBar* bar : row)
            bar->SizeOfOrientation() = bar->m_savedSize;
    }
    m_pDockSite->DelayRecalcLayout();
}

// ---------------------------------------------------------------------------
// State in the profile

void CCJControlBar::LoadState(LPCSTR profile)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CString section;
    section.Format("%s-SCBar-%d", profile, GetDlgCtrlID());
    auto read = [&](LPCSTR entry, LONG current) { return (LONG)(int)app->GetProfileInt(section, entry, current); };
    m_horzSize = ClampStored(CSize(read("sizeHorzCX", m_horzSize.cx), read("sizeHorzCY", m_horzSize.cy)), m_minSize);
    m_vertSize = ClampStored(CSize(read("sizeVertCX", m_vertSize.cx), read("sizeVertCY", m_vertSize.cy)), m_minSize);
    m_floatSize =
        ClampStored(CSize(read("sizeFloatCX", m_floatSize.cx), read("sizeFloatCY", m_floatSize.cy)), m_minSize);
    if (app->GetProfileInt(section, "Expanded", 0))
        ToggleExpand();
}

void CCJControlBar::SaveState(LPCSTR profile)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CString section;
    section.Format("%s-SCBar-%d", profile, GetDlgCtrlID());
    CSize horz = m_horzSize, vert = m_vertSize;
    if (m_expanded) {
        if (IsHorzDocked())
            horz = m_savedSize;
        else
            vert = m_savedSize;
    }
    app->WriteProfileInt(section, "sizeHorzCX", horz.cx);
    app->WriteProfileInt(section, "sizeHorzCY", horz.cy);
    app->WriteProfileInt(section, "sizeVertCX", vert.cx);
    app->WriteProfileInt(section, "sizeVertCY", vert.cy);
    app->WriteProfileInt(section, "sizeFloatCX", m_floatSize.cx);
    app->WriteProfileInt(section, "sizeFloatCY", m_floatSize.cy);
    app->WriteProfileInt(section, "Expanded", m_expanded ? 1 : 0);
}

void CCJControlBar::GlobalLoadState(LPCSTR profile)
{
    std::vector<CCJControlBar*> bars = StateBars();
    for (CCJControlBar* bar : bars)
        bar->LoadState(profile);
}

void CCJControlBar::GlobalSaveState(LPCSTR profile)
{
    for (CCJControlBar* bar : StateBars())
        bar->SaveState(profile);
}

// ---------------------------------------------------------------------------
// Non-client area: edges, gripper strip and buttons

void CCJControlBar::OnWindowPosChanging(WINDOWPOS* position)
{
    position->flags |= SWP_FRAMECHANGED;
    CCJToolBarBase::OnWindowPosChanging(position);
    if (DockSide() && (position->flags & SWP_SHOWWINDOW))
        m_keepSize = TRUE;
}

BOOL CCJControlBar::HasEdge(UINT edge) const
{
    UINT side = DockSide();
    if (!side)
        return FALSE;
    switch (edge) {
    case HTLEFT:
        return side == AFX_IDW_DOCKBAR_RIGHT && (m_edgeFlags & kLeftEdge);
    case HTRIGHT:
        return (m_edgeFlags & kRightEdge) && !(IsLastOnRow() && side != AFX_IDW_DOCKBAR_LEFT);
    case HTTOP:
        return side == AFX_IDW_DOCKBAR_BOTTOM && (m_edgeFlags & kTopEdge);
    case HTBOTTOM:
        return side == AFX_IDW_DOCKBAR_TOP || ((m_edgeFlags & kBottomEdge) && !IsLastOnRow());
    default:
        return FALSE;
    }
}

BOOL CCJControlBar::GetEdgeStrip(const CRect& window, UINT edge, CRect& strip) const
{
    if (!HasEdge(edge)) {
        strip.SetRectEmpty();
        return FALSE;
    }
    strip = window;
    if (m_edgeFlags & kEdgesDrawn)
        strip.DeflateRect(1, 1);
    switch (edge) {
    case HTLEFT:
        strip.right = strip.left + kEdgeWidth;
        break;
    case HTRIGHT:
        strip.left = strip.right - kEdgeWidth;
        break;
    case HTTOP:
        strip.bottom = strip.top + kEdgeWidth;
        break;
    default:
        strip.top = strip.bottom - kEdgeWidth;
        break;
    }
    if ((edge == HTLEFT || edge == HTRIGHT) && IsHorzDocked())
        strip.DeflateRect(0, kEdgeWidth);
    if ((edge == HTTOP || edge == HTBOTTOM) && IsVertDocked())
        strip.DeflateRect(kEdgeWidth, 0);
    switch (DockSide()) {
    case AFX_IDW_DOCKBAR_TOP:
        strip.top -= 1;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        strip.bottom += 1;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        strip.left -= 1;
        break;
    default:
        strip.right += 1;
        break;
    }
    return TRUE;
}

void CCJControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CRect window(params->rgrc[0]);
    CRect rect = window;
    rect.DeflateRect(kClientInset, kClientInset);
    m_edgeFlags &= ~(kLeftEdge | kRightEdge | kTopEdge | kBottomEdge);
    int thickness = m_captionThickness;
    UINT side = DockSide();
    switch (side) {
    case AFX_IDW_DOCKBAR_TOP:
        m_edgeFlags |= kBottomEdge;
        rect.left += thickness;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        m_edgeFlags |= kRightEdge;
        rect.top += thickness;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        m_edgeFlags |= kLeftEdge;
        rect.top += thickness;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        m_edgeFlags |= kTopEdge;
        rect.left += thickness;
        break;
    }
    BOOL horz = IsHorzDocked();
    if (side) {
        std::vector<CCJControlBar*> row;
        GetRowBars(row);
        auto found = std::find(row.begin(), row.end(), this);
        if (found != row.end()) {
            if (found != row.begin())
                m_edgeFlags |= horz ? kLeftEdge : kTopEdge;
            if (found + 1 != row.end())
                m_edgeFlags |= horz ? kRightEdge : kBottomEdge;
        }
    }
    if (HasEdge(HTLEFT))
        rect.left += kEdgeWidth;
    if (HasEdge(HTRIGHT))
        rect.right -= kEdgeWidth;
    if (HasEdge(HTTOP))
        rect.top += kEdgeWidth;
    if (HasEdge(HTBOTTOM))
        rect.bottom -= kEdgeWidth;

    if (side) {
        const int size = CSCBButton::kSize;
        CPoint origin;
        CSize second;
        if (horz) {
            origin = CPoint((thickness - size) / 2 - thickness + rect.left - 3, rect.top - 3);
            second = CSize(0, 16);
        } else {
            origin = CPoint(rect.right - size, (thickness - size) / 2 - thickness + rect.top - 3);
            second = CSize(-16, 0);
        }
        m_buttons[0].m_origin = origin - window.TopLeft();
        m_buttons[1].m_origin = m_buttons[0].m_origin + second;
        if (m_toolTip.m_hWnd) {
            // The tips' tools lie in client coordinates.
            CPoint clientOrigin = rect.TopLeft() - window.TopLeft();
            for (int i = 0; i < 2; ++i) {
                TOOLINFOA info = {};
                info.cbSize = sizeof(info);
                info.hwnd = m_hWnd;
                info.uId = (UINT_PTR)(i + 1);
                info.rect = m_buttons[i].GetRect() - clientOrigin;
                m_toolTip.SendMessage(TTM_NEWTOOLRECTA, 0, (LPARAM)&info);
            }
        }
    }
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    params->rgrc[0] = rect;
}

UINT CCJControlBar::HitTestButtons(CPoint windowPoint) const
{
    for (const CSCBButton& button : m_buttons) {
        if (button.GetRect().PtInRect(windowPoint))
            return button.m_hitCode;
    }
    return 0;
}

LRESULT CCJControlBar::OnNcHitTest(CPoint point)
{
    if (!DockSide())
        return Default();
    CRect window;
    GetWindowRect(&window);
    for (UINT edge : {HTLEFT, HTTOP, HTRIGHT, HTBOTTOM}) {
        CRect strip;
        if (GetEdgeStrip(window, edge, strip) && strip.PtInRect(point))
            return edge;
    }
    if (UINT button = HitTestButtons(point - window.TopLeft()))
        return button;
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    return client.PtInRect(point) ? HTCLIENT : HTCAPTION;
}

LRESULT CCJControlBar::OnNcPaintMessage(WPARAM region, LPARAM)
{
    if (!m_dragging)
        PaintNonClient((HRGN)region);
    return 0;
}

void CCJControlBar::PaintNonClient(HRGN updateRegion)
{
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    CPoint origin = window.TopLeft();
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-origin.x, -origin.y);
    window.OffsetRect(-origin.x, -origin.y);
    dc.ExcludeClipRect(&client);
    if (!m_repaintRect.IsRectEmpty())
        dc.IntersectClipRect(&m_repaintRect);
    if (ClipNcPaint() && updateRegion && updateRegion != (HRGN)1) {
        HRGN local = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(local, updateRegion, nullptr, RGN_COPY);
        ::OffsetRgn(local, -origin.x, -origin.y);
        ::ExtSelectClipRgn(dc.m_hDC, local, RGN_AND);
        ::DeleteObject(local);
    }
    ::FillRect(dc.m_hDC, &window, g_globalData.hbrBtnFace);

    COLORREF shadow = g_globalData.clrBtnShadow;
    COLORREF highlight = g_globalData.clrBtnHilite;
    if (m_edgeFlags & kEdgesDrawn) {
        for (UINT edge : {HTBOTTOM, HTRIGHT, HTTOP, HTLEFT}) {
            CRect strip;
            if (!GetEdgeStrip(window, edge, strip))
                continue;
            // An etched groove.
            dc.Draw3dRect(&strip, shadow, highlight);
            strip.DeflateRect(1, 1);
            dc.Draw3dRect(&strip, highlight, shadow);
        }
    }
    if (DockSide()) {
        int thickness = m_captionThickness;
        CRect strip = window;
        strip.DeflateRect(1, 1);
        if (thickness) {
            if (IsHorzDocked()) {
                strip.right = strip.left + thickness;
                strip.top = m_buttons[1].m_origin.y + 17;
                dc.Draw3dRect(strip.left + (thickness - 3) / 2, strip.top + 3, 3, strip.Height() - 6, highlight,
                              shadow);
            } else {
                strip.bottom = strip.top + thickness;
                strip.right = m_buttons[1].m_origin.x - 3;
                dc.Draw3dRect(strip.left + 3, strip.top + (thickness - 3) / 2, strip.Width() - 6, 3, highlight,
                              shadow);
            }
        }
        for (const CSCBButton& button : m_buttons)
            button.Paint(&dc, IsHorzDocked(), m_expanded, m_alone);
    }
    dc.SelectClipRgn(nullptr);
}

void CCJControlBar::RepaintButton(int index)
{
    m_repaintRect = m_buttons[index].GetRect();
    PaintNonClient(nullptr);
    m_repaintRect.SetRectEmpty();
}

void CCJControlBar::OnPaint()
{
    // The pane child covers the client area.
    ValidateRect(nullptr);
}

BOOL CCJControlBar::OnSetCursor(CWnd* window, UINT hitTest, UINT message)
{
    if (DockSide()) {
        if ((hitTest == HTLEFT || hitTest == HTRIGHT) && g_globalData.hcurSizeWE) {
            ::SetCursor(g_globalData.hcurSizeWE);
            return TRUE;
        }
        if ((hitTest == HTTOP || hitTest == HTBOTTOM) && g_globalData.hcurSizeNS) {
            ::SetCursor(g_globalData.hcurSizeNS);
            return TRUE;
        }
    }
    return (BOOL)Default();
}

// ---------------------------------------------------------------------------
// Mouse: buttons, edges and the caption

void CCJControlBar::TakeMouseDown(UINT hitTest, CPoint screenPoint)
{
    if (m_dragging)
        return;
    if (hitTest == CSCBButton::kHideHit || hitTest == CSCBButton::kExpandHit) {
        int index = hitTest == CSCBButton::kHideHit ? 0 : 1;
        if (index == 1 && m_alone)
            return;
        m_buttons[index].m_pushed = m_buttons[index].m_hot = TRUE;
        m_pushedButton = index;
        RepaintButton(index);
        SetTimer(kHoverTimer, kHoverMilliseconds);
        m_hoverTimer = TRUE;
        SetCapture();
        return;
    }
    if (hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT) {
        CPoint client = screenPoint;
        ScreenToClient(&client);
        StartTracking(hitTest, client);
        return;
    }
    if (hitTest == HTCAPTION && m_pDockContext)
        m_pDockContext->StartDrag(screenPoint);
}

void CCJControlBar::OnNcLButtonDown(UINT hitTest, CPoint point)
{
    if (!DockSide()) {
        Default();
        return;
    }
    TakeMouseDown(hitTest, point);
}

void CCJControlBar::OnLButtonDown(UINT, CPoint point)
{
    if (!m_pDockBar) {
        Default();
        return;
    }
    if (m_hoverTimer) {
        KillTimer(kHoverTimer);
        m_hoverTimer = FALSE;
    }
    ReleaseButtons();
    CPoint screen = point;
    ClientToScreen(&screen);
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        if (m_pDockContext)
            m_pDockContext->StartDrag(screen);
        return;
    }
    TakeMouseDown((UINT)SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)), screen);
}

void CCJControlBar::OnLButtonUp(UINT, CPoint)
{
    if (m_dragging) {
        StopTracking();
        std::vector<CCJControlBar*> row;
        GetRowBars(row);
        BOOL horz = IsHorzDocked();
        int longest = horz ? m_dragMax.cx : m_dragMax.cy;
        for (CCJControlBar* bar : row) {
            BOOL wasExpanded = bar->m_expanded;
            CSize& size = bar->SizeOfOrientation();
            LONG& length = horz ? size.cx : size.cy;
            LONG& saved = horz ? bar->m_savedSize.cx : bar->m_savedSize.cy;
            bar->m_expanded = length == longest;
            if (bar->m_expanded && saved == length)
                saved = length / (LONG)row.size();
            if (bar->m_expanded != wasExpanded)
                bar->RepaintButton(1);
        }
        return;
    }
    if (m_pushedButton >= 0) {
        int index = m_pushedButton;
        bool clicked = m_buttons[index].m_hot;
        if (clicked && index == 0 && m_pDockSite)
            m_pDockSite->ShowControlBar(this, FALSE, FALSE);
        else if (clicked)
            ToggleExpand();
        m_buttons[index].m_pushed = m_buttons[index].m_hot = FALSE;
        m_pushedButton = -1;
        ::ReleaseCapture();
        RepaintButton(index);
    }
    Default();
}

void CCJControlBar::OnNcLButtonDblClk(UINT hitTest, CPoint)
{
    if (!m_pDockBar) {
        Default();
        return;
    }
    bool onEdge = hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT;
    if (onEdge || hitTest == CSCBButton::kHideHit || hitTest == CSCBButton::kExpandHit)
        return;
    if (m_pDockContext)
        m_pDockContext->ToggleDocking();
}

void CCJControlBar::OnLButtonDblClk(UINT, CPoint)
{
    if (m_pDockBar && m_pDockContext)
        m_pDockContext->ToggleDocking();
    else
        Default();
}

void CCJControlBar::OnRButtonDown(UINT, CPoint)
{
    if (m_dragging)
        StopTracking();
    Default();
}

void CCJControlBar::OnMouseMove(UINT, CPoint point)
{
    if (m_dragging) {
        OnTrackUpdateSize(point);
        return;
    }
    if (m_pushedButton >= 0) {
        CPoint screen = point;
        ClientToScreen(&screen);
        HoverUpdate(screen);
    }
    Default();
}

void CCJControlBar::OnNcMouseMove(UINT, CPoint point)
{
    if (!m_dragging)
        HoverUpdate(point);
    Default();
}

void CCJControlBar::OnTimer(UINT_PTR id)
{
    if (id != kHoverTimer) {
        Default();
        return;
    }
    POINT cursor;
    ::GetCursorPos(&cursor);
    HoverUpdate(cursor);
}

void CCJControlBar::HoverUpdate(CPoint screenPoint)
{
    CRect window;
    GetWindowRect(&window);
    CPoint local = screenPoint - window.TopLeft();
    for (int i = 0; i < 2; ++i) {
        if (m_pushedButton >= 0 && i != m_pushedButton)
            continue;
        CSCBButton& button = m_buttons[i];
        BOOL hot = button.GetRect().PtInRect(local);
        if (hot != button.m_hot) {
            button.m_hot = hot;
            RepaintButton(i);
            if (!hot && m_hoverTimer) {
                KillTimer(kHoverTimer);
                m_hoverTimer = FALSE;
            }
        }
        if (hot) {
            SetTimer(kHoverTimer, kHoverMilliseconds);
            m_hoverTimer = TRUE;
        }
    }
}

void CCJControlBar::ReleaseButtons()
{
    for (int i = 0; i < 2; ++i) {
        CSCBButton& button = m_buttons[i];
        if (!button.m_pushed && !button.m_hot)
            continue;
        button.m_pushed = button.m_hot = FALSE;
        RepaintButton(i);
    }
    m_pushedButton = -1;
}

void CCJControlBar::OnCaptureChanged(CWnd* window)
{
    if (m_dragging && window != this)
        StopTracking();
    if (m_hoverTimer) {
        KillTimer(kHoverTimer);
        m_hoverTimer = FALSE;
    }
    ReleaseButtons();
    Default();
}

// ---------------------------------------------------------------------------
// Dragging an edge

void CCJControlBar::StartTracking(UINT edge, CPoint point)
{
    SetCapture();
    RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    m_savedSize = SizeOfOrientation();
    m_dragStart = point;
    m_dragEdge = edge;
    m_dragging = TRUE;
    m_dragMin = m_minSize;
    std::vector<CCJControlBar*> row;
    GetRowBars(row);
    for (CCJControlBar* bar : row) {
        if (IsHorzDocked())
            m_dragMin.cy = std::max(m_dragMin.cy, bar->m_minSize.cy);
        else
            m_dragMin.cx = std::max(m_dragMin.cx, bar->m_minSize.cx);
    }
    if (!IsRowEdge()) {
        CSize free = FreeArea();
        m_dragMax = m_savedSize + CSize(free.cx - 4, free.cy - 4);
    } else if (CCJControlBar* neighbour = DragNeighbour()) {
        m_dragMax = m_savedSize + (neighbour->SizeOfOrientation() - neighbour->m_minSize);
    } else {
        m_dragMax = m_savedSize;
    }
    OnTrackInvertTracker();
}

void CCJControlBar::OnTrackUpdateSize(CPoint point)
{
    if (point == m_dragStart)
        return;
    CSize size = m_savedSize;
    CSize moved = point - m_dragStart;
    switch (m_dragEdge) {
    case HTLEFT:
        size.cx -= moved.cx;
        break;
    case HTRIGHT:
        size.cx += moved.cx;
        break;
    case HTTOP:
        size.cy -= moved.cy;
        break;
    case HTBOTTOM:
        size.cy += moved.cy;
        break;
    }
    // The minimum wins over an empty range.
    size.cx = std::max(std::min(size.cx, m_dragMax.cx), m_dragMin.cx);
    size.cy = std::max(std::min(size.cy, m_dragMax.cy), m_dragMin.cy);

    OnTrackInvertTracker();
    BOOL horz = IsHorzDocked();
    CSize& own = SizeOfOrientation();
    int gained = horz ? size.cx - own.cx : size.cy - own.cy;
    own = size;
    if (IsRowEdge()) {
        if (CCJControlBar* neighbour = DragNeighbour()) {
            CSize& other = neighbour->SizeOfOrientation();
            (horz ? other.cx : other.cy) -= gained;
        }
    } else {
        std::vector<CCJControlBar*> row;
        GetRowBars(row);
        for (CCJControlBar* bar : row) {
            CSize& other = bar->SizeOfOrientation();
            if (horz)
                other.cy = size.cy;
            else
                other.cx = size.cx;
        }
    }
    OnTrackInvertTracker();
}

void CCJControlBar::OnTrackInvertTracker()
{
    if (!m_pDockSite)
        return;
    CRect window;
    GetWindowRect(&window);
    CRect strip;
    if (!GetEdgeStrip(window, m_dragEdge, strip))
        return;
    if (!IsRowEdge() && m_pDockBar) {
        CRect dock;
        m_pDockBar->GetWindowRect(&dock);
        if (IsHorzDocked()) {
            strip.left = dock.left + 1;
            strip.right = dock.right - 1;
        } else {
            strip.top = dock.top + 1;
            strip.bottom = dock.bottom - 1;
        }
    }
    CSize change = SizeOfOrientation() - m_savedSize;
    UINT side = DockSide();
    bool opposite = (m_dragEdge == HTLEFT && side == AFX_IDW_DOCKBAR_RIGHT) ||
                    (m_dragEdge == HTTOP && side == AFX_IDW_DOCKBAR_BOTTOM);
    strip.OffsetRect(opposite ? -change : change);
    CRect frame;
    m_pDockSite->GetWindowRect(&frame);
    strip.OffsetRect(-frame.left, -frame.top);
    HDC dc = ::GetDCEx(m_pDockSite->m_hWnd, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    AfxInvertTrackerFrame(dc, strip, strip.Width() + strip.Height());
    ::ReleaseDC(m_pDockSite->m_hWnd, dc);
}

void CCJControlBar::StopTracking()
{
    OnTrackInvertTracker();
    m_dragging = FALSE;
    ::ReleaseCapture();
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
}
