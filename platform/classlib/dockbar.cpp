#include "platform/classlib/dockbar.h"
#include <algorithm>
#include <climits>
#include "platform/classlib/dockcontext.h"

IMPLEMENT_DYNCREATE(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDockBar::CDockBar()
{
    SetBorders(0, 0, 0, 0);
    m_arrBars.Add(nullptr);
}

BOOL CDockBar::Create(CWnd* parent, DWORD style, UINT id, BOOL floating)
{
    m_bFloating = floating;
    m_dwStyle = style & CBRS_ALL;
    LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                             (HBRUSH)(COLOR_BTNFACE + 1));
    DWORD windowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CreateEx(0, windowClass, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id);
}

void CDockBar::OnDestroy()
{
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        if (CControlBar* bar = GetDockedControlBar((int)i))
            bar->m_pDockBar = nullptr;
    }
    m_arrBars.RemoveAll();
    m_arrBars.Add(nullptr);
    CControlBar::OnDestroy();
}

CControlBar* CDockBar::GetDockedControlBar(int index) const
{
    return static_cast<CControlBar*>(m_arrBars.GetAt(index));
}

int CDockBar::FindBar(CControlBar* bar) const
{
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        if (m_arrBars.GetAt(i) == bar)
            return (int)i;
    }
    return -1;
}

int CDockBar::GetDockedCount() const
{
    int count = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
        count += m_arrBars.GetAt(i) != nullptr;
    return count;
}

int CDockBar::GetDockedVisibleCount() const
{
    int count = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* bar = GetDockedControlBar((int)i);
        count += bar && bar->IsVisible();
    }
    return count;
}

CSize CDockBar::BarOverlap(CControlBar*) const
{
    return CSize(2 * ::GetSystemMetrics(SM_CXBORDER), 2);
}

CSize CDockBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    CRect available = m_rectLayout;
    if (available.IsRectEmpty())
        ::GetClientRect(::GetParent(m_hWnd), &available);
    int availableLength = horz ? available.Width() : available.Height();

    HDWP defer = nullptr;
    // Along the row (x of a horizontal dock bar, y of a vertical one) and
    // across it; side dock bars start their first row two pixels out.
    const int rowStart = horz || m_bFloating ? 0 : -2;
    int along = rowStart;
    int across = horz && !m_bFloating ? -2 : 0;
    int acrossEnd = 0;
    int longestRow = 0;
    int rowThickness = 0;
    int rowOverlap = 0;
    bool rowHasBars = false;

    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* bar = GetDockedControlBar((int)i);
        if (!bar) {
            if (rowHasBars) {
                acrossEnd = std::max(acrossEnd, across + rowThickness);
                across += rowThickness - rowOverlap;
                along = rowStart;
                rowThickness = 0;
                rowHasBars = false;
            }
            continue;
        }
        if (!m_bLayoutQuery)
            bar->ApplyDelayedShow(&defer);
        if (!bar->IsVisible())
            continue;
        CSize overlap = BarOverlap(bar);
        int overlapAlong = horz ? overlap.cx : overlap.cy;
        rowOverlap = horz ? overlap.cy : overlap.cx;
        DWORD mode;
        if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING))
            mode = LM_HORZ | LM_MRUWIDTH;
        else if (bar->m_dwStyle & CBRS_ORIENT_HORZ)
            mode = LM_HORZ | LM_HORZDOCK;
        else
            mode = LM_VERTDOCK;
        CSize size = bar->CalcDynamicLayout(-1, mode);
        int length = horz ? size.cx : size.cy;
        int thickness = horz ? size.cy : size.cx;

        CRect current;
        bar->GetWindowRect(&current);
        ScreenToClient(&current);
        int currentAlong = horz ? current.left : current.top;
        int start = along;
        if (!m_bFloating) {
            // A bar keeps the place along the row it was dragged to, but
            // comes back inside the dock bar when it would run past its end.
            if (currentAlong > start)
                start = currentAlong;
            if (start + length > availableLength)
                start = std::max(availableLength - (length - overlapAlong), along);
        }
        if (rowHasBars && start >= availableLength - overlapAlong) {
            // No room left on this row: the bar starts a new one.
            m_arrBars.InsertAt(i, (void*)nullptr);
            ++i;
            acrossEnd = std::max(acrossEnd, across + rowThickness);
            across += rowThickness - rowOverlap;
            along = rowStart;
            start = along;
            rowThickness = 0;
        }
        CRect rect = horz ? CRect(CPoint(start, across), size) : CRect(CPoint(across, start), size);
        if (rect != current) {
            if (!m_bLayoutQuery && !m_bFloating && bar->m_pDockContext) {
                bar->m_pDockContext->m_uMRUDockID = GetDlgCtrlID();
                bar->m_pDockContext->m_rectMRUDockPos = rect;
            }
            if (!m_bLayoutQuery)
                defer = AfxDeferWindowChange(defer, bar->m_hWnd, rect, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        along = start + length - overlapAlong;
        longestRow = std::max(longestRow, along + overlapAlong);
        rowThickness = std::max(rowThickness, thickness);
        rowHasBars = true;
    }
    if (rowHasBars)
        acrossEnd = std::max(acrossEnd, across + rowThickness);
    if (defer)
        ::EndDeferWindowPos(defer);

    int alongSize = stretch ? 32767 : longestRow;
    return horz ? CSize(alongSize, acrossEnd) : CSize(acrossEnd, alongSize);
}

int CDockBar::InsertIndexFor(const CRect& rect, bool& newRow) const
{
    bool horz = IsHorz();
    int center = horz ? (rect.top + rect.bottom) / 2 : (rect.left + rect.right) / 2;
    int rectAlong = horz ? rect.left : rect.top;
    int rowFirst = 1;
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
        if (GetDockedControlBar((int)i))
            continue;
        // Entries rowFirst .. i - 1 form a row; its extent across comes from
        // its visible bars.
        int rowStart = INT_MAX, rowEnd = INT_MIN;
        for (int j = rowFirst; j < i; ++j) {
            CControlBar* bar = GetDockedControlBar(j);
            if (!bar->IsVisible())
                continue;
            CRect barRect;
            bar->GetWindowRect(&barRect);
            ScreenToClient(&barRect);
            rowStart = std::min(rowStart, horz ? (int)barRect.top : (int)barRect.left);
            rowEnd = std::max(rowEnd, horz ? (int)barRect.bottom : (int)barRect.right);
        }
        if (rowStart <= rowEnd) {
            if (center < rowStart) {
                newRow = true;
                return rowFirst;
            }
            if (center < rowEnd) {
                newRow = false;
                for (int j = rowFirst; j < i; ++j) {
                    CControlBar* bar = GetDockedControlBar(j);
                    CRect barRect;
                    bar->GetWindowRect(&barRect);
                    ScreenToClient(&barRect);
                    if (bar->IsVisible() && (horz ? barRect.left : barRect.top) > rectAlong)
                        return j;
                }
                return (int)i;
            }
        }
        rowFirst = (int)i + 1;
    }
    newRow = true;
    return (int)m_arrBars.GetSize();
}

void CDockBar::DockControlBar(CControlBar* bar, LPCRECT rect)
{
    if (bar->m_pDockBar)
        bar->m_pDockBar->RemoveControlBar(bar);
    CRect place;
    if (rect) {
        place = *rect;
        ScreenToClient(&place);
        bool newRow = false;
        int index = InsertIndexFor(place, newRow);
        m_arrBars.InsertAt(index, bar);
        if (newRow)
            m_arrBars.InsertAt(index + 1, (void*)nullptr);
    } else {
        m_arrBars.Add(bar);
        m_arrBars.Add(nullptr);
    }
    RemoveEmptyRows();
    bar->m_pDockBar = this;

    DWORD style = bar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    style |= m_dwStyle & CBRS_ALIGN_ANY;
    if (m_bFloating)
        style |= CBRS_FLOATING;
    bar->SetBarStyle(style);
    if (::GetParent(bar->m_hWnd) != m_hWnd)
        ::SetParent(bar->m_hWnd, m_hWnd);
    ::SetWindowPos(bar->m_hWnd, nullptr, place.left, place.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!m_bFloating && bar->m_pDockContext) {
        bar->m_pDockContext->m_uMRUDockID = GetDlgCtrlID();
        CRect window;
        bar->GetWindowRect(&window);
        ScreenToClient(&window);
        bar->m_pDockContext->m_rectMRUDockPos = window;
    }
}

BOOL CDockBar::RemoveControlBar(CControlBar* bar)
{
    int index = FindBar(bar);
    if (index < 0)
        return FALSE;
    m_arrBars.RemoveAt(index);
    RemoveEmptyRows();
    bar->m_pDockBar = nullptr;
    if (m_bFloating && GetDockedCount() == 0) {
        // The floating frame closes itself once this message is over.
        HWND frame = ::GetParent(m_hWnd);
        ::ShowWindow(frame, SW_HIDE);
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

void CDockBar::SetEntries(const CPtrArray& entries)
{
    m_arrBars.RemoveAll();
    m_arrBars.Add(nullptr);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        m_arrBars.Add(entries.GetAt(i));
    RemoveEmptyRows();
}

void CDockBar::RemoveEmptyRows()
{
    if (m_arrBars.GetSize() == 0 || m_arrBars.GetAt(0) != nullptr)
        m_arrBars.InsertAt(0, (void*)nullptr);
    for (INT_PTR i = m_arrBars.GetSize() - 1; i > 0; --i) {
        if (!m_arrBars.GetAt(i) && !m_arrBars.GetAt(i - 1))
            m_arrBars.RemoveAt(i);
    }
    if (m_arrBars.GetAt(m_arrBars.GetSize() - 1) != nullptr)
        m_arrBars.Add(nullptr);
}
