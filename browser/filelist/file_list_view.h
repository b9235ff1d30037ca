// CFileListView: the right-hand pane of the browse frame. It holds the file
// list and, above it while "ShowPathBox" is on, a row with the path box (the
// bookmarked folders, its text the shown folder) and three icon buttons:
// bookmark the shown folder, remove its bookmark, edit the bookmarks.
#pragma once
#include "platform/classlib/classlib.h"

#include "browser/bookmarks/path_list_box.h"
#include "browser/filelist/ie_shell_list_ctrl.h"

// What the pane asks of the browse frame above it.
class IFileListHost {
public:
    virtual ~IFileListHost() {}
    // Shows the folder; false when it is not found.
    virtual bool GoToFolder(LPCSTR path) = 0;
    // The bookmark editor, modal.
    virtual void EditBookmarks() = 0;
};

class CFileListView : public CWnd {
    DECLARE_DYNAMIC(CFileListView)
public:
    static constexpr UINT kPaneId = 59648;
    static constexpr UINT kPathBoxId = 102;
    static constexpr UINT kAddBookmarkId = 103;
    static constexpr UINT kRemoveBookmarkId = 190;
    static constexpr UINT kEditBookmarksId = 191;
    static constexpr int kPathRowHeight = 28;

    CFileListView();
    ~CFileListView() override;

    BOOL Create(CWnd* parent, UINT id = kPaneId);
    void SetHost(IFileListHost* host) { m_host = host; }

    CIEShellListCtrl& GetList() { return m_list; }
    CPathListBox& GetPathBox() { return m_pathBox; }

    // After "ShowPathBox" changed.
    void RelayoutNow();
    // The path box text becomes the shown folder.
    void UpdatePathLabel();
    void ReloadPathBox();
    CString GetPathBoxText() const;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnAddBookmark();
    afx_msg void OnRemoveBookmark();
    afx_msg void OnEditBookmarks();
    afx_msg void OnPathBoxSelChange();
    DECLARE_MESSAGE_MAP()

private:
    bool CreateButton(CButton& button, UINT id, UINT iconId);
    bool CreateList();
    void LayoutChildren(int cx, int cy);
    bool OnToolTipText(NMHDR* header, LRESULT* result);
    void AddToolTips();

    CIEShellListCtrl m_list;
    CPathListBox m_pathBox;
    CButton m_addButton;
    CButton m_removeButton;
    CButton m_editButton;
    CFont m_font;
    IFileListHost* m_host = nullptr;
    HWND m_toolTips = nullptr;
};
