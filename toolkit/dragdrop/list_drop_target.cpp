#include "toolkit/dragdrop/list_drop_target.h"

#include "toolkit/dragdrop/drag_drop_list.h"

DWORD CListDropTarget::EffectAt(CWnd* window, CPoint point)
{
    return m_list->DragOverItem(window, point) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

void CListDropTarget::ForgetDrag()
{
    m_list->ClearDropHighlight();
}

void CListDropTarget::DropNames(const std::vector<CString>& names, DWORD dropEffect)
{
    if (DroppedByRightButton())
        m_list->OnDragRightButton(names, dropEffect);
    else
        m_list->OnDragLeftButton(names, dropEffect);
}
