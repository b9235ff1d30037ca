// The owner-drawn list: construction, painting, notices, keys and menus.
#include "toolkit/controls/ui_od_list_ctrl.h"

#include <shellapi.h>

#include "toolkit/controls/mem_dc.h"

IMPLEMENT_DYNAMIC(CUIODListCtrlSortInfo, CObject)
IMPLEMENT_DYNAMIC(CUIODListCtrl, CDragDropList)

BEGIN_MESSAGE_MAP(CUIODListCtrl, CDragDropList)
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_CONTEXTMENU()
    ON_WM_DROPFILES()
    ON_MESSAGE(LVM_DELETEALLITEMS, &CUIODListCtrl::OnDeleteAllItemsMessage)
    ON_MESSAGE(LVM_DELETEITEM, &CUIODListCtrl::OnDeleteItemMessage)
    ON_MESSAGE(LVM_DELETECOLUMN, &CUIODListCtrl::OnDeleteColumnMessage)
    ON_MESSAGE(LVM_SETBKCOLOR, &CUIODListCtrl::OnSetBkColorMessage)
    ON_MESSAGE(LVM_SETCOLUMNWIDTH, &CUIODListCtrl::OnSetColumnWidthMessage)
    ON_MESSAGE(LVM_GETITEMTEXTA, &CUIODListCtrl::OnGetItemTextMessage)
    ON_MESSAGE(WM_ODLIST_CLICK, &CUIODListCtrl::OnColumnWidthChanged)
    ON_MESSAGE(WM_ODLIST_CONTEXTMENU, &CUIODListCtrl::OnKeyboardContextMenu)
    ON_COMMAND_RANGE(CUIODListCtrl::kCommandViewIcon, CUIODListCtrl::kCommandViewList,
                     &CUIODListCtrl::OnViewCommand)
    ON_COMMAND(CUIODListCtrl::kCommandGridLines, &CUIODListCtrl::OnGridLinesCommand)
    ON_COMMAND(CUIODListCtrl::kCommandCheckBoxes, &CUIODListCtrl::OnCheckBoxesCommand)
    ON_COMMAND(CUIODListCtrl::kCommandHeaderDragDrop, &CUIODListCtrl::OnHeaderDragDropCommand)
    ON_COMMAND(CUIODListCtrl::kCommandTrackSelect, &CUIODListCtrl::OnTrackSelectCommand)
    ON_COMMAND(CUIODListCtrl::kCommandFullRowSelect, &CUIODListCtrl::OnFullRowSelectCommand)
    ON_COMMAND(CUIODListCtrl::kCommandResizableColumns, &CUIODListCtrl::OnResizableColumnsCommand)
    ON_COMMAND(CUIODListCtrl::kCommandHideColumn, &CUIODListCtrl::OnHideColumnCommand)
    ON_COMMAND(CUIODListCtrl::kCommandEditHeading, &CUIODListCtrl::OnEditHeadingCommand)
    ON_COMMAND(CUIODListCtrl::kCommandShowAllColumns, &CUIODListCtrl::OnShowAllColumnsCommand)
    ON_COMMAND(CUIODListCtrl::kCommandEditCell, &CUIODListCtrl::OnEditCellCommand)
END_MESSAGE_MAP()

namespace {
const int kPathLength = 260;
}

CUIODListCtrl::CUIODListCtrl() : m_bkColor(::GetSysColor(COLOR_WINDOW))
{
}

CUIODListCtrl::~CUIODListCtrl()
{
    m_rows.DeleteAll();
}

// ---------------------------------------------------------------------------
// Style and creation.

void CUIODListCtrl::ChangeStyle(UINT& style)
{
    style |= m_styleBits | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE;
}

// The list view reads its style when it is created: a list made by Create
// gets its style here, a list subclassed later in PreSubclassWindow. The
// header and the edit boxes are children that the list's one blit of its
// painting must leave alone.
BOOL CUIODListCtrl::PreCreateWindow(CREATESTRUCTA& cs)
{
    UINT style = cs.style;
    ChangeStyle(style);
    cs.style = style | WS_CLIPCHILDREN;
    return CDragDropList::PreCreateWindow(cs);
}

void CUIODListCtrl::PreSubclassWindow()
{
    CDragDropList::PreSubclassWindow();
    if (m_bCreating)
        return;
    ApplyStyle();
    SubclassHeader();
}

void CUIODListCtrl::ApplyStyle()
{
    UINT style = GetStyle();
    ChangeStyle(style);
    ModifyStyle(0, style | WS_CLIPCHILDREN);
}

void CUIODListCtrl::SubclassHeader()
{
    if (m_header.GetSafeHwnd())
        return;
    HWND header = (HWND)SendMessage(LVM_GETHEADER);
    if (header)
        m_header.SubclassWindow(header);
}

void CUIODListCtrl::OnDestroy()
{
    // Without shared image lists the list view destroys its image lists.
    if (!(GetStyle() & LVS_SHAREIMAGELISTS)) {
        m_smallImages.Detach();
        m_largeImages.Detach();
    }
    CDragDropList::OnDestroy();
}

// ---------------------------------------------------------------------------
// Painting.

BOOL CUIODListCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CUIODListCtrl::OnSize(UINT type, int cx, int cy)
{
    m_clientWidth = cx;
    CDragDropList::OnSize(type, cx, cy);
}

// The list view draws into one off-screen surface filled with the list's
// background, which reaches the screen in one blit.
void CUIODListCtrl::OnPaint()
{
    DWORD style = GetStyle();
    if (m_paintExtension && m_fullRowSelect && (style & LVS_TYPEMASK) == LVS_REPORT &&
        (style & LVS_OWNERDRAWFIXED) && GetItemCount() > 0) {
        // Repaint the area right of the last column with its edge.
        CRect row;
        GetItemRect(0, &row, LVIR_BOUNDS);
        if (row.right < m_clientWidth) {
            CRect clip;
            ::GetUpdateRect(m_hWnd, &clip, FALSE);
            if (clip.left > row.right - 1)
                clip.left = row.right - 1;
            InvalidateRect(clip, FALSE);
        }
    }
    CPaintDC paint(this);
    COLORREF background = m_bkColor == CLR_NONE ? ::GetSysColor(COLOR_WINDOW) : m_bkColor;
    CMemDC surface(&paint, &paint.m_ps.rcPaint, background);
    if (surface.IsValid())
        DefWindowProc(WM_PAINT, (WPARAM)surface.m_hDC, 0);
}

LRESULT CUIODListCtrl::OnSetBkColorMessage(WPARAM wParam, LPARAM lParam)
{
    m_bkColor = (COLORREF)lParam;
    return DefWindowProc(LVM_SETBKCOLOR, wParam, lParam);
}

BOOL CUIODListCtrl::RedrawItem(int row)
{
    CRect rect;
    if (!GetItemRect(row, &rect, LVIR_BOUNDS))
        return FALSE;
    RedrawItems(row, row);
    UpdateWindow();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Scrolling, menus and dropped files.

void CUIODListCtrl::OnHScroll(UINT code, UINT position, CScrollBar* scrollBar)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    CDragDropList::OnHScroll(code, position, scrollBar);
}

void CUIODListCtrl::OnVScroll(UINT code, UINT position, CScrollBar* scrollBar)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    CDragDropList::OnVScroll(code, position, scrollBar);
}

void CUIODListCtrl::OnContextMenu(CWnd*, CPoint point)
{
    ShowContextMenu(0, 0, point.x, point.y);
}

void CUIODListCtrl::ShowContextMenu(int, UINT, int, int)
{
}

void CUIODListCtrl::SetPopupMenus(UINT singleSelectionId, UINT multipleSelectionId, CWnd* owner)
{
    m_singleSelectionMenuId = singleSelectionId;
    m_multipleSelectionMenuId = multipleSelectionId;
    m_popupOwner = owner;
}

BOOL CUIODListCtrl::ShowPopupMenu(int row, UINT flags, int x, int y)
{
    int first = GetSelectedOrFocusedRow();
    bool multiple = first >= 0 && GetNextItem(first, LVNI_SELECTED) >= 0;
    UINT menuId = multiple ? m_multipleSelectionMenuId : m_singleSelectionMenuId;
    if (menuId == 0 || flags != 0 || row == -1)
        return multiple;
    CMenu menu;
    if (!menu.LoadMenu(menuId))
        return FALSE;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup)
        return FALSE;
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, x, y, m_popupOwner ? m_popupOwner : this);
    return TRUE;
}

LRESULT CUIODListCtrl::OnKeyboardContextMenu(WPARAM, LPARAM)
{
    int row = GetSelectedOrFocusedRow();
    CPoint point(0, 0);
    if (row >= 0)
        GetItemPosition(row, &point);
    ClientToScreen(&point);
    ShowContextMenu(row, 0, point.x, point.y);
    return 1;
}

void CUIODListCtrl::OnDropFiles(HDROP drop)
{
    POINT where = {0, 0};
    ::DragQueryPoint(drop, &where);
    UINT flags = 0;
    int row = HitTest(where, &flags);
    UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[kPathLength] = "";
        if (::DragQueryFileA(drop, i, path, kPathLength))
            OnDropFile(row, path, flags);
    }
    ::DragFinish(drop);
}

void CUIODListCtrl::OnDropFile(int, LPCSTR, UINT)
{
}

// ---------------------------------------------------------------------------
// Notices.

BOOL CUIODListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHEADERA* header = (NMHEADERA*)lParam;
    switch (header->hdr.code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
        if (!m_columnsResizable) {
            *result = 1;
            return TRUE;
        }
        break;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
        if (m_columnsResizable && header->pitem && (header->pitem->mask & HDI_WIDTH))
            PostMessage(WM_ODLIST_CLICK, (WPARAM)header->hdr.hwndFrom, header->iItem);
        break;
    default:
        break;
    }
    return CDragDropList::OnNotify(wParam, lParam, result);
}

LRESULT CUIODListCtrl::OnColumnWidthChanged(WPARAM, LPARAM lParam)
{
    int column = (int)lParam;
    if (column >= 0 && column < (int)m_widths.size())
        m_widths[column] = (int)SendMessage(LVM_GETCOLUMNWIDTH, column);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_ODLIST_NOTIFY, (WPARAM)m_hWnd, lParam);
    return 1;
}

BOOL CUIODListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_MEASUREITEM) {
        OnMeasureItem(*(MEASUREITEMSTRUCT*)lParam);
        *result = TRUE;
        return TRUE;
    }
    if (message != WM_NOTIFY)
        return CDragDropList::OnChildNotify(message, wParam, lParam, result);
    NMHDR* header = (NMHDR*)lParam;
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        NMLISTVIEW* change = (NMLISTVIEW*)lParam;
        const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
        if ((change->uNewState & both) == both)
            return OnItemSelected(change->iItem, result);
        break;
    }
    case LVN_GETDISPINFOA:
        return GetDispInfoText((NMLVDISPINFOA*)lParam);
    case LVN_COLUMNCLICK:
        return OnColumnClick((NMLISTVIEW*)lParam);
    case LVN_BEGINLABELEDITA:
        m_labelEditing = true;
        break;
    case LVN_ENDLABELEDITA:
        m_labelEditing = false;
        return OnEndLabelEdit((NMLVDISPINFOA*)lParam, result);
    case NM_DBLCLK:
        return OnItemActivate((NMITEMACTIVATE*)lParam);
    case NM_CUSTOMDRAW: {
        NMLVCUSTOMDRAW* draw = (NMLVCUSTOMDRAW*)lParam;
        switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            *result = CDRF_NOTIFYITEMDRAW;
            return TRUE;
        case CDDS_ITEMPREPAINT:
            return OnItemPrePaint(draw, result);
        case CDDS_ITEMPOSTPAINT:
            return OnItemPostPaint(draw, result);
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            return OnSubItemPrePaint(draw, result);
        case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
            return OnSubItemPostPaint(draw, result);
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    return CDragDropList::OnChildNotify(message, wParam, lParam, result);
}

BOOL CUIODListCtrl::OnItemActivate(NMITEMACTIVATE*)
{
    return FALSE;
}

BOOL CUIODListCtrl::OnItemSelected(int row, LRESULT* result)
{
    OnSelectionChanged(row, result);
    return TRUE;
}

BOOL CUIODListCtrl::OnSelectionChanged(int, LRESULT* result)
{
    *result = 0;
    return TRUE;
}

BOOL CUIODListCtrl::OnItemPrePaint(NMLVCUSTOMDRAW*, LRESULT* result)
{
    *result = CDRF_NOTIFYSUBITEMDRAW;
    return TRUE;
}

BOOL CUIODListCtrl::OnItemPostPaint(NMLVCUSTOMDRAW*, LRESULT* result)
{
    *result = 0;
    return TRUE;
}

BOOL CUIODListCtrl::OnSubItemPrePaint(NMLVCUSTOMDRAW*, LRESULT* result)
{
    *result = 0;
    return TRUE;
}

BOOL CUIODListCtrl::OnSubItemPostPaint(NMLVCUSTOMDRAW*, LRESULT*)
{
    return TRUE;
}

int CUIODListCtrl::OnMeasureItem(MEASUREITEMSTRUCT& measure)
{
    measure.itemHeight = (::GetSystemMetrics(SM_CYSMICON) + 1) * 3;
    return (int)measure.itemHeight;
}

// ---------------------------------------------------------------------------
// Keys: each posts a message to the list and is consumed.

BOOL CUIODListCtrl::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)
        return CDragDropList::PreTranslateMessage(msg);
    bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    UINT posted = 0;
    switch (msg->wParam) {
    case VK_F10:
        posted = shift ? WM_ODLIST_CONTEXTMENU : 0;
        break;
    case VK_APPS:
        posted = WM_ODLIST_CONTEXTMENU;
        break;
    case VK_F2:
        posted = WM_ODLIST_RENAME;
        break;
    case VK_DELETE:
        posted = m_labelEditing ? 0 : WM_ODLIST_DELETE;
        break;
    case VK_RETURN:
        posted = msg->message == WM_SYSKEYDOWN ? WM_ODLIST_PROPERTIES : WM_ODLIST_OPEN;
        break;
    default:
        break;
    }
    if (!posted)
        return CDragDropList::PreTranslateMessage(msg);
    PostMessage(posted);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Selection and image lists.

int CUIODListCtrl::GetSelectedOrFocusedRow() const
{
    int row = GetNextItem(-1, LVNI_SELECTED);
    return row >= 0 ? row : GetNextItem(-1, LVNI_FOCUSED);
}

int CUIODListCtrl::SelectItem(int row)
{
    if (GetItemCount() == 0)
        return -1;
    return SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED) ? 1 : -1;
}

void CUIODListCtrl::SetFullRowSelect(bool on)
{
    if (m_fullRowSelect == on)
        return;
    m_fullRowSelect = on;
    if (!(GetStyle() & LVS_OWNERDRAWFIXED)) {
        DWORD extended = (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE);
        extended = on ? extended | LVS_EX_FULLROWSELECT : extended & ~LVS_EX_FULLROWSELECT;
        SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    }
    int row = GetSelectedOrFocusedRow();
    if (row >= 0)
        RedrawItem(row);
}

void CUIODListCtrl::CreateImageLists()
{
    m_smallIconWidth = ::GetSystemMetrics(SM_CXSMICON);
    m_smallIconHeight = ::GetSystemMetrics(SM_CYSMICON);
    m_largeIconWidth = ::GetSystemMetrics(SM_CXICON);
    m_largeIconHeight = ::GetSystemMetrics(SM_CYICON);
    m_smallImages.DeleteImageList();
    m_largeImages.DeleteImageList();
    m_smallImages.Create(m_smallIconWidth, m_smallIconHeight, ILC_COLOR16 | ILC_MASK, 1, 1);
    m_largeImages.Create(m_largeIconWidth, m_largeIconHeight, ILC_COLOR16 | ILC_MASK, 1, 1);
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)m_smallImages.GetSafeHandle());
    SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, (LPARAM)m_largeImages.GetSafeHandle());
}

void CUIODListCtrl::GetImageLists(HIMAGELIST& smallList, HIMAGELIST& largeList)
{
    if (!SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL))
        CreateImageLists();
    smallList = (HIMAGELIST)SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL);
    largeList = (HIMAGELIST)SendMessage(LVM_GETIMAGELIST, LVSIL_NORMAL);
}

// ---------------------------------------------------------------------------
// View and style commands.

void CUIODListCtrl::OnViewCommand(UINT id)
{
    const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_REPORT, LVS_LIST};
    ModifyStyle(LVS_TYPEMASK, views[id - kCommandViewIcon]);
}

void CUIODListCtrl::ToggleExtendedStyle(DWORD bit)
{
    DWORD extended = (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE);
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended ^ bit);
}

void CUIODListCtrl::OnGridLinesCommand()
{
    ToggleExtendedStyle(LVS_EX_GRIDLINES);
}

void CUIODListCtrl::OnCheckBoxesCommand()
{
    ToggleExtendedStyle(LVS_EX_CHECKBOXES);
}

void CUIODListCtrl::OnHeaderDragDropCommand()
{
    ToggleExtendedStyle(LVS_EX_HEADERDRAGDROP);
}

void CUIODListCtrl::OnTrackSelectCommand()
{
    ToggleExtendedStyle(LVS_EX_TRACKSELECT);
}

void CUIODListCtrl::OnFullRowSelectCommand()
{
    SetFullRowSelect(!m_fullRowSelect);
}

void CUIODListCtrl::OnResizableColumnsCommand()
{
    m_columnsResizable = !m_columnsResizable;
}
