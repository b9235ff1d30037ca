// CPathListBox: the path box above the file list, a combo box of the
// bookmarked folders in which the user also types a folder. Enter asks the
// main window to go to the typed folder (WM_PATHBOX_ENTER); folders dropped
// on the box become bookmarks.
#pragma once
#include "browser/bookmarks/path_box_drop_target.h"
#include "browser/bookmarks/path_manager.h"
#include "platform/classlib/classlib.h"

#include <vector>


// Posted to the main window with wParam 0 and lParam 0.
const UINT WM_PATHBOX_ENTER = 0x807A;

class CPathListBox : public CComboBox {
    DECLARE_DYNAMIC(CPathListBox)
public:
    CPathListBox();

    // Loads the bookmarks again and shows them (after the bookmark dialog).
    void Reload();
    // Enter (also with Alt) posts WM_PATHBOX_ENTER and goes no further.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The box's text becomes a bookmark unless it is one already.
    void AddCurrentFolder();
    // Removes the bookmark of the box's text; false when there is none.
    bool RemoveCurrentFolder();
    // Each dropped folder not yet bookmarked becomes one, saved once.
    void AddDroppedFolders(const std::vector<CString>& paths);

    CPathManager& GetPathManager() { return m_paths; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    DECLARE_MESSAGE_MAP()

private:
    void FillFromList();

    CPathManager m_paths;
    CPathBoxDropTarget m_dropTarget;
};
