// The common controls that hold items: image lists, list views, headers and
// tree views, as objects. Thin: each call is the control's message.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "platform/classlib/wnd.h"

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // A list of cx-wide images cut from a bitmap resource.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(HBITMAP bitmap, HBITMAP mask) { return ImageList_Add(m_hImageList, bitmap, mask); }
    int Add(HBITMAP bitmap, COLORREF mask) { return ImageList_AddMasked(m_hImageList, bitmap, mask); }
    int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    BOOL Replace(int index, HBITMAP bitmap, HBITMAP mask)
    {
        return ImageList_Replace(m_hImageList, index, bitmap, mask);
    }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    BOOL Draw(HDC dc, int index, POINT point, UINT style) const
    {
        return ImageList_Draw(m_hImageList, index, dc, point.x, point.y, style);
    }
    HICON ExtractIcon(int index) const { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }
    COLORREF SetBkColor(COLORREF colour) { return ImageList_SetBkColor(m_hImageList, colour); }
    BOOL GetImageInfo(int index, IMAGEINFO* info) const { return ImageList_GetImageInfo(m_hImageList, index, info); }
    BOOL SetImageCount(UINT count) { return ImageList_SetImageCount(m_hImageList, count); }
};

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_HEADERA, nullptr, style, rect, parent, id);
    }
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    int InsertItem(int index, HDITEMA* item) { return (int)SendMessage(HDM_INSERTITEMA, (WPARAM)index, (LPARAM)item); }
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(HDM_DELETEITEM, (WPARAM)index); }
    BOOL GetItem(int index, HDITEMA* item) const { return (BOOL)SendMessage(HDM_GETITEMA, (WPARAM)index, (LPARAM)item); }
    BOOL SetItem(int index, HDITEMA* item) { return (BOOL)SendMessage(HDM_SETITEMA, (WPARAM)index, (LPARAM)item); }
    BOOL GetItemRect(int index, LPRECT rect) const
    {
        return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)index, (LPARAM)rect);
    }
    BOOL GetOrderArray(LPINT order, int count) const
    {
        return (BOOL)SendMessage(HDM_GETORDERARRAY, (WPARAM)count, (LPARAM)order);
    }
    BOOL SetOrderArray(int count, LPINT order)
    {
        return (BOOL)SendMessage(HDM_SETORDERARRAY, (WPARAM)count, (LPARAM)order);
    }
    int OrderToIndex(int order) const { return (int)SendMessage(HDM_ORDERTOINDEX, (WPARAM)order); }
    HIMAGELIST SetImageList(HIMAGELIST list) { return (HIMAGELIST)SendMessage(HDM_SETIMAGELIST, 0, (LPARAM)list); }
    int HitTest(HDHITTESTINFO* info) const { return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)info); }

    // Owner-drawn header items draw here.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_LISTVIEWA, nullptr, style, rect, parent, id);
    }
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    void SetItemCount(int count) { SendMessage(LVM_SETITEMCOUNT, (WPARAM)count); }
    void SetItemCountEx(int count, DWORD flags) { SendMessage(LVM_SETITEMCOUNT, (WPARAM)count, flags); }
    int InsertItem(const LVITEMA* item) { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)item); }
    int InsertItem(int index, LPCSTR text, int image = -1);
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)index); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    BOOL GetItem(LVITEMA* item) const { return (BOOL)SendMessage(LVM_GETITEMA, 0, (LPARAM)item); }
    BOOL SetItem(const LVITEMA* item) { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)item); }
    BOOL SetItemText(int index, int subItem, LPCSTR text);
    CString GetItemText(int index, int subItem) const;
    DWORD_PTR GetItemData(int index) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    UINT GetItemState(int index, UINT mask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)index, mask); }
    BOOL SetItemState(int index, UINT state, UINT mask);
    int GetNextItem(int index, int flags) const { return (int)SendMessage(LVM_GETNEXTITEM, (WPARAM)index, flags); }
    UINT GetSelectedCount() const { return (UINT)SendMessage(LVM_GETSELECTEDCOUNT); }
    int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX); }
    int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE); }
    BOOL EnsureVisible(int index, BOOL partialOK) { return (BOOL)SendMessage(LVM_ENSUREVISIBLE, (WPARAM)index, partialOK); }
    BOOL Scroll(SIZE size) { return (BOOL)SendMessage(LVM_SCROLL, (WPARAM)size.cx, (LPARAM)size.cy); }
    BOOL RedrawItems(int first, int last) { return (BOOL)SendMessage(LVM_REDRAWITEMS, (WPARAM)first, last); }
    BOOL Update(int index) { return (BOOL)SendMessage(LVM_UPDATE, (WPARAM)index); }
    BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int index, int subItem, int area, RECT& rect) const;
    BOOL GetItemPosition(int index, LPPOINT point) const
    {
        return (BOOL)SendMessage(LVM_GETITEMPOSITION, (WPARAM)index, (LPARAM)point);
    }
    int HitTest(LVHITTESTINFO* info) const { return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)info); }
    int HitTest(POINT point, UINT* flags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* info) { return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)info); }
    int InsertColumn(int index, const LVCOLUMNA* column)
    {
        return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)index, (LPARAM)column);
    }
    int InsertColumn(int index, LPCSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int index) { return (BOOL)SendMessage(LVM_DELETECOLUMN, (WPARAM)index); }
    BOOL GetColumn(int index, LVCOLUMNA* column) const
    {
        return (BOOL)SendMessage(LVM_GETCOLUMNA, (WPARAM)index, (LPARAM)column);
    }
    BOOL SetColumn(int index, const LVCOLUMNA* column)
    {
        return (BOOL)SendMessage(LVM_SETCOLUMNA, (WPARAM)index, (LPARAM)column);
    }
    int GetColumnWidth(int index) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)index); }
    BOOL SetColumnWidth(int index, int width) { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)index, width); }
    BOOL GetColumnOrderArray(LPINT order, int count) const
    {
        return (BOOL)SendMessage(LVM_GETCOLUMNORDERARRAY, (WPARAM)count, (LPARAM)order);
    }
    BOOL SetColumnOrderArray(int count, LPINT order)
    {
        return (BOOL)SendMessage(LVM_SETCOLUMNORDERARRAY, (WPARAM)count, (LPARAM)order);
    }
    CHeaderCtrl* GetHeaderCtrl() const;
    HIMAGELIST SetImageList(HIMAGELIST list, int kind)
    {
        return (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)list);
    }
    HIMAGELIST GetImageList(int kind) const { return (HIMAGELIST)SendMessage(LVM_GETIMAGELIST, (WPARAM)kind); }
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); }
    DWORD SetExtendedStyle(DWORD style) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    COLORREF GetBkColor() const { return (COLORREF)SendMessage(LVM_GETBKCOLOR); }
    BOOL SetBkColor(COLORREF colour) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, colour); }
    BOOL SetTextColor(COLORREF colour) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, colour); }
    BOOL SetTextBkColor(COLORREF colour) { return (BOOL)SendMessage(LVM_SETTEXTBKCOLOR, 0, colour); }
    DWORD SetIconSpacing(int cx, int cy) { return (DWORD)SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(cx, cy)); }
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data)
    {
        return (BOOL)SendMessage(LVM_SORTITEMS, (WPARAM)data, (LPARAM)compare);
    }
    HWND GetEditControl() const { return (HWND)SendMessage(LVM_GETEDITCONTROL); }
    HWND EditLabel(int index) { return (HWND)SendMessage(LVM_EDITLABELA, (WPARAM)index); }
    BOOL Arrange(UINT code) { return (BOOL)SendMessage(LVM_ARRANGE, code); }

    // Owner-drawn list views (LVS_OWNERDRAWFIXED, report view) draw here.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_TREEVIEWA, nullptr, style, rect, parent, id);
    }
    HTREEITEM InsertItem(TVINSERTSTRUCTA* insert) { return (HTREEITEM)SendMessage(TVM_INSERTITEMA, 0, (LPARAM)insert); }
    HTREEITEM InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM item) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)item); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }
    BOOL GetItem(TVITEMA* item) const { return (BOOL)SendMessage(TVM_GETITEMA, 0, (LPARAM)item); }
    BOOL SetItem(TVITEMA* item) { return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)item); }
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCSTR text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    UINT GetItemState(HTREEITEM item, UINT mask) const
    {
        return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)item, mask);
    }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, code, (LPARAM)item);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    BOOL ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }
    BOOL SelectItem(HTREEITEM item) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item); }
    BOOL SelectDropTarget(HTREEITEM item)
    {
        return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, (LPARAM)item);
    }
    BOOL Expand(HTREEITEM item, UINT code) { return (BOOL)SendMessage(TVM_EXPAND, code, (LPARAM)item); }
    BOOL EnsureVisible(HTREEITEM item) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)item); }
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
    HTREEITEM HitTest(TVHITTESTINFO* info) const { return (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)info); }
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const;
    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT); }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind)
    {
        return (HIMAGELIST)SendMessage(TVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)list);
    }
    BOOL SortChildren(HTREEITEM item) { return (BOOL)SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)item); }
    BOOL SortChildrenCB(TVSORTCB* sort) { return (BOOL)SendMessage(TVM_SORTCHILDRENCB, 0, (LPARAM)sort); }
    HWND GetEditControl() const { return (HWND)SendMessage(TVM_GETEDITCONTROL); }
    HWND EditLabel(HTREEITEM item) { return (HWND)SendMessage(TVM_EDITLABELA, 0, (LPARAM)item); }
    HIMAGELIST CreateDragImage(HTREEITEM item)
    {
        return (HIMAGELIST)SendMessage(TVM_CREATEDRAGIMAGE, 0, (LPARAM)item);
    }
};
