// CUIODListCtrl: the toolkit's general list control over the common list
// view (report, icon, small-icon and list views). It keeps one row record
// per row (its item data), makes its columns from one heading text
// ("Name|Size|Type"), keeps per-column widths, order and value types, sorts
// by a column with the sort mark in its owner-drawn header, turns keys into
// posted messages (WM_ODLIST_*), edits cells and headings in place, shows
// popup menus, and offers many overridable operations to derived lists.
//
// Cell texts live in the row records (CUIStrListCtrlData) and reach the
// list view through LVN_GETDISPINFO; a list that stores texts makes such
// records in CreateRowData. The list paints through one off-screen surface.
//
// Drag and drop: the list is a CDragDropList; the browser's file list
// derives from this class and fills in GetItemPath, GetCurrentFolderPath
// and OnDropFile.
#pragma once
#include "platform/classlib/classlib.h"
#include "toolkit/dragdrop/drag_drop_list.h"

#include <map>
#include <vector>

#include "toolkit/controls/in_place_edit.h"
#include "toolkit/controls/od_header_ctrl.h"
#include "toolkit/controls/odlist_messages.h"
#include "toolkit/controls/ui_list_ctrl_data.h"

// The sort request of one sort, handed to the compare callback as its
// lParamSort.
class CUIODListCtrlSortInfo : public CObject {
    DECLARE_DYNAMIC(CUIODListCtrlSortInfo)
public:
    CUIODListCtrlSortInfo(bool ascending, int column, int columnType)
        : m_ascending(ascending), m_column(column), m_columnType(columnType)
    {
    }
    bool m_ascending;
    int m_column;
    int m_columnType;
    // Set when every row's m_sortKey holds the column's value, or its
    // m_sortText the text's sort key (kept in m_sortTexts).
    bool m_keysRead = false;
    bool m_textKeysMade = false;
    std::vector<char> m_sortTexts;
};

class CUIODListCtrl : public CDragDropList {
    DECLARE_DYNAMIC(CUIODListCtrl)
public:
    // Commands the list takes (from its popup menus).
    static const UINT kCommandViewIcon = 42771;
    static const UINT kCommandViewSmallIcon = 42772;
    static const UINT kCommandViewReport = 42773;
    static const UINT kCommandViewList = 42774;
    static const UINT kCommandGridLines = 42775;
    static const UINT kCommandCheckBoxes = 42777;
    static const UINT kCommandHeaderDragDrop = 42778;
    static const UINT kCommandFullRowSelect = 42779;
    static const UINT kCommandTrackSelect = 42780;
    static const UINT kCommandResizableColumns = 42781;
    static const UINT kCommandHideColumn = 42782;
    static const UINT kCommandEditHeading = 42783;
    static const UINT kCommandShowAllColumns = 42784;
    static const UINT kCommandEditCell = 42786;

    CUIODListCtrl();
    ~CUIODListCtrl() override;

    // --- Overridable operations, in the order derived lists know them.
    virtual void SetItemFont(int row, CFont* font);
    virtual void SetItemBold(int row, BOOL bold);
    virtual void SetSubItemFont(int row, int column, CFont* font);
    virtual void SetSubItemBold(int row, int column, BOOL bold);
    virtual BOOL SetColumnFormat(int column, int format);
    // After a column click changed the sort state, before sorting.
    virtual void OnSortChanged();
    // Adds the list's style bits to the window style.
    virtual void ChangeStyle(UINT& style);
    virtual void InitializeList();
    // Column set-up from "A|B|C"; return the column count (-1 for a null
    // text while columns exist).
    virtual int InitColumnHeadings(LPCSTR headings);
    virtual int InitColumnsWithIcon(UINT iconId, LPCSTR headings);
    // iconIds: zero-terminated icon resource ids for the image lists, or null.
    virtual int InitColumns(const UINT* iconIds, LPCSTR headings);
    virtual BOOL SetItemDateTime(int row, int column, DATE dateTime, int type);
    virtual BOOL SetItemDouble(int row, int column, double value, int type);
    virtual BOOL SetItemInt(int row, int column, int value, int type);
    // Stores the cell's text (formatted for the type, which becomes the
    // column's); returns whether the cell held a text before.
    virtual BOOL SetItemText(int row, int column, LPCSTR text, int type);
    virtual BOOL RedrawItem(int row);
    virtual void SetRowText(int row, LPCSTR text);
    // The index of the column whose heading holds the text, else a new
    // column at the end (-1 when it cannot be made).
    virtual int AddColumn(LPCSTR heading);
    virtual void Sort();
    virtual int OnMeasureItem(MEASUREITEMSTRUCT& measure);
    virtual void FormatDuration(CString& text);
    virtual void FormatThousands(CString& text);
    virtual PFNLVCOMPARE GetCompareFunc();
    virtual BOOL GetDispInfoText(NMLVDISPINFOA* dispInfo);
    virtual BOOL OnColumnClick(NMLISTVIEW* listView);
    virtual BOOL OnItemActivate(NMITEMACTIVATE* activate);
    virtual BOOL OnEndLabelEdit(NMLVDISPINFOA* dispInfo, LRESULT* result);
    virtual BOOL OnItemSelected(int row, LRESULT* result);
    // Asked before an edited text is kept (row -1: a heading); the base
    // refuses.
    virtual BOOL AcceptLabelEdit(int row, int column, LPCSTR text);
    // Report view: the row and the cell under the point, -1 when none.
    virtual int HitTestEx(CPoint point, CRect& cell, int& column);
    virtual void OnDeleteAllItems();
    virtual void GetImageLists(HIMAGELIST& smallList, HIMAGELIST& largeList);
    virtual void CreateImageLists();
    virtual CUIListCtrlData* CreateRowData(void* object, int rowCount);
    virtual void ShowContextMenu(int row, UINT flags, int x, int y);
    virtual BOOL ShowPopupMenu(int row, UINT flags, int x, int y);
    virtual BOOL OnItemPrePaint(NMLVCUSTOMDRAW* customDraw, LRESULT* result);
    virtual BOOL OnItemPostPaint(NMLVCUSTOMDRAW* customDraw, LRESULT* result);
    virtual BOOL OnSubItemPrePaint(NMLVCUSTOMDRAW* customDraw, LRESULT* result);
    virtual BOOL OnSubItemPostPaint(NMLVCUSTOMDRAW* customDraw, LRESULT* result);
    virtual void OnDropFile(int row, LPCSTR path, UINT hitFlags);
    virtual int FreeRowData();
    virtual BOOL OnSelectionChanged(int row, LRESULT* result);

    // --- Plain operations.
    // The row's object, null for -1 or a row without record.
    void* GetItemExtData(int row) const;
    CUIListCtrlData* GetRowData(int row) const;
    // 1, or -1 when the list is empty or the state cannot be set.
    int SelectItem(int row);
    // Adds a row at the end; its index, -1 when it cannot be inserted, 0
    // when there are no columns.
    int AddObject(void* object, int image = -1);
    void GetSortInfo(int& column, bool& ascending) const;
    int GetSortColumn() const { return m_sortColumn; }
    bool GetSortAscending() const { return m_ascending; }
    void SetSortInfo(int column, bool ascending);
    void SetSortInfoNoResort(int column, bool ascending);
    void SetSortColumn(int column);
    void SetSortAscending(bool ascending);
    // Opens an editor over the cell; null when refused.
    CInPlaceEdit* EditSubItem(int row, int column);
    void SetFullRowSelect(bool on);
    // The menus of ShowPopupMenu and the window their commands go to (the
    // list itself when null).
    void SetPopupMenus(UINT singleSelectionId, UINT multipleSelectionId, CWnd* owner = nullptr);

    int GetColumnCount() const { return m_columnCount; }
    int GetRowCount() const { return m_rowCount; }
    const CString& GetHeadings() const { return m_headings; }
    int GetColumnType(int column) const;
    // Stored widths and order, applied by the next InitColumns; a set that
    // does not fit the columns then is dropped for the defaults.
    void SetColumnWidths(const std::vector<int>& widths) { m_widths = widths; }
    void SetColumnOrder(const std::vector<int>& order) { m_order = order; }
    const std::vector<int>& GetColumnWidths() const { return m_widths; }
    // The order the columns show in now.
    std::vector<int> GetColumnOrder() const;
    CODHeaderCtrl& GetHeader() { return m_header; }
    bool IsLabelEditing() const { return m_labelEditing; }

    BOOL PreTranslateMessage(MSG* msg) override;

    // The compare callback of Sort (lParamSort a CUIODListCtrlSortInfo).
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM sortInfo);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PreSubclassWindow() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnContextMenu(CWnd* window, CPoint point);
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg LRESULT OnDeleteAllItemsMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteItemMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteColumnMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetBkColorMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetColumnWidthMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetItemTextMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnColumnWidthChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKeyboardContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg void OnViewCommand(UINT id);
    afx_msg void OnGridLinesCommand();
    afx_msg void OnCheckBoxesCommand();
    afx_msg void OnHeaderDragDropCommand();
    afx_msg void OnTrackSelectCommand();
    afx_msg void OnFullRowSelectCommand();
    afx_msg void OnResizableColumnsCommand();
    afx_msg void OnHideColumnCommand();
    afx_msg void OnEditHeadingCommand();
    afx_msg void OnShowAllColumnsCommand();
    afx_msg void OnEditCellCommand();
    DECLARE_MESSAGE_MAP()

    // The first selected row, else the focused one; -1 when neither.
    int GetSelectedOrFocusedRow() const;
    // The cell hit test of the edit-cell command: -2 on the header.
    int HitTestCell(CPoint point, int* column);
    int FindVisibleCell(CPoint point, CRect& cell, int& column);
    void SubclassHeader();

    COLORREF m_bkColor;
    int m_clientWidth = 0;
    bool m_fullRowSelect = false;
    bool m_paintExtension = true;
    bool m_columnsResizable = true;
    bool m_ascending = true;
    int m_sortColumn = 0;
    CWnd* m_popupOwner = nullptr;
    UINT m_singleSelectionMenuId = 0;
    UINT m_multipleSelectionMenuId = 0;
    CUIObjList m_rows;
    int m_rowCount = 0;
    int m_columnCount = 0;
    bool m_rowImages = false;
    // The column commands 42782 and 42783 act on (-1: none) and the screen
    // point command 42786 edits at; a derived list sets them.
    int m_chosenColumn = -1;
    CPoint m_clickPoint;
    bool m_hasClickPoint = false;
    int m_smallIconWidth = 0;
    int m_smallIconHeight = 0;
    int m_largeIconWidth = 0;
    int m_largeIconHeight = 0;
    std::vector<int> m_widths;
    std::vector<int> m_order;
    std::vector<int> m_types;
    DWORD m_extendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
    UINT m_styleBits = LVS_REPORT;
    CImageList m_smallImages;
    CImageList m_largeImages;
    CString m_headings;
    // Icon resource id to its image in the image lists.
    std::map<UINT, int> m_iconImages;
    CODHeaderCtrl m_header;
    bool m_cellEditingAllowed = true;
    bool m_labelEditing = false;

private:
    bool BoldOrNormalFont(CUIListCtrlData* record, BOOL bold, LOGFONTA& logFont);
    void SortRows(CUIODListCtrlSortInfo& info);
    void ReadSortKeys(CUIODListCtrlSortInfo& info);
    void ApplyColumnOrder();
    void ApplyColumnWidths();
    void MarkSort();
    void ToggleExtendedStyle(DWORD bit);
    void EditHeading(int column);
    CString GetHeadingText(int column) const;
    void ReplaceHeadingInList(const CString& oldHeading, LPCSTR newHeading);
    void ApplyStyle();
};
