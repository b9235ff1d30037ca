// CListDropTarget: files dropped on a drag-and-drop list go into the
// highlighted folder item or, over the background, into the shown folder.
#pragma once
#include "toolkit/dragdrop/file_drop_target.h"

class CDragDropList;

class CListDropTarget : public CFileDropTarget {
public:
    explicit CListDropTarget(CDragDropList* list) : m_list(list) {}

protected:
    DWORD EffectAt(CWnd* window, CPoint point) override;
    void ForgetDrag() override;
    void DropNames(const std::vector<CString>& names, DWORD dropEffect) override;

private:
    CDragDropList* m_list;
};
