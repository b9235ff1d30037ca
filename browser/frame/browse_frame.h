// CBrowseFrame: the top-level window of browse mode, made once at start-up
// and hidden while view mode shows. Around the file list pane it hosts a
// tool bar, a status bar (counts, current file, selection size, thumbnail
// progress, drawing summary) and two sizing bars, the folder tree "Dir
// Tree" and the preview "PreView", arranged in one of six interface
// styles. Commands go to the pane, then the preview, then the frame's own
// map (browse_frame_commands.cpp), then the application.
#pragma once
#include "browser/filelist/file_list_view.h"
#include "browser/frame/browse_view_side.h"
#include "browser/tree/tree_bar.h"
#include "platform/classlib/classlib.h"
#include "toolkit/bars/frame_wnd.h"
#include "toolkit/bars/status_bar.h"
#include "toolkit/common/window_placement.h"
#include "toolkit/controls/quorvantix_progress.h"
#include "toolkit/menus/cool_menu_manager.h"
#include "views/preview/preview_bar.h"

class CBrowseFrame : public CCJFrameWnd, public IFileListHost {
    DECLARE_DYNCREATE(CBrowseFrame)
public:
    CBrowseFrame();
    ~CBrowseFrame() override;

    // Shows the frame: the first time at its stored place, with the tree
    // filled; then opens the tree's start folder and selects the previewed
    // file again. Returns what showing the window returned.
    BOOL ActivateBrowseMode(int nCmdShow);
    // The folder the tree opens at the next activation.
    void SetStartFolder(const char* path);
    CString GetStartFolder() const { return m_startFolder; }
    // The thumbnail task thread exists and waits for its next batch.
    BOOL IsTaskThreadAlive() const;
    // " <caption>", with " [ <current item> ]" when ShowFullPath is on.
    void UpdateTitle();
    // The tree finds and selects the folder; false when it is not there.
    bool GoToFolder(LPCSTR path) override;
    // The bookmark editor of the pane's edit button.
    void EditBookmarks() override;

    // Status panes 0xF007 to 0xF009: a null text removes the pane, a text
    // for a missing pane inserts it in its place. Nothing while the status
    // bar is hidden.
    void SetStatusPaneText(UINT id, const char* text);
    // Every pane but the last as wide as its text.
    void FitStatusPanes();
    // The thumbnail progress pane: a negative position removes it, else it
    // is made when missing (range set only then) and takes the position.
    void SetProgress(int lower, int upper, int pos);

    // Interface styles 1 to 6 (browse_frame_styles.cpp); others do nothing.
    void ApplyInterfaceStyle(int style);
    // The stored layout: the old one deleted and the two common entries
    // written; then each style's own entries.
    void ResetBarState();
    void WriteLayoutStyle1();
    void WriteLayoutStyle2();
    void WriteLayoutStyle3();
    void WriteLayoutStyle4();
    // Without a stored layout, style 1 is written and applied.
    void EnsureBarState();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CPreView* GetPreview() { return m_previewBar.GetPane(); }
    BOOL IsPreviewBarVisible() const { return m_previewBar.IsVisible(); }
    CFileListView* GetFileListView() { return &m_fileListView; }
    CIEShellListCtrl* GetFileList() { return &m_fileListView.GetList(); }
    CShellTree* GetTree() { return &m_treeBar.GetTree(); }
    CCJStatusBar* GetStatusBar() { return &m_statusBar; }
    CToolBar* GetToolBar() { return &m_toolBar; }
    CTreeBar* GetTreeBar() { return &m_treeBar; }
    CPreViewBar* GetPreviewBar() { return &m_previewBar; }
    CQuorvantixProgress* GetProgress() { return m_progress; }

    // The path of the file the preview showed when view mode began; the
    // list selects it again at the next activation.
    CString m_rememberedItemPath;
    // Set by the switch back from view mode: the next activation refreshes
    // the list.
    BYTE m_refreshOnActivate;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSetFocus(CWnd* oldWindow);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg BOOL OnDeviceChange(UINT event, DWORD_PTR data);
    afx_msg LRESULT OnUpdateStatus(WPARAM thumbnailsDone, LPARAM thumbnailsInBatch);
    afx_msg LRESULT OnDrawProgress(WPARAM percent, LPARAM lParam);
    afx_msg LRESULT OnStatusText(WPARAM blank, LPARAM text);
    afx_msg LRESULT OnUpdatePathLabel(WPARAM, LPARAM);
    afx_msg LRESULT OnPathBoxEnter(WPARAM, LPARAM);
    afx_msg LRESULT OnAllThumbnailsDone(WPARAM, LPARAM);
    afx_msg LRESULT OnApplyPreferences(WPARAM force, LPARAM);
    afx_msg LRESULT OnListOptionsChanged(WPARAM, LPARAM);
    afx_msg LRESULT OnRegenThumbnails(WPARAM, LPARAM);
    afx_msg LRESULT OnBookmarksChanged(WPARAM, LPARAM);

    // Commands and their update rules (browse_frame_commands.cpp).
    afx_msg void OnFileOpen();
    afx_msg void OnEditWithApp();
    afx_msg void OnFolderUp();
    afx_msg void OnRefresh();
    afx_msg void OnFileProperties();
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnDeleteFiles();
    afx_msg void OnSelectAll();
    afx_msg void OnSelectAllDrawings();
    afx_msg void OnSelectNone();
    afx_msg void OnInvertSelection();
    afx_msg void OnRename();
    afx_msg void OnViewToolbar();
    afx_msg void OnViewStatusBar();
    afx_msg void OnToggleFolderPane();
    afx_msg void OnTogglePreviewPane();
    afx_msg void OnRegenAllThumbnails();
    afx_msg void OnRegenSelectedThumbnails();
    afx_msg void OnSkipCurrentThumbnail();
    afx_msg void OnShowSelectedItem();
    afx_msg void OnViewThumbnails();
    afx_msg void OnViewLargeIcon();
    afx_msg void OnViewSmallIcon();
    afx_msg void OnViewList();
    afx_msg void OnViewDetails();
    afx_msg void OnSwitchToView();
    afx_msg void OnSortByName();
    afx_msg void OnSortBySize();
    afx_msg void OnSortByType();
    afx_msg void OnSortByDate();
    afx_msg void OnSortAscending();
    afx_msg void OnSortDescending();
    afx_msg void OnInterfaceStyle();
    afx_msg void OnInsertToAutoCAD();
    afx_msg void OnExifInfo();
    afx_msg void OnNewFolder();
    afx_msg void OnSaveThumbnails();
    afx_msg void OnUpdateFileOpen(CCmdUI* cmdUI);
    afx_msg void OnUpdateEditWithApp(CCmdUI* cmdUI);
    afx_msg void OnUpdateFolderUp(CCmdUI* cmdUI);
    afx_msg void OnUpdateRefresh(CCmdUI* cmdUI);
    afx_msg void OnUpdateHasSelection(CCmdUI* cmdUI);
    afx_msg void OnUpdateEditCut(CCmdUI* cmdUI);
    afx_msg void OnUpdateEditCopy(CCmdUI* cmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* cmdUI);
    afx_msg void OnUpdateHasItems(CCmdUI* cmdUI);
    afx_msg void OnUpdateRename(CCmdUI* cmdUI);
    afx_msg void OnUpdateViewToolbar(CCmdUI* cmdUI);
    afx_msg void OnUpdateViewStatusBar(CCmdUI* cmdUI);
    afx_msg void OnUpdateToggleFolderPane(CCmdUI* cmdUI);
    afx_msg void OnUpdateTogglePreviewPane(CCmdUI* cmdUI);
    afx_msg void OnUpdateRegenAllThumbnails(CCmdUI* cmdUI);
    afx_msg void OnUpdateRegenSelectedThumbnails(CCmdUI* cmdUI);
    afx_msg void OnUpdateSkipCurrentThumbnail(CCmdUI* cmdUI);
    afx_msg void OnUpdateShowSelectedItem(CCmdUI* cmdUI);
    afx_msg void OnUpdateViewThumbnails(CCmdUI* cmdUI);
    afx_msg void OnUpdateListStyle(CCmdUI* cmdUI);
    afx_msg void OnUpdateSwitchToView(CCmdUI* cmdUI);
    afx_msg void OnUpdateSortColumn(CCmdUI* cmdUI);
    afx_msg void OnUpdateSortDirection(CCmdUI* cmdUI);
    afx_msg void OnUpdateInsertToAutoCAD(CCmdUI* cmdUI);
    afx_msg void OnUpdateExifInfo(CCmdUI* cmdUI);
    afx_msg void OnUpdateNewFolder(CCmdUI* cmdUI);
    afx_msg void OnUpdateSaveThumbnails(CCmdUI* cmdUI);

    DECLARE_MESSAGE_MAP()

private:
    // The activation's steps, while filling the list leaves the preview.
    BOOL ShowAndSelectPreviewedFile(int nCmdShow);
    // The creation steps after the class library's own.
    bool CreateBars();
    // WM_PREFS_CHANGED's steps, also run at creation.
    void ApplyPreferences(bool force);
    // The status refresh of WM_UPDATE_STATUS after the coalescing.
    void RefreshStatus(int thumbnailsDone, int thumbnailsInBatch);
    // Removes the progress pane and forgets its control.
    void RemoveProgressPane();
    // The position of a new status pane: after the panes of the ids before
    // it that are present.
    int StatusPanePosition(UINT id) const;
    bool IsStatusBarShown() const;
    // Styles 5 and 6: one bar hidden, the other docked at the bottom, the
    // window two thumbnails wide at the top left.
    void ApplyBottomStyle(CControlBar* shown, CControlBar* hidden);
    // Where the focus is, for copy, cut, paste and refresh.
    bool IsFocusOnListSide() const;
    bool IsFocusOnTreeSide() const;
    // Shows or hides a bar as a preference says and lays the frame out.
    void ShowBarByPreference(CControlBar* bar, BYTE& preference);
    // The shell's copy or cut of the list's selected items.
    void RunListClipboardVerb(UINT verb);
    // The selected rows are drawn as cut, without their overlay images.
    void MarkListSelectionCut();

    CFont m_frameFont;
    CQuorvantixProgress* m_progress;
    BYTE m_firstShown;
    CPreViewBar m_previewBar;
    CCJStatusBar m_statusBar;
    CToolBar m_toolBar;
    CTreeBar m_treeBar;
    CFileListView m_fileListView;
    CBrowseViewSide m_viewSide{this};
    CCoolMenuManager m_menuManager;
    CCJWindowPlacement m_placement;
    CString m_startFolder;
    // Set from the first transient status text until the next refresh.
    BYTE m_transientText;
};
