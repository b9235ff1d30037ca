#include "toolkit/dragdrop/drag_drop_tree.h"

#include "toolkit/dragdrop/dropped_files.h"

IMPLEMENT_DYNAMIC(CDragDropTree, CTreeCtrl)

BEGIN_MESSAGE_MAP(CDragDropTree, CTreeCtrl)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGA, &CDragDropTree::OnBeginDrag)
END_MESSAGE_MAP()

CDragDropTree::CDragDropTree() : m_dropTarget(this), m_dropItem(nullptr), m_dragging(false)
{
}

BOOL CDragDropTree::CanDropAt(CWnd*, int, int)
{
    return TRUE;
}

bool CDragDropTree::GetItemFolderPath(HTREEITEM, CString&, bool& isFolder)
{
    isFolder = false;
    return false;
}

int CDragDropTree::OnCreate(LPCREATESTRUCT cs)
{
    if (CTreeCtrl::OnCreate(cs) == -1)
        return -1;
    m_dropTarget.Register(this);
    return 0;
}

void CDragDropTree::OnBeginDrag(NMHDR* header, LRESULT* result)
{
    *result = 0;
    m_dragging = true;
    m_dropItem = nullptr;
    CString path;
    bool isFolder = false;
    if (GetItemFolderPath(((NMTREEVIEWA*)header)->itemNew.hItem, path, isFolder) && isFolder) {
        DWORD effect = CFileDropTarget::RunOwnDrag({path});
        SelectDropTarget(nullptr);
        if (effect & (DROPEFFECT_COPY | DROPEFFECT_MOVE)) {
            ClearDropHighlight();
            OnDragDone();
        }
    }
    m_dragging = false;
    ClearDropHighlight();
}

bool CDragDropTree::DragOverItem(CWnd* window, CPoint point)
{
    HTREEITEM item = HitTest(point);
    if (item && CanDropAt(window, point.x, point.y)) {
        if (item != m_dropItem) {
            SelectDropTarget(item);
            m_dropItem = item;
            UpdateWindow();
        }
        return true;
    }
    ClearDropHighlight();
    return false;
}

void CDragDropTree::DropFiles(const std::vector<CString>& names, DWORD effect, bool fromDrop)
{
    CString folder;
    bool found = fromDrop ? GetDropTargetFolderPath(folder) : GetSelectedFolderPath(folder);
    ClearDropHighlight();
    if (found && !names.empty())
        TransferFiles(m_hWnd, names, folder, effect);
}

bool CDragDropTree::CopyToClipboard()
{
    CString path;
    return GetSelectedFolderPath(path) && PutFilesOnClipboard(m_hWnd, {path}, 0);
}

BOOL CDragDropTree::CanCopy()
{
    CString path;
    return GetSelectedFolderPath(path);
}

BOOL CDragDropTree::CanPaste()
{
    CString path;
    return ::IsClipboardFormatAvailable(CF_HDROP) && GetSelectedFolderPath(path);
}

bool CDragDropTree::Paste()
{
    ClearDropHighlight();
    std::vector<CString> names;
    if (!ReadClipboardFiles(m_hWnd, names))
        return false;
    DropFiles(names, GetPreferredDropEffect() == DROPEFFECT_MOVE ? DROPEFFECT_MOVE : DROPEFFECT_COPY, false);
    return true;
}

void CDragDropTree::ClearDropHighlight()
{
    if (!m_dropItem)
        return;
    SelectDropTarget(nullptr);
    m_dropItem = nullptr;
    UpdateWindow();
}
