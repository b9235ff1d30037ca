#include "browser/tree/tree_bar.h"

#include "browser/shell/shell_statics.h"

IMPLEMENT_DYNAMIC(CTreeBar, CCJControlBar)

BEGIN_MESSAGE_MAP(CTreeBar, CCJControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

int CTreeBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CCJControlBar::OnCreate(cs) == -1)
        return -1;
    if (!m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, CRect(0, 0, 0, 0),
                       this, kTreeId))
        return -1;
    m_tree.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    if (HIMAGELIST images = ShellStatics().smallImages)
        m_tree.SetImageList(images, TVSIL_NORMAL);
    return 0;
}

void CTreeBar::OnSize(UINT type, int cx, int cy)
{
    CCJControlBar::OnSize(type, cx, cy);
    if (m_tree.m_hWnd)
        m_tree.MoveWindow(0, 0, cx, cy, TRUE);
}
