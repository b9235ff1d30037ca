#include "platform/classlib/ctrl_lists.h"

#include "platform/classlib/ctrl_owner_draw.h"
#include "platform/classlib/module_state.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    DeleteImageList();
    m_hImageList = ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), cx, grow, mask,
                                        IMAGE_BITMAP, LR_CREATEDIBSECTION);
    return m_hImageList != nullptr;
}

BOOL CImageList::Attach(HIMAGELIST list)
{
    DeleteImageList();
    m_hImageList = list;
    return list != nullptr;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    BOOL destroyed = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return destroyed;
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (OfferDrawItem(this, message, lParam, result))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}

int CListCtrl::InsertItem(int index, LPCSTR text, int image)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = (LPSTR)text;
    item.iImage = image;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int index, int subItem, LPCSTR text)
{
    LVITEMA item = {};
    item.iSubItem = subItem;
    item.pszText = (LPSTR)text;
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, (WPARAM)index, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int index, int subItem) const
{
    // The control copies at most the buffer's size; grow until the text fits.
    CString text;
    for (int size = 256;; size *= 2) {
        LVITEMA item = {};
        item.iSubItem = subItem;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        int length = (int)SendMessage(LVM_GETITEMTEXTA, (WPARAM)index, (LPARAM)&item);
        text.ReleaseBuffer(length);
        if (length < size - 1 || size >= 65536)
            return text;
    }
}

DWORD_PTR CListCtrl::GetItemData(int index) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = (LPARAM)data;
    return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask)
{
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)index, (LPARAM)&item);
}

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const
{
    rect->left = (LONG)code;
    return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)index, (LPARAM)rect);
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int area, RECT& rect) const
{
    rect.top = subItem;
    rect.left = area;
    return (BOOL)SendMessage(LVM_GETSUBITEMRECT, (WPARAM)index, (LPARAM)&rect);
}

int CListCtrl::HitTest(POINT point, UINT* flags) const
{
    LVHITTESTINFO info = {};
    info.pt = point;
    int index = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return index;
}

int CListCtrl::InsertColumn(int index, LPCSTR heading, int format, int width, int subItem)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT | (width >= 0 ? LVCF_WIDTH : 0) | (subItem >= 0 ? LVCF_SUBITEM : 0);
    column.fmt = format;
    column.pszText = (LPSTR)heading;
    column.cx = width;
    column.iSubItem = subItem;
    return InsertColumn(index, &column);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    return (CHeaderCtrl*)CWnd::FromHandle((HWND)SendMessage(LVM_GETHEADER));
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (OfferDrawItem(this, message, lParam, result))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = (LPSTR)text;
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return InsertItem(&insert);
}

CString CTreeCtrl::GetItemText(HTREEITEM handle) const
{
    CString text;
    for (int size = 256;; size *= 2) {
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = handle;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        BOOL got = GetItem(&item);
        text.ReleaseBuffer(-1);
        if (!got) {
            text.Empty();
            return text;
        }
        if (text.GetLength() < size - 1 || size >= 65536)
            return text;
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM handle, LPCSTR text)
{
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = handle;
    item.pszText = (LPSTR)text;
    return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM handle) const
{
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM handle, DWORD_PTR data)
{
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    item.lParam = (LPARAM)data;
    return SetItem(&item);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM handle, int& image, int& selectedImage) const
{
    TVITEMA item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = handle;
    if (!GetItem(&item))
        return FALSE;
    image = item.iImage;
    selectedImage = item.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM handle, int image, int selectedImage)
{
    TVITEMA item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = handle;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    return SetItem(&item);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM handle, UINT state, UINT mask)
{
    TVITEMA item = {};
    item.mask = TVIF_STATE;
    item.hItem = handle;
    item.state = state;
    item.stateMask = mask;
    return SetItem(&item);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const
{
    *(HTREEITEM*)rect = item;
    return (BOOL)SendMessage(TVM_GETITEMRECT, (WPARAM)textOnly, (LPARAM)rect);
}

HTREEITEM CTreeCtrl::HitTest(POINT point, UINT* flags) const
{
    TVHITTESTINFO info = {};
    info.pt = point;
    HTREEITEM item = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return item;
}
