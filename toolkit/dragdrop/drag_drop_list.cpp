#include "toolkit/dragdrop/drag_drop_list.h"

#include "toolkit/dragdrop/dropped_files.h"

IMPLEMENT_DYNAMIC(CDragDropList, CListCtrl)

BEGIN_MESSAGE_MAP(CDragDropList, CListCtrl)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, &CDragDropList::OnBeginDrag)
END_MESSAGE_MAP()

CDragDropList::CDragDropList() : m_dropItem(-1), m_dragging(false), m_dropTarget(this)
{
}

BOOL CDragDropList::CanDropAt(CWnd*, int, int)
{
    return TRUE;
}

void CDragDropList::ClearTreeDropHighlight(CWnd* tree)
{
    if (tree && tree->m_hWnd)
        ::SendMessageA(tree->m_hWnd, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
}

CString CDragDropList::GetItemPath(int)
{
    return CString();
}

CString CDragDropList::GetCurrentFolderPath()
{
    return CString();
}

int CDragDropList::OnCreate(LPCREATESTRUCT cs)
{
    if (CListCtrl::OnCreate(cs) == -1)
        return -1;
    m_dropTarget.Register(this);
    return 0;
}

BOOL CDragDropList::CanPaste() const
{
    if (!::OpenClipboard(m_hWnd))
        return FALSE;
    BOOL available = ::IsClipboardFormatAvailable(CF_HDROP);
    ::CloseClipboard();
    return available;
}

void CDragDropList::OnBeginDrag(NMHDR*, LRESULT* result)
{
    *result = 0;
    m_dragging = true;
    m_dropItem = -1;
    std::vector<CString> paths;
    for (int index = GetNextItem(-1, LVNI_SELECTED); index >= 0; index = GetNextItem(index, LVNI_SELECTED))
        paths.push_back(GetItemPath(index));
    if (CFileDropTarget::RunOwnDrag(paths) & (DROPEFFECT_COPY | DROPEFFECT_MOVE)) {
        ClearDropHighlight();
        OnDragDone();
    }
    m_dragging = false;
    ClearDropHighlight();
}

bool CDragDropList::DragOverItem(CWnd* window, CPoint point)
{
    int item = HitTest(point);
    if (item >= 0 && CanDropAt(window, point.x, point.y)) {
        if (item != m_dropItem) {
            ClearDropHighlight();
            SetItemState(item, LVIS_DROPHILITED, LVIS_DROPHILITED);
            RedrawItems(item, item);
            m_dropItem = item;
        }
        return true;
    }
    ClearDropHighlight();
    // The background takes a drop into the shown folder.
    return item < 0 && CanDropAt(window, point.x, point.y);
}

void CDragDropList::DropFiles(const std::vector<CString>& names, DWORD effect)
{
    CString folder = m_dropItem >= 0 ? GetItemPath(m_dropItem) : GetCurrentFolderPath();
    ClearDropHighlight();
    if (!names.empty() && !folder.IsEmpty())
        TransferFiles(m_hWnd, names, folder, effect);
}

bool CDragDropList::Paste()
{
    std::vector<CString> names;
    if (!ReadClipboardFiles(m_hWnd, names))
        return false;
    DropFiles(names, GetPreferredDropEffect() == DROPEFFECT_MOVE ? DROPEFFECT_MOVE : DROPEFFECT_COPY);
    return true;
}

void CDragDropList::ClearDropHighlight()
{
    if (m_dropItem < 0)
        return;
    SetItemState(m_dropItem, 0, LVIS_DROPHILITED);
    RedrawItems(m_dropItem, m_dropItem);
    m_dropItem = -1;
    UpdateWindow();
}
