// CFrameWnd: a top-level frame window loaded from resources (menu,
// accelerators, icon, title) that routes commands to its active view,
// itself and the application, and updates its menus before they open.
#pragma once
#include "platform/classlib/barstyles.h"
#include "platform/classlib/wnd.h"
#include <vector>

class CControlBar;
class CDockBar;
class CDockState;

// The name of the frames' window class; PreCreateWindow may choose another.
extern const char AFX_FRAME_CLASS[];

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();

    // Lets Windows choose the position and size.
    static const RECT rectDefault;

    // Creates the frame with the given menu resource. A failure (no window,
    // a missing menu) leaves the object to its creator, who deletes it.
    BOOL Create(LPCSTR className, LPCSTR title, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCSTR menuName = nullptr,
                DWORD exStyle = 0, CCreateContext* context = nullptr);
    // Creates the frame with menu, accelerators and icon of the resource id
    // and the title from the string of that id (its first '\n' part).
    // FALSE (object left to its creator) when the window or menu cannot
    // be made; missing accelerators, icon or string are no failure.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL LoadAccelTable(LPCSTR resourceName);
    HACCEL GetDefaultAccelerator() const { return m_hAccelTable; }

    BOOL IsFrameWnd() const override { return TRUE; }
    // Lays the frame's bars out around the client area and gives the rest
    // to the client pane (child AFX_IDW_PANE_FIRST).
    virtual void RecalcLayout(BOOL notify = TRUE);
    // Asks for a layout at the next idle time.
    void DelayRecalcLayout(BOOL notify = TRUE);
    // Lays the bars that are children of the frame out within rect (frame
    // client coordinates), which becomes the part left for the pane. With
    // query nothing moves.
    void RepositionBars(CRect& rect, BOOL query);
    // Shows the frame (-1: as it was, restored when minimised) and brings
    // it to the top.
    virtual void ActivateFrame(int cmdShow = -1);
    // Sets the title when the style has FWS_ADDTOTITLE.
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    void SetTitle(LPCSTR title) { m_strTitle = title; }
    CString GetTitle() const { return m_strTitle; }

    // The status bar text (child AFX_IDW_STATUS_BAR); an id shows the part
    // of its string before the first '\n'.
    void SetMessageText(LPCSTR text);
    void SetMessageText(UINT id);

    // The view that gets commands first; its window may go away at any time.
    CWnd* GetActiveView() const;
    void SetActiveView(CWnd* view);

    // Docking. EnableDocking makes the dock bars of the sides in dockStyle
    // (CBRS_ALIGN_ bits) from m_pDockBarClass; bars float in frames of
    // m_pFloatingFrameClass.
    void EnableDocking(DWORD dockStyle);
    // Docks the bar in the dock bar of that id (0: the first side the bar
    // allows, in the order top, bottom, left, right) at the place of rect
    // (screen coordinates), or in a new row.
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = nullptr);
    void DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect = nullptr);
    // Floats the bar in a floating frame whose top-left corner is the
    // screen point; style CBRS_ALIGN_TOP floats it horizontal, else vertical.
    void FloatControlBar(CControlBar* bar, CPoint point, DWORD style = CBRS_ALIGN_TOP);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    // The frame's bar (dock bars included) of that id, else null.
    CControlBar* GetControlBar(UINT id) const;
    // Every bar whose dock site the frame is, in creation order.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    // The dock bar of a side's id, null when docking is not enabled there.
    CDockBar* GetDockBar(UINT id) const;

    // The bars' layout as a dock state, and a dock state put in force:
    // bars the state does not name keep their places.
    void GetDockState(CDockState& state) const;
    void SetDockState(const CDockState& state);
    // The dock state under the profile name (sections "<profile>-Summary"
    // and "<profile>-Bar<n>").
    void LoadBarState(LPCSTR profile);
    void SaveBarState(LPCSTR profile) const;

    std::vector<CControlBar*> m_listControlBars;
    CRuntimeClass* m_pFloatingFrameClass;
    CRuntimeClass* m_pDockBarClass;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Translates the accelerators of an enabled top-level frame.
    BOOL PreTranslateMessage(MSG* msg) override;

    // Menu items without a command handler are disabled when they open.
    BOOL m_bAutoMenuEnable = TRUE;
    CString m_strTitle;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The frame object ends with its window.
    void PostNcDestroy() override;
    // Creates the client windows; FALSE fails the creation.
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnClose();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* oldWindow);
    afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    afx_msg LRESULT OnSetMessageString(WPARAM id, LPARAM text);
    // Carries out a pending layout; floating frames get the idle update too.
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM disableIfNoHandler, LPARAM);
    // A tool tip's text: the part of the command's string after its '\n'.
    afx_msg BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    HWND m_hWndActiveView = nullptr;
    BOOL m_bLayoutPending = FALSE;
    BOOL m_bInRecalcLayout = FALSE;
    // The text of the tool tip being shown, kept while the tip needs it.
    CString m_strTipText;
    WCHAR m_tipTextW[512] = {};
};
