// CTreeBar: the docking bar "Dir Tree" of the browse frame, holding the
// folder tree.
#pragma once
#include "browser/tree/shell_tree.h"
#include "toolkit/bars/control_bar.h"

class CTreeBar : public CCJControlBar {
    DECLARE_DYNAMIC(CTreeBar)
public:
    // The bar's id in the frame and the tree's id in the bar.
    static const UINT kBarId = 106;
    static const UINT kTreeId = 108;

    CShellTree& GetTree() { return m_tree; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    CShellTree m_tree;
};
