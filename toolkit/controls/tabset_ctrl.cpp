#include "toolkit/controls/tabset_ctrl.h"

#include <algorithm>

#include "toolkit/common/global_data.h"

IMPLEMENT_DYNAMIC(CTabsetCtrl, CWnd)

BEGIN_MESSAGE_MAP(CTabsetCtrl, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_COMMAND(CTabsetCtrl::kCommandLeft, &CTabsetCtrl::OnScrollLeft)
    ON_COMMAND(CTabsetCtrl::kCommandRight, &CTabsetCtrl::OnScrollRight)
    ON_COMMAND(CTabsetCtrl::kCommandFirst, &CTabsetCtrl::OnScrollFirst)
    ON_COMMAND(CTabsetCtrl::kCommandLast, &CTabsetCtrl::OnScrollLast)
END_MESSAGE_MAP()

namespace {
const int kGripWidth = 6;
const int kScrollBarId = 1;
const UINT_PTR kTipToolId = 1;
const int kMaxTipWidth = 32767;
}  // namespace

CTabsetCtrl::CTabsetCtrl()
    : m_buttonWidth(::GetSystemMetrics(SM_CXHSCROLL) - 1),
      m_stripHeight(::GetSystemMetrics(SM_CYHSCROLL)),
      m_normalFont(&g_globalData.fontMenu),
      m_selectedFont(&g_globalData.fontMenuBold)
{
}

CTabsetCtrl::~CTabsetCtrl()
{
    for (TABSET_ITEM* item : m_items)
        delete item;
    if (m_sizingCursor)
        ::DestroyCursor(m_sizingCursor);
}

BOOL CTabsetCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    m_style = style & kStyleMask;
    return CWnd::Create(nullptr, nullptr, style | WS_CHILD, rect, parent, id);
}

int CTabsetCtrl::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    m_shadowPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    m_windowPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOW));
    m_textPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    m_highlightPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHILIGHT));
    m_sizingCursor = (HCURSOR)::CopyImage(::LoadCursorA(nullptr, (LPCSTR)IDC_SIZEWE), IMAGE_CURSOR, 0, 0, 0);
    if (m_style & kStyleToolTips) {
        if (m_toolTip.Create(this)) {
            CRect all;
            GetClientRect(&all);
            m_toolTip.AddTool(this, "Tip Text", all, kTipToolId);
            m_toolTip.Activate(TRUE);
            m_toolTip.SetMaxTipWidth(kMaxTipWidth);
        }
    }
    LayOutButtons();
    if (m_style & kStyleSplitter)
        m_scrollBar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 0, 0), this, kScrollBarId);
    return 0;
}

// ---------------------------------------------------------------------------
// Geometry.

void CTabsetCtrl::MeasureTabs()
{
    m_tabWidths.assign(m_items.size(), 0);
    HDC screen = ::GetDC(m_hWnd);
    for (size_t i = 0; i < m_items.size(); ++i) {
        CFont* font = (int)i == m_current ? m_selectedFont : m_normalFont;
        HGDIOBJ old = ::SelectObject(screen, font->m_hObject);
        SIZE text = {0, 0};
        ::GetTextExtentPoint32A(screen, m_items[i]->label, m_items[i]->label.GetLength(), &text);
        ::SelectObject(screen, old);
        m_tabWidths[i] = text.cx + m_stripHeight + m_stripHeight / 2;
    }
    ::ReleaseDC(m_hWnd, screen);
}

int CTabsetCtrl::TabWidth(int index) const
{
    return index >= 0 && index < (int)m_tabWidths.size() ? m_tabWidths[index] : 0;
}

int CTabsetCtrl::ButtonAreaWidth() const
{
    if (!HasButtons())
        return 0;
    return (m_style & kStyleFirstLastButtons) ? 4 * m_buttonWidth : 2 * m_buttonWidth;
}

int CTabsetCtrl::TabStart(int index) const
{
    int start = 0;
    for (int i = 0; i < index; ++i)
        start += TabWidth(i) - GetTabOverlap();
    return start;
}

int CTabsetCtrl::TotalTabsWidth() const
{
    int count = GetItemCount();
    return count == 0 ? 0 : TabStart(count - 1) + TabWidth(count - 1);
}

int CTabsetCtrl::VisibleEdge() const
{
    return (m_style & kStyleSplitter) ? m_gripPosition : m_clientWidth;
}

BOOL CTabsetCtrl::GetItemRect(int index, LPRECT rect) const
{
    if (index < 0 || index >= GetItemCount() || !rect)
        return FALSE;
    rect->left = ButtonAreaWidth() - m_scrollOffset + TabStart(index);
    rect->right = rect->left + TabWidth(index);
    rect->top = m_stripRect.top;
    rect->bottom = m_stripRect.bottom;
    return TRUE;
}

int CTabsetCtrl::HitTest(CPoint point) const
{
    if (point.x < ButtonAreaWidth())
        return -1;
    if ((m_style & kStyleSplitter) && point.x > m_gripPosition)
        return -1;
    int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        CRect tab;
        GetItemRect(i, &tab);
        int right = i == count - 1 ? tab.right : tab.right - GetTabOverlap();
        if (point.x >= tab.left && point.x <= right)
            return i;
    }
    return -1;
}

int CTabsetCtrl::HitTestButtons(CPoint point) const
{
    if (!HasButtons())
        return -1;
    for (int i = 0; i < kButtonCount; ++i) {
        if (m_buttons[i].command && m_buttons[i].rect.PtInRect(point))
            return i;
    }
    return -1;
}

void CTabsetCtrl::LayOutButtons()
{
    const UINT commands[kButtonCount] = {kCommandFirst, kCommandLeft, kCommandRight, kCommandLast};
    bool withEnds = (m_style & kStyleFirstLastButtons) != 0;
    int x = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        ScrollButton& button = m_buttons[i];
        bool present = HasButtons() && (withEnds || (i != kFirst && i != kLast));
        button.command = present ? commands[i] : 0;
        button.pointsLeft = i == kFirst || i == kLeft;
        button.withBar = i == kFirst || i == kLast;
        if (!present) {
            button.rect.SetRectEmpty();
            continue;
        }
        button.rect = CRect(x, m_stripRect.top, x + m_buttonWidth, m_stripRect.top + m_stripHeight);
        x += m_buttonWidth;
    }
}

CRect CTabsetCtrl::GripRect() const
{
    return CRect(m_gripPosition, m_stripRect.top, m_gripPosition + kGripWidth, m_stripRect.bottom);
}

void CTabsetCtrl::SetGripPosition(int pixels)
{
    int largest = m_clientWidth - 4 * m_buttonWidth - m_stripHeight;
    m_gripPosition = std::max<int>(0, std::min<int>(pixels, largest));
    m_gripPercent = m_clientWidth > 0 ? m_gripPosition * 100 / m_clientWidth : 0;
    LayOutSplitter();
}

void CTabsetCtrl::SetGripPercent(int percent)
{
    m_gripPercent = percent;
    int largest = m_clientWidth - 4 * m_buttonWidth - m_stripHeight;
    m_gripPosition = std::max<int>(0, std::min<int>(m_clientWidth * percent / 100, largest));
    LayOutSplitter();
}

void CTabsetCtrl::LayOutSplitter()
{
    if (!(m_style & kStyleSplitter) || !m_scrollBar.GetSafeHwnd())
        return;
    bool shifted = (m_style & kStyleShiftScrollBar) != 0;
    CRect bar(GripRect().right, m_stripRect.top - (shifted ? 0 : 1), m_clientWidth - m_stripHeight,
              m_stripRect.bottom + (shifted ? 1 : 0));
    if (bar.right < bar.left)
        bar.right = bar.left;
    m_scrollBar.MoveWindow(bar);
    UpdateButtonStates();
    Invalidate(FALSE);
}

void CTabsetCtrl::UpdateButtonStates()
{
    bool hiddenLeft = m_scrollOffset > 0;
    bool hiddenRight = TotalTabsWidth() - m_scrollOffset > VisibleWidth() - 1;
    m_buttons[kFirst].enabled = hiddenLeft;
    m_buttons[kLeft].enabled = hiddenLeft;
    m_buttons[kRight].enabled = hiddenRight;
    m_buttons[kLast].enabled = hiddenRight;
}

void CTabsetCtrl::Changed()
{
    MeasureTabs();
    UpdateButtonStates();
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

void CTabsetCtrl::ScrollTo(int offset)
{
    m_scrollOffset = std::max<int>(0, offset);
    Changed();
}

void CTabsetCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    m_clientWidth = cx;
    m_clientHeight = cy;
    m_stripRect = CRect(0, 0, cx, m_stripHeight);
    LayOutButtons();
    SetGripPercent(m_gripPercent);
    Changed();
}

// ---------------------------------------------------------------------------
// Tabs.

void CTabsetCtrl::SetFonts(CFont* normal, CFont* selected)
{
    if (normal)
        m_normalFont = normal;
    if (selected)
        m_selectedFont = selected;
    Changed();
}

int CTabsetCtrl::InsertItem(int index, LPCSTR text)
{
    if (index < 0 || index > GetItemCount() || !text)
        return -1;
    TABSET_ITEM* item = new TABSET_ITEM;
    item->label = text;
    item->tip = text;
    item->id = GetItemCount();
    m_items.insert(m_items.begin() + index, item);
    if (m_current == -1)
        m_current = index;
    else if (index <= m_current)
        ++m_current;
    Changed();
    return index;
}

int CTabsetCtrl::InsertItemFromResource(int index, UINT stringId)
{
    CString text;
    text.LoadString(stringId);
    return InsertItem(index, text);
}

BOOL CTabsetCtrl::FreeItem(int index)
{
    if (index < 0 || index >= GetItemCount())
        return FALSE;
    delete m_items[index];
    m_items.erase(m_items.begin() + index);
    return TRUE;
}

BOOL CTabsetCtrl::DeleteItem(int index)
{
    if (!FreeItem(index))
        return FALSE;
    if (m_items.empty()) {
        m_current = -1;
        m_scrollOffset = 0;
    } else if (index == m_current) {
        m_current = -1;
        Changed();
        SetCurSel(0);
    } else if (index < m_current) {
        --m_current;
    }
    Changed();
    return TRUE;
}

void CTabsetCtrl::DeleteAllItems()
{
    for (TABSET_ITEM* item : m_items)
        delete item;
    m_items.clear();
    m_current = -1;
    m_scrollOffset = 0;
    Changed();
}

int CTabsetCtrl::SetCurSel(int index)
{
    if (index < 0 || index >= GetItemCount())
        return -1;
    int previous = m_current;
    m_current = index;
    MeasureTabs();
    CRect tab;
    if (GetItemRect(index, &tab)) {
        int left = tab.left - ButtonAreaWidth();
        int right = tab.right - ButtonAreaWidth();
        if (left <= 0)
            m_scrollOffset += left;
        else if (right > VisibleWidth())
            m_scrollOffset += right - VisibleWidth();
        m_scrollOffset = std::max<int>(0, m_scrollOffset);
    }
    Changed();
    return previous;
}

int CTabsetCtrl::SetItemText(int index, LPCSTR text)
{
    if (index >= 0 && index < GetItemCount() && text) {
        m_items[index]->label = text;
        Changed();
    }
    return GetItemCount();
}

CString CTabsetCtrl::GetItemText(int index) const
{
    if (index < 0 || index >= GetItemCount())
        return CString();
    return m_items[index]->label;
}

// ---------------------------------------------------------------------------
// Scrolling.

void CTabsetCtrl::ScrollToFirst()
{
    ScrollTo(0);
}

void CTabsetCtrl::OnScrollFirst()
{
    ScrollToFirst();
}

void CTabsetCtrl::OnScrollLeft()
{
    int first = HitTest(CPoint(ButtonAreaWidth() + GetTabOverlap() + 1, m_stripRect.top + 1));
    if (first > 0)
        ScrollTo(TabStart(first - 1));
    else if (first == 0)
        ScrollTo(0);
}

void CTabsetCtrl::OnScrollRight()
{
    int first = HitTest(CPoint(ButtonAreaWidth() + GetTabOverlap() + 1, m_stripRect.top + 1));
    if (first >= 0 && first + 1 < GetItemCount())
        ScrollTo(TabStart(first + 1));
}

void CTabsetCtrl::OnScrollLast()
{
    ScrollTo(TotalTabsWidth() + ButtonAreaWidth() - VisibleEdge() + 1);
}

// ---------------------------------------------------------------------------
// Mouse and keys.

LRESULT CTabsetCtrl::Notify(UINT code)
{
    CWnd* target = m_owner ? m_owner : GetParent();
    if (!target)
        return 0;
    NMHDR header = {};
    header.hwndFrom = m_hWnd;
    header.idFrom = (UINT_PTR)GetDlgCtrlID();
    header.code = code;
    return target->SendMessage(WM_NOTIFY, header.idFrom, (LPARAM)&header);
}

void CTabsetCtrl::PressButton(CPoint point)
{
    int index = HitTestButtons(point);
    if (index < 0 || !m_buttons[index].enabled)
        return;
    m_buttons[index].pressed = true;
    SetCapture();
    InvalidateRect(m_buttons[index].rect, FALSE);
}

void CTabsetCtrl::OnLButtonDown(UINT, CPoint point)
{
    if ((m_style & kStyleSplitter) && GripRect().PtInRect(point)) {
        m_dragging = true;
        SetCapture();
        m_dragOffset = m_gripPosition - point.x;
        m_focusBeforeDrag = ::GetFocus();
        SetFocus();
        return;
    }
    if (HitTestButtons(point) >= 0) {
        PressButton(point);
        return;
    }
    int tab = HitTest(point);
    if (tab < 0 || tab == m_current)
        return;
    if (Notify(TCN_SELCHANGING) != 0)
        return;
    SetCurSel(tab);
    Notify(TCN_SELCHANGE);
}

void CTabsetCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    PressButton(point);
}

void CTabsetCtrl::OnMouseMove(UINT, CPoint point)
{
    if (m_dragging)
        SetGripPosition(point.x + m_dragOffset);
}

void CTabsetCtrl::EndGripDrag()
{
    m_dragging = false;
    ::ReleaseCapture();
    if (m_focusBeforeDrag && ::IsWindow(m_focusBeforeDrag))
        ::SetFocus(m_focusBeforeDrag);
    m_focusBeforeDrag = nullptr;
}

void CTabsetCtrl::OnLButtonUp(UINT, CPoint)
{
    if (m_dragging) {
        EndGripDrag();
        return;
    }
    for (ScrollButton& button : m_buttons) {
        if (!button.pressed)
            continue;
        button.pressed = false;
        PostMessage(WM_COMMAND, button.command, 0);
        ::ReleaseCapture();
        InvalidateRect(button.rect, FALSE);
    }
}

BOOL CTabsetCtrl::OnSetCursor(CWnd* window, UINT hitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (m_dragging || ((m_style & kStyleSplitter) && GripRect().PtInRect(point))) {
        ::SetCursor(m_sizingCursor);
        return TRUE;
    }
    return CWnd::OnSetCursor(window, hitTest, message);
}

BOOL CTabsetCtrl::PreTranslateMessage(MSG* msg)
{
    if (m_dragging && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        EndGripDrag();
        return TRUE;
    }
    if ((m_style & kStyleToolTips) && m_toolTip.GetSafeHwnd() && msg->hwnd == m_hWnd) {
        int tab = -1;
        if (msg->message == WM_MOUSEMOVE)
            tab = HitTest(CPoint((short)LOWORD(msg->lParam), (short)HIWORD(msg->lParam)));
        if (tab >= 0) {
            char current[256] = "";
            TOOLINFOA info = {};
            info.cbSize = sizeof(info);
            info.hwnd = m_hWnd;
            info.uId = kTipToolId;
            info.lpszText = current;
            m_toolTip.SendMessage(TTM_GETTEXTA, sizeof(current), (LPARAM)&info);
            if (m_items[tab]->tip != current)
                m_toolTip.UpdateTipText(m_items[tab]->tip, this, kTipToolId);
            m_toolTip.RelayEvent(msg);
        } else {
            m_toolTip.Pop();
        }
    }
    return CWnd::PreTranslateMessage(msg);
}
