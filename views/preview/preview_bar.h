// CPreViewBar: the browse frame's dockable, sizable bar that holds the
// preview pane. Docking, sizing, caption and layout come from the sizing
// bar; the bar itself sizes and focuses the pane and offers it every
// command first.
#pragma once
#include "toolkit/bars/control_bar.h"
#include "views/preview/preview_pane.h"

class CPreViewBar : public CCJControlBar {
public:
    CPreViewBar();
    ~CPreViewBar() override;

    CPreView* GetPane() { return &m_pane; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* oldWindow);
    DECLARE_MESSAGE_MAP()

private:
    CPreView m_pane;
};
