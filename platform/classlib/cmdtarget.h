// CCmdTarget: the root of every class that takes commands through a message
// map; CCmdUI: the update request of one command (enable, check, text).
#pragma once
#include <windows.h>
#include "platform/classlib/msgmap.h"
#include "platform/classlib/object.h"

class CMenu;
class CWnd;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Offers a command (nCode CN_COMMAND or a control notification code),
    // an update request (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI) or a
    // notification (MAKELONG(code, WM_NOTIFY), pExtra an AFX_NOTIFY) to
    // this object's message map chain. With pHandlerInfo set, only reports
    // whether a handler exists and fills pHandlerInfo. TRUE when handled.
    // Frames and the application override it to route on to other targets.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The hourglass cursor while a long step runs; calls nest.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;
};

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    // Menu item or other user interface element being updated: m_nIndex is
    // the item's position in m_pMenu, or m_pOther is a window (a button,
    // a bar) standing for the command.
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    CWnd* m_pOther = nullptr;
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);  // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(LPCSTR text);

    // Called by an update handler to let the request go on to the next target.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's update handlers; when none answers and
    // disableIfNoHandler is set, the element is enabled exactly when the
    // target has a handler for the command. TRUE when a handler answered.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};
