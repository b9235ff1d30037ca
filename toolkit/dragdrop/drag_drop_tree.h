// CDragDropTree: a tree control whose items are folders. A writable folder
// is dragged out as a dropped-file list (copy and move offered) and copied
// to the clipboard; dropped files are copied, pasted ones copied or moved,
// into a folder item.
//
// The derived tree says which folder an item is (GetItemFolderPath and the
// two shortcuts for the caret and the drop-highlighted item) and where a
// drop may land (CanDropAt).
#pragma once
#include "platform/classlib/classlib.h"

#include <vector>

#include "toolkit/dragdrop/tree_drop_target.h"

class CDragDropTree : public CTreeCtrl {
    DECLARE_DYNAMIC(CDragDropTree)
public:
    CDragDropTree();

    virtual bool GetSelectedFolderPath(CString& path) = 0;
    virtual bool GetDropTargetFolderPath(CString& path) = 0;
    virtual BOOL CanDropAt(CWnd* window, int x, int y);
    // After a drag of this tree's folder ended with a copy or a move.
    virtual void OnDragDone() {}
    // The item's path when it is a writable folder.
    virtual bool GetItemFolderPath(HTREEITEM item, CString& path, bool& isFolder);

    // Moves the drop highlight to the item under the client point when a
    // drop may land there; true when it may.
    bool DragOverItem(CWnd* window, CPoint point);
    // Copies or moves the files into the drop-highlighted folder (a drop)
    // or the caret's folder (a paste); nothing when that is no writable
    // folder.
    void DropFiles(const std::vector<CString>& names, DWORD effect, bool fromDrop);
    BOOL CanCopy();
    // Puts the caret's folder on the clipboard; true when done.
    bool CopyToClipboard();
    BOOL CanPaste();
    // Pastes the clipboard's files into the caret's folder, moving them
    // when they were cut; true when the clipboard held files.
    bool Paste();
    void ClearDropHighlight();

    bool IsDragging() const { return m_dragging; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnBeginDrag(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    CTreeDropTarget m_dropTarget;
    HTREEITEM m_dropItem;
    bool m_dragging;
};
