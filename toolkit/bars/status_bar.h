// CCJStatusBar: the status bar with controls placed in its panes (kept on
// their panes when the bar is sized) and panes added and removed by id
// after creation.
#pragma once
#include "platform/classlib/classlib.h"
#include <vector>

// Pane style bit: a control placed in the pane covers the pane exactly,
// its border included.
#define SBPS_FILLCONTROL 0x0001

// A control placed in a pane; with auto-destroy the bar owns the object.
class CCJStatusBarPaneControlInfo : public CObject {
    DECLARE_DYNCREATE(CCJStatusBarPaneControlInfo)
public:
    CCJStatusBarPaneControlInfo() = default;

    CWnd* m_hWnd = nullptr;
    UINT m_nPaneID = 0;
    BOOL m_bAutoDestroy = TRUE;
};

// One pane's description, exchanged by CCJStatusBar::GetPaneInfoEx.
class CCJStatusBarPane : public CObject {
    DECLARE_DYNAMIC(CCJStatusBarPane)
public:
    CCJStatusBarPane() = default;

    UINT m_nID = 0;
    int m_cxText = 0;
    UINT m_nStyle = 0;
    UINT m_nFlags = 0;
    CString m_strText;
};

class CCJStatusBar : public CStatusBar {
    DECLARE_DYNAMIC(CCJStatusBar)
public:
    CCJStatusBar() = default;
    ~CCJStatusBar() override;

    // Moves every placed control onto its pane.
    virtual void PositionControls();
    virtual CCJStatusBarPaneControlInfo* FindPaneControl(UINT paneId);
    // FALSE when no pane has the id or the pane holds a control already.
    virtual BOOL AddControl(CWnd* control, UINT paneId, BOOL autoDestroy = TRUE);
    virtual void SetPaneWidth(int index, int width);
    // Inserts a pane at the position (0 for a negative one, the last place
    // for one past the end); FALSE when a pane has the id.
    virtual BOOL AddIndicator(int position, UINT id);
    virtual BOOL GetPaneInfoEx(int index, CCJStatusBarPane* pane);
    // Removes the pane and its control (destroyed when the bar owns it).
    virtual BOOL RemoveIndicator(UINT id);

protected:
    // Sets the panes again from the copies, every text shown at once; the
    // added pane (if any) gets the new pane's style and width.
    void RebuildPanes(const std::vector<CCJStatusBarPane*>& panes, const CCJStatusBarPane* added);
    void CopyPanes(std::vector<CCJStatusBarPane*>& panes);

    afx_msg void OnSize(UINT type, int cx, int cy);

    DECLARE_MESSAGE_MAP()

    std::vector<CCJStatusBarPaneControlInfo*> m_arrPaneControls;
};
