// CDragDropList: a list control whose items are files. Selected items are
// dragged out as a dropped-file list (copy and move offered); files dropped
// on a folder item or on the background are copied there; the clipboard's
// files are pasted into the shown folder.
//
// The derived list says what its items are (GetItemPath), which folder it
// shows (GetCurrentFolderPath) and where a drop may land (CanDropAt).
#pragma once
#include "platform/classlib/classlib.h"

#include <vector>

#include "toolkit/dragdrop/list_drop_target.h"

class CDragDropList : public CListCtrl {
    DECLARE_DYNAMIC(CDragDropList)
public:
    CDragDropList();

    virtual BOOL CanDropAt(CWnd* window, int x, int y);
    // Removes the tree's drop highlight.
    virtual void ClearTreeDropHighlight(CWnd* tree);
    virtual CString GetItemPath(int index);
    virtual CString GetCurrentFolderPath();
    // After a drag of this list's items ended with a copy or a move.
    virtual void OnDragDone() {}
    // Files dropped by a drag of the left or of the right mouse button,
    // with the drop's effect; both put them where DropFiles does.
    virtual void OnDragLeftButton(const std::vector<CString>& names, DWORD effect) { DropFiles(names, effect); }
    virtual void OnDragRightButton(const std::vector<CString>& names, DWORD effect) { DropFiles(names, effect); }

    BOOL HasSelection() const { return GetSelectedCount() != 0; }
    // The clipboard holds dropped files.
    BOOL CanPaste() const;
    // Moves the drop highlight to the item under the client point when a
    // drop may land there; true when the point takes a drop.
    bool DragOverItem(CWnd* window, CPoint point);
    // Copies or moves the files into the highlighted item, else into the
    // shown folder.
    void DropFiles(const std::vector<CString>& names, DWORD effect);
    // Pastes the clipboard's files into the shown folder, moving them when
    // they were cut; true when the clipboard held files.
    bool Paste();
    void ClearDropHighlight();

    bool IsDragging() const { return m_dragging; }
    int GetDropHighlightItem() const { return m_dropItem; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnBeginDrag(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    int m_dropItem;
    bool m_dragging;
    CListDropTarget m_dropTarget;
};
