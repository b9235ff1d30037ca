// CFrameWnd: a top-level frame window loaded from resources (menu,
// accelerators, icon, title) that routes commands to its active view,
// itself and the application, and updates its menus before they open.
#pragma once
#include "platform/classlib/wnd.h"

// The name of the frames' window class; PreCreateWindow may choose another.
extern const char AFX_FRAME_CLASS[];

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;

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
    // Places the client pane (child AFX_IDW_PANE_FIRST) on the client area;
    // frames with bars override it.
    virtual void RecalcLayout(BOOL notify = TRUE);
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

    DECLARE_MESSAGE_MAP()

private:
    HWND m_hWndActiveView = nullptr;
};
