// CPathBoxDropTarget: folders dropped on the path box become bookmarks;
// dropped files are ignored.
#pragma once
#include "toolkit/dragdrop/file_drop_target.h"

class CPathListBox;

class CPathBoxDropTarget : public CFileDropTarget {
public:
    explicit CPathBoxDropTarget(CPathListBox* box) : m_box(box) {}

protected:
    // A bookmark is made, never a copy or a move.
    DWORD EffectAt(CWnd* window, CPoint point) override;
    void DropNames(const std::vector<CString>& names, DWORD dropEffect) override;

private:
    CPathListBox* m_box;
};
