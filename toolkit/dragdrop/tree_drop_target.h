// CTreeDropTarget: files dropped on a drag-and-drop tree go into the
// highlighted folder item.
#pragma once
#include "toolkit/dragdrop/file_drop_target.h"

class CDragDropTree;

class CTreeDropTarget : public CFileDropTarget {
public:
    explicit CTreeDropTarget(CDragDropTree* tree) : m_tree(tree) {}

protected:
    DWORD EffectAt(CWnd* window, CPoint point) override;
    void ForgetDrag() override;
    void DropNames(const std::vector<CString>& names, DWORD dropEffect) override;

private:
    CDragDropTree* m_tree;
};
