#include "browser/bookmarks/path_box_drop_target.h"

#include "browser/bookmarks/path_list_box.h"

DWORD CPathBoxDropTarget::EffectAt(CWnd*, CPoint)
{
    return DROPEFFECT_COPY;
}

void CPathBoxDropTarget::DropNames(const std::vector<CString>& names, DWORD)
{
    m_box->AddDroppedFolders(names);
}
