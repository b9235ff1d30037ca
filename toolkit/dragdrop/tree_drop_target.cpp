#include "toolkit/dragdrop/tree_drop_target.h"

#include "toolkit/dragdrop/drag_drop_tree.h"

DWORD CTreeDropTarget::EffectAt(CWnd* window, CPoint point)
{
    return m_tree->DragOverItem(window, point) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

void CTreeDropTarget::ForgetDrag()
{
    m_tree->ClearDropHighlight();
}

void CTreeDropTarget::DropNames(const std::vector<CString>& names, DWORD dropEffect)
{
    m_tree->DropFiles(names, dropEffect, true);
}
