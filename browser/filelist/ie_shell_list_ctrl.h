// CIEShellListCtrl: the browse frame's file list. It shows the contents of
// one shell-namespace folder in one of five views (large icons, details,
// small icons, list, thumbnails), knows which items are drawings or images
// (by the file-type table), opens them, runs the shell's file operations on
// its selection, serves the viewer's previous and next drawing, and drives
// the thumbnail task thread: one task per file row, the rows in view first,
// the finished pictures taken back from WM_THUMB_DONE.
//
// Every row's object is a CShellItemData made with the shell allocator; the
// list frees them (FreeAllRecords) when its rows go.
#pragma once
#include "platform/classlib/classlib.h"

#include <vector>

#include "browser/filelist/file_list_messages.h"
#include "browser/filelist/shell_item_data.h"
#include "browser/filelist/thumbnail_files.h"
#include "browser/shell/shell_pidl.h"
#include "browser/shell/shell_settings.h"
#include "graphics/dib.h"
#include "toolkit/controls/ui_od_list_ctrl.h"

class CPreView;
class KBMP;
class TTaskManageThread;

// The five views; 0..3 are the list view's own style codes.
enum FileListViewType : int {
    VIEWTYPE_LARGE_ICONS = 0,
    VIEWTYPE_REPORT = 1,
    VIEWTYPE_SMALL_ICONS = 2,
    VIEWTYPE_LIST = 3,
    VIEWTYPE_THUMBNAILS = 4,
};

// A folder to show: the folder that holds it (null for the desktop's own
// items), its id there and its absolute id list. The tree's item records
// and the list's own records both have this shape at their start.
struct CShellFolderRef {
    IShellFolder* parentFolder;
    LPITEMIDLIST relative;
    LPITEMIDLIST absolute;
};

class CIEShellListCtrl : public CUIODListCtrl {
    DECLARE_DYNAMIC(CIEShellListCtrl)
public:
    static constexpr UINT kControlId = 112;

    CIEShellListCtrl();
    ~CIEShellListCtrl() override;

    // --- Folders.
    // Binds the folder and shows it; false when it cannot be bound.
    bool BrowseToFolder(const CShellFolderRef& folder);
    bool BrowseToPath(LPCSTR path);
    // Re-enumerates the shown folder (a full rebuild with clearFirst) and
    // selects the item selected before when it is still there.
    void RefreshKeepSelection(bool sort, bool clearFirst);
    // Incremental re-enumeration: vanished rows go, new items come.
    void Refresh(bool sort);
    CString GetCurrentFolderPath() override { return m_folderPath; }
    CString GetItemPath(int index) override;

    // --- Views.
    void SetViewType(int type);
    int GetViewType() const { return m_viewType; }
    // The create style of the pane's list for the present view type.
    DWORD GetCreateStyle() const;
    void OnPreferencesChanged(bool refreshOtherViews, bool force);
    void SetPreview(CPreView* preview) { m_pPreview = preview; }
    void SetTreeWindow(HWND tree) { m_hTreeWnd = tree; }
    // The task thread to hand the thumbnails to (AppSW's when not set).
    void SetTaskThread(TTaskManageThread* thread) { m_taskThread = thread; }

    // --- Selection.
    void SelectAll();
    void SelectNone();
    void InvertSelection();
    // False (and a message) when no row is a drawing or image.
    bool SelectAllDrawings();
    void ShowSelectedItem();
    bool HasItems() const { return GetItemCount() > 0; }
    bool HasSelectionOrFocus() const { return GetSelectedOrFocusedRow() >= 0; }
    bool IsSingleJpeg() const;
    bool IsSingleDwgOrDxf() const;
    bool HasFolderPath() const { return m_folderPath.GetLength() > 2; }
    bool GetSelectedPaths(CStringList& paths);
    CString GetSelectedSizeText();
    // -1: the selected row, else the focused one.
    CShellItemData* GetItemRecord(int index) const;
    CString GetSelectedPath() const { return m_selectedPath; }
    bool SelectItemByPath(LPCSTR path);
    bool IsCurrentItemViewable() const;
    int GetFileCount() const { return m_fileCount; }
    int GetFolderCount() const { return m_folderCount; }

    // --- The viewer's previous and next drawing.
    bool HasPrevDrawing() const;
    bool HasNextDrawing() const;
    CShellItemData* SelectPrevDrawing();
    CShellItemData* SelectNextDrawing();

    // --- Operations on the selection.
    bool DeleteSelected() { return DeleteItems(); }
    bool ShowFileProperties() { return ShowProperties(); }
    bool StartRename();
    bool OpenSelectedItem();
    bool OpenItem(int index);
    bool ShellOpenItem(int index, LPCSTR verb);
    // Shows the current drawing or image in view mode; false for a folder
    // or another file.
    bool ViewSelectedFile();
    // The new-folder dialog on the shown folder; true when it made the
    // folder (the folder watcher then lists it).
    bool NewFolder();
    // The Exif dialog of the current photo, or a message that it has none.
    bool ShowExif();
    // In thumbnail view, with files, while the task thread is idle: asks
    // where and how, and writes the shown thumbnails as picture files.
    bool SaveThumbnails(const ThumbnailProgress& progress);

    // --- Thumbnails.
    void StopCurrentTask();
    void QueueThumbnails(bool selectedOnly);
    void SkipCurrentThumbnail();
    bool CanQueue(bool selectedOnly) const;
    bool IsTaskBusy() const;
    bool IsTaskIdleWithFiles() const;
    bool IsTaskThreadIdle() const;
    // New thumbnail preferences: a new cell size in thumbnail view makes the
    // cells and their pictures anew, anything else is only repainted.
    void OnThumbLookChanged();
    int GetCellWidth() const { return m_cellWidth; }
    int GetCellHeight() const { return m_cellHeight; }
    int GetDoneCount() const { return m_doneCount; }
    const CString& GetTotalSizeText() const { return m_totalSizeText; }

    // Base hooks.
    void OnSortChanged() override;
    void ChangeStyle(UINT& style) override;
    void InitializeList() override;
    // The shown folder's own order (IShellFolder::CompareIDs by column).
    void Sort() override;
    BOOL OnColumnClick(NMLISTVIEW* listView) override;
    BOOL GetDispInfoText(NMLVDISPINFOA* dispInfo) override;
    BOOL OnItemActivate(NMITEMACTIVATE* activate) override;
    BOOL AcceptLabelEdit(int row, int column, LPCSTR text) override;
    void OnDeleteAllItems() override;
    void ShowContextMenu(int row, UINT flags, int x, int y) override;
    BOOL OnItemPrePaint(NMLVCUSTOMDRAW* customDraw, LRESULT* result) override;
    BOOL OnSelectionChanged(int row, LRESULT* result) override;
    BOOL CanDropAt(CWnd* window, int x, int y) override;

    // --- Drops, the shell's column headings, the preview on fill.
    // Asks whether to move or copy the dropped files here.
    void OnDragRightButton(const std::vector<CString>& names, DWORD effect) override;
    // The shown folder's own detail columns' headings, joined by '|';
    // empty without a folder.
    CString GetShellColumnHeadings();
    // Process-wide, on by default: filling a folder clears the preview. The
    // browse frame turns it off while it activates browse mode.
    static void SetClearPreviewOnFill(bool on);
    static bool ClearsPreviewOnFill();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnSettingChange(UINT flags, LPCSTR section);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRenameKey(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteKey(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPropertiesKey(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenKey(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowFolder(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThumbDone(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThumbStage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThumbsFinished(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetCurrentFolder(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFolderContentChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Shows "loading" in a raster file's cell when its decoding takes long.
    static constexpr UINT_PTR kRetryTimer = 258;
    // The longest run of finished thumbnails taken in one go; the timer
    // that takes the rest.
    static constexpr ULONGLONG kTakeSliceMs = 30;
    static constexpr UINT_PTR kTakeTimer = 259;

    // Folder state.
    bool SetFolder(const CShellFolderRef& folder, IShellFolder* shown);
    void ReleaseFolder();
    bool FillList();
    void ResetForFolder();
    void EndFill();
    void FreeAllRecords();
    IEnumIDList* EnumerateFolder();
    SHCONTF GetEnumFlags() const;
    SHELLFLAGSTATE GetShellFlags() const;
    // Whether the item is listed, and its kind.
    bool ClassifyItem(LPCITEMIDLIST relative, ULONG attributes, int32_t& kind);
    // A file's kind in the file-type table, kItemKindOther when not there.
    int32_t FileKindOf(LPCITEMIDLIST relative);
    void UpdateKeptRecord(CShellItemData& record);
    bool IsRefusedNow(const CShellItemData& record) const;
    CShellItemData* AddItemRow(LPCITEMIDLIST relative, ULONG attributes, int32_t kind);
    void CountKinds();
    void MakeColumns();
    void SetSystemImageLists();
    void ApplyViewStyle();
    void LoadViewSettings();
    void SaveViewSettings() const;
    void ClearPreview();
    void ShowInPreview(const CString& path);
    void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT SendToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) const;
    static int CALLBACK CompareByShell(LPARAM first, LPARAM second, LPARAM sortInfo);
    void SortByShell();

    // Report cells.
    CString GetColumnText(CShellItemDetails& details, int column, CShellItemData& record);
    // The record's cell texts, made on first use.
    CShellItemDetails& DetailsOf(CShellItemData& record);
    bool GetSizeAndDate(const CString& path, CString& size, CString& date);

    // Operations.
    bool DeleteItems();
    bool ShowProperties();
    bool RenameItem(int row, LPCSTR newText);
    bool IsExtensionShown(int row, const CString& extension);
    int FindItemByPath(LPCSTR path) const;
    int FindDrawing(int from, int step) const;
    CShellItemData* MoveToDrawing(int step);
    void ShowMessage(UINT stringId);

    // Thumbnails.
    // The cell size from the thumbnail preferences; true when it changed.
    bool UpdateCellSize();
    // Takes the cell size and border, and makes the loading picture for the
    // picture box they leave.
    void SetCellSize(int width, int height, int border);
    // The cell buffer, image list and icon spacing for the present size.
    void RebuildCells();
    void SetThumbnailMode(bool on);
    void BeginThumbnailBatch(bool keepThumbnails);
    void RequeueThumbnails();
    void StartThumbnailTasks(bool regenerate, bool refresh);
    int FirstVisibleTask() const;
    void ClearThumbnails();
    void FreeTaskTable();
    bool ComputeTotalSizeText();
    void TakeFinishedThumbnails();
    void PointTaskThreadAtView();
    void RedrawThumbnailItem(int row);
    void DrawThumbnailCell(int row, UINT state, HDC dc, POINT origin, bool marked, int iconStyle, bool focus);
    void DrawThumbnailPicture(int row, HDC cellDc, const RECT& area, POINT iconAt, int iconStyle);
    void DrawNarrowFrame(HDC cellDc, UINT state, bool marked, bool withPicture);
    void DrawWideFocus(HDC cellDc, COLORREF background);
    void DrawThumbnailLabel(int row, HDC dc, RECT label, bool marked, bool focus);
    COLORREF GetCellBackground(bool marked, bool focus) const;
    UINT GetThumbnailState(int row) const;
    TTaskManageThread* TaskThread() const;
    int ThumbBorder() const;
    bool IsThumbnailView() const { return m_viewType == VIEWTYPE_THUMBNAILS; }

    BYTE m_showOtherFiles = 1;
    // The file-type filter ("OnlyShowDrawing") the rows were classified by.
    BYTE m_onlyDrawings = 0;
    CMenu m_contextMenu;
    HWND m_hTreeWnd = nullptr;
    std::vector<CShellItemData*> m_records;
    IShellFolder* m_parentFolder = nullptr;
    IShellFolder* m_folder = nullptr;
    LPITEMIDLIST m_folderRelative = nullptr;
    LPITEMIDLIST m_folderAbsolute = nullptr;
    LPITEMIDLIST m_pidlDesktop = nullptr;
    IMalloc* m_pMalloc = nullptr;
    CShellSettings m_shellSettings;
    CShellPidl m_pidls;
    CString m_columnHeadings;
    CString m_folderPath;
    BYTE m_shellColumnMode = 0;
    BYTE m_refreshAllowed = 1;
    BYTE m_listCleared = 0;
    BYTE m_columnsMade = 0;
    int m_viewType = VIEWTYPE_THUMBNAILS;
    HIMAGELIST m_largeSysImages = nullptr;
    HIMAGELIST m_smallSysImages = nullptr;
    CPreView* m_pPreview = nullptr;
    int m_fileCount = 0;
    int m_folderCount = 0;
    CString m_selectedPath;
    BYTE m_filling = 0;
    TTaskManageThread* m_taskThread = nullptr;

    // Keeps the rows in step with the shown folder.
    CFolderWatch m_folderWatch;

    // Thumbnail view.
    CDib m_cellDib;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    int m_cellBorder = 0;
    COLORREF m_lightHighlight;
    int m_retryItem = -1;
    std::vector<int> m_taskOrder;
    bool m_hasTaskTable = false;
    CImageList m_thumbImages;
    BYTE m_acceptResults = 1;
    int m_doneCount = 0;
    int m_taskCount = 0;
    CString m_totalSizeText;
    BYTE m_drawDuringFill = 0;
};

// The shared "loading" picture of the thumbnail cells, rebuilt when the
// size differs; true when it was rebuilt.
bool MakeLoadingPicture(int width, int height);
