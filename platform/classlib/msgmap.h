// Message maps: the table of messages, commands and notifications a class
// handles, and the macros that fill it.
//
// A class that handles messages puts DECLARE_MESSAGE_MAP() in its
// declaration and writes, in its source file,
//
//     BEGIN_MESSAGE_MAP(CMyFrame, CFrameWnd)
//         ON_WM_CREATE()
//         ON_COMMAND(ID_APP_EXIT, &CMyFrame::OnAppExit)
//     END_MESSAGE_MAP()
//
// Each entry names the message (and for commands and notifications the code
// and the id range) and an invoker that cracks wParam and lParam into the
// handler's typed arguments. A class's map links to its base class's map;
// lookups walk from the most derived map to the root.
//
// Adding a message: write an ON_WM_xxx macro below with the handler's
// signature and, when no invoker has that signature yet, one invoker in
// msgcrack.cpp (declared in namespace msgsig here).
#pragma once
#include <windows.h>
#include "platform/classlib/ids.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CWinThread;

#ifndef afx_msg
#define afx_msg
#endif

// Every handler is stored as this type and cast back by its invoker.
typedef void (CCmdTarget::*AFX_PMSG)();

// Command codes of CCmdTarget::OnCmdMsg. A notification arrives there as
// MAKELONG(notification code, WM_NOTIFY); a reflected one with the message
// WM_REFLECT_BASE + WM_COMMAND or WM_REFLECT_BASE + WM_NOTIFY.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

// The pExtra of OnCmdMsg for a WM_NOTIFY notification.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg instead of calling the handler, when asked.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// One message, command or notification being handed to an invoker.
struct MessageCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT id;          // command, control or notifying control id
    UINT code;        // notification code; the CTLCOLOR kind for WM_CTLCOLOR
    void* extra;      // CCmdUI* for update requests, AFX_NOTIFY* for notifications
    LRESULT result;   // the window message's result
};

// Calls the handler with the arguments cracked from the call; returns
// whether the call counts as handled.
typedef BOOL (*MessageInvoker)(CCmdTarget* target, AFX_PMSG handler, MessageCall& call);

struct MessageMapEntry {
    UINT message;                   // 0 ends the map
    UINT code;                      // notification code (0 for window messages)
    UINT firstId;                   // id range of commands and notifications
    UINT lastId;
    const UINT* registeredMessage;  // ON_REGISTERED_MESSAGE: the variable holding the message
    MessageInvoker invoke;
    AFX_PMSG handler;
};

struct MessageMap {
    const MessageMap* (*getBaseMap)();  // null for the root map
    const MessageMapEntry* entries;
};

// The first entry of the map chain (most derived first) for the message,
// code and id; null when none matches.
const MessageMapEntry* FindMessageEntry(const MessageMap* map, UINT message, UINT code, UINT id);

// The first matching entry of one map only.
const MessageMapEntry* FindEntryInMap(const MessageMap* map, UINT message, UINT code, UINT id);

// The invokers, one per handler signature.
namespace msgsig {
// Handlers of every signature are stored as AFX_PMSG and copied back to
// their own type by their invoker (member function pointers of one class
// hierarchy share one representation).
template <typename Function>
inline AFX_PMSG ToHandler(Function function)
{
    static_assert(sizeof(Function) == sizeof(AFX_PMSG), "a member function pointer");
    return __builtin_bit_cast(AFX_PMSG, function);
}

template <typename Function>
inline Function As(AFX_PMSG handler)
{
    static_assert(sizeof(Function) == sizeof(AFX_PMSG), "a member function pointer");
    return __builtin_bit_cast(Function, handler);
}

// Window messages (msgcrack.cpp).
BOOL V_V(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL I_CREATESTRUCT(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL B_CREATESTRUCT(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_U_I_I(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_I_I(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL B_DC(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_TIMER(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_U_POINT(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL B_U_S_POINT(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_U_U_U(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_WND(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL B_WND_U_U(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_U_U_SCROLL(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_U_WND_B(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_B_U(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_MINMAXINFO(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_WND_POINT(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_HDROP(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL L_POINT(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_U_L(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL H_DC_WND_U(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL H_DC_U(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_I_DRAWITEM(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_I_MEASUREITEM(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL I_I_COMPAREITEM(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_I_DELETEITEM(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_MENU_U_B(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_U_U_HMENU(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL L_U_U_MENU(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_WINDOWPOS(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_B_NCCALCSIZE(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_U_STR(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL B_U_DW(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL I_WND_U_U(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL U_V(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_B_DW(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_B(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL V_U_U(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL L_W_L(CCmdTarget*, AFX_PMSG, MessageCall&);
// Commands and notifications (msgmap.cpp).
BOOL CMD_V(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL CMD_V_ID(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL CMD_B(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL CMD_B_ID(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL CMD_UI(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL NOTIFY(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL NOTIFY_ID(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL NOTIFY_B(CCmdTarget*, AFX_PMSG, MessageCall&);
BOOL NOTIFY_B_ID(CCmdTarget*, AFX_PMSG, MessageCall&);
// Thread messages (winthread.cpp).
BOOL THREAD_W_L(CCmdTarget*, AFX_PMSG, MessageCall&);
}  // namespace msgsig

// ---------------------------------------------------------------------------
// Declaring and defining a map.

#define DECLARE_MESSAGE_MAP()                                  \
protected:                                                     \
    static const MessageMap* GetThisMessageMap();              \
    virtual const MessageMap* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                             \
    const MessageMap* theClass::GetMessageMap() const                      \
    {                                                                      \
        return GetThisMessageMap();                                        \
    }                                                                      \
    const MessageMap* theClass::GetThisMessageMap()                        \
    {                                                                      \
        using ThisClass [[maybe_unused]] = theClass;                       \
        using TheBaseClass = baseClass;                                    \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                  \
            {0, 0, 0, 0, nullptr, nullptr, nullptr}                        \
        };                                                                 \
        static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                       \
    }

// The handler checked against its expected type, stored generically.
#define AFX_HANDLER(type, function) msgsig::ToHandler(static_cast<type>(function))

// An entry for a window message with the given invoker and handler type.
#define AFX_WINDOW_ENTRY(message, invoker, type, function) \
    {(message), 0, 0, 0, nullptr, &msgsig::invoker, AFX_HANDLER(type, function)},

// ---------------------------------------------------------------------------
// Commands, control notifications and their reflections.

#define ON_COMMAND(id, function) \
    {WM_COMMAND, CN_COMMAND, (id), (id), nullptr, &msgsig::CMD_V, AFX_HANDLER(void (CCmdTarget::*)(), function)},
#define ON_COMMAND_RANGE(firstId, lastId, function) \
    {WM_COMMAND, CN_COMMAND, (firstId), (lastId), nullptr, &msgsig::CMD_V_ID, AFX_HANDLER(void (CCmdTarget::*)(UINT), function)},
// The handler returns FALSE to let the command go on to the next target.
#define ON_COMMAND_EX(id, function) \
    {WM_COMMAND, CN_COMMAND, (id), (id), nullptr, &msgsig::CMD_B_ID, AFX_HANDLER(BOOL (CCmdTarget::*)(UINT), function)},
#define ON_COMMAND_EX_RANGE(firstId, lastId, function) \
    {WM_COMMAND, CN_COMMAND, (firstId), (lastId), nullptr, &msgsig::CMD_B_ID, AFX_HANDLER(BOOL (CCmdTarget::*)(UINT), function)},
#define ON_UPDATE_COMMAND_UI(id, function) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (id), (id), nullptr, &msgsig::CMD_UI, AFX_HANDLER(void (CCmdTarget::*)(CCmdUI*), function)},
#define ON_UPDATE_COMMAND_UI_RANGE(firstId, lastId, function) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (firstId), (lastId), nullptr, &msgsig::CMD_UI, AFX_HANDLER(void (CCmdTarget::*)(CCmdUI*), function)},

#define ON_CONTROL(code, id, function) \
    {WM_COMMAND, (UINT)(WORD)(code), (id), (id), nullptr, &msgsig::CMD_V, AFX_HANDLER(void (CCmdTarget::*)(), function)},
#define ON_CONTROL_RANGE(code, firstId, lastId, function) \
    {WM_COMMAND, (UINT)(WORD)(code), (firstId), (lastId), nullptr, &msgsig::CMD_V_ID, AFX_HANDLER(void (CCmdTarget::*)(UINT), function)},
#define ON_CONTROL_REFLECT(code, function) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(code), 0, 0, nullptr, &msgsig::CMD_V, AFX_HANDLER(void (CCmdTarget::*)(), function)},
// The handler returns FALSE to let the parent handle the notification too.
#define ON_CONTROL_REFLECT_EX(code, function) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(code), 0, 0, nullptr, &msgsig::CMD_B, AFX_HANDLER(BOOL (CCmdTarget::*)(), function)},

#define ON_BN_CLICKED(id, function) ON_CONTROL(BN_CLICKED, id, function)
#define ON_BN_DOUBLECLICKED(id, function) ON_CONTROL(BN_DOUBLECLICKED, id, function)
#define ON_BN_SETFOCUS(id, function) ON_CONTROL(BN_SETFOCUS, id, function)
#define ON_BN_KILLFOCUS(id, function) ON_CONTROL(BN_KILLFOCUS, id, function)
#define ON_EN_CHANGE(id, function) ON_CONTROL(EN_CHANGE, id, function)
#define ON_EN_UPDATE(id, function) ON_CONTROL(EN_UPDATE, id, function)
#define ON_EN_SETFOCUS(id, function) ON_CONTROL(EN_SETFOCUS, id, function)
#define ON_EN_KILLFOCUS(id, function) ON_CONTROL(EN_KILLFOCUS, id, function)
#define ON_EN_MAXTEXT(id, function) ON_CONTROL(EN_MAXTEXT, id, function)
#define ON_CBN_SELCHANGE(id, function) ON_CONTROL(CBN_SELCHANGE, id, function)
#define ON_CBN_SELENDOK(id, function) ON_CONTROL(CBN_SELENDOK, id, function)
#define ON_CBN_EDITCHANGE(id, function) ON_CONTROL(CBN_EDITCHANGE, id, function)
#define ON_CBN_DROPDOWN(id, function) ON_CONTROL(CBN_DROPDOWN, id, function)
#define ON_CBN_CLOSEUP(id, function) ON_CONTROL(CBN_CLOSEUP, id, function)
#define ON_CBN_KILLFOCUS(id, function) ON_CONTROL(CBN_KILLFOCUS, id, function)
#define ON_LBN_SELCHANGE(id, function) ON_CONTROL(LBN_SELCHANGE, id, function)
#define ON_LBN_DBLCLK(id, function) ON_CONTROL(LBN_DBLCLK, id, function)
#define ON_STN_CLICKED(id, function) ON_CONTROL(STN_CLICKED, id, function)
#define ON_STN_DBLCLK(id, function) ON_CONTROL(STN_DBLCLK, id, function)

#define ON_NOTIFY(code, id, function) \
    {WM_NOTIFY, (UINT)(WORD)(code), (id), (id), nullptr, &msgsig::NOTIFY, AFX_HANDLER(void (CCmdTarget::*)(NMHDR*, LRESULT*), function)},
#define ON_NOTIFY_RANGE(code, firstId, lastId, function) \
    {WM_NOTIFY, (UINT)(WORD)(code), (firstId), (lastId), nullptr, &msgsig::NOTIFY_ID, AFX_HANDLER(void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), function)},
// The handler returns FALSE to let the notification go on to the next target.
#define ON_NOTIFY_EX(code, id, function) \
    {WM_NOTIFY, (UINT)(WORD)(code), (id), (id), nullptr, &msgsig::NOTIFY_B_ID, AFX_HANDLER(BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), function)},
#define ON_NOTIFY_EX_RANGE(code, firstId, lastId, function) \
    {WM_NOTIFY, (UINT)(WORD)(code), (firstId), (lastId), nullptr, &msgsig::NOTIFY_B_ID, AFX_HANDLER(BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), function)},
#define ON_NOTIFY_REFLECT(code, function) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(code), 0, 0, nullptr, &msgsig::NOTIFY, AFX_HANDLER(void (CCmdTarget::*)(NMHDR*, LRESULT*), function)},
// The handler returns FALSE to let the parent handle the notification too.
#define ON_NOTIFY_REFLECT_EX(code, function) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(code), 0, 0, nullptr, &msgsig::NOTIFY_B, AFX_HANDLER(BOOL (CCmdTarget::*)(NMHDR*, LRESULT*), function)},

// ---------------------------------------------------------------------------
// User, registered and thread messages.

#define ON_MESSAGE(message, function) \
    AFX_WINDOW_ENTRY(message, L_W_L, LRESULT (CWnd::*)(WPARAM, LPARAM), function)
#define ON_REGISTERED_MESSAGE(messageVariable, function) \
    {0xC000, 0, 0, 0, &(messageVariable), &msgsig::L_W_L, AFX_HANDLER(LRESULT (CWnd::*)(WPARAM, LPARAM), function)},
#define ON_THREAD_MESSAGE(message, function) \
    {(message), 0, 0, 0, nullptr, &msgsig::THREAD_W_L, AFX_HANDLER(void (CWinThread::*)(WPARAM, LPARAM), function)},
#define ON_REGISTERED_THREAD_MESSAGE(messageVariable, function) \
    {0xC000, 0, 0, 0, &(messageVariable), &msgsig::THREAD_W_L, AFX_HANDLER(void (CWinThread::*)(WPARAM, LPARAM), function)},

// ---------------------------------------------------------------------------
// Window messages. Each handler is the member of the same name in the class
// whose map holds the entry; CWnd has a default of each that passes the
// message on (call it for what the handler leaves).

#define ON_WM_CREATE() AFX_WINDOW_ENTRY(WM_CREATE, I_CREATESTRUCT, int (CWnd::*)(LPCREATESTRUCT), &ThisClass::OnCreate)
#define ON_WM_NCCREATE() AFX_WINDOW_ENTRY(WM_NCCREATE, B_CREATESTRUCT, BOOL (CWnd::*)(LPCREATESTRUCT), &ThisClass::OnNcCreate)
#define ON_WM_DESTROY() AFX_WINDOW_ENTRY(WM_DESTROY, V_V, void (CWnd::*)(), &ThisClass::OnDestroy)
#define ON_WM_NCDESTROY() AFX_WINDOW_ENTRY(WM_NCDESTROY, V_V, void (CWnd::*)(), &ThisClass::OnNcDestroy)
#define ON_WM_CLOSE() AFX_WINDOW_ENTRY(WM_CLOSE, V_V, void (CWnd::*)(), &ThisClass::OnClose)
#define ON_WM_SIZE() AFX_WINDOW_ENTRY(WM_SIZE, V_U_I_I, void (CWnd::*)(UINT, int, int), &ThisClass::OnSize)
#define ON_WM_MOVE() AFX_WINDOW_ENTRY(WM_MOVE, V_I_I, void (CWnd::*)(int, int), &ThisClass::OnMove)
#define ON_WM_PAINT() AFX_WINDOW_ENTRY(WM_PAINT, V_V, void (CWnd::*)(), &ThisClass::OnPaint)
#define ON_WM_NCPAINT() AFX_WINDOW_ENTRY(WM_NCPAINT, V_V, void (CWnd::*)(), &ThisClass::OnNcPaint)
#define ON_WM_ERASEBKGND() AFX_WINDOW_ENTRY(WM_ERASEBKGND, B_DC, BOOL (CWnd::*)(CDC*), &ThisClass::OnEraseBkgnd)
#define ON_WM_TIMER() AFX_WINDOW_ENTRY(WM_TIMER, V_TIMER, void (CWnd::*)(UINT_PTR), &ThisClass::OnTimer)
#define ON_WM_MOUSEMOVE() AFX_WINDOW_ENTRY(WM_MOUSEMOVE, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_WINDOW_ENTRY(WM_LBUTTONDOWN, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WINDOW_ENTRY(WM_LBUTTONUP, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WINDOW_ENTRY(WM_LBUTTONDBLCLK, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WINDOW_ENTRY(WM_RBUTTONDOWN, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WINDOW_ENTRY(WM_RBUTTONUP, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WINDOW_ENTRY(WM_RBUTTONDBLCLK, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WINDOW_ENTRY(WM_MBUTTONDOWN, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WINDOW_ENTRY(WM_MBUTTONUP, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_WINDOW_ENTRY(WM_MBUTTONDBLCLK, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL() AFX_WINDOW_ENTRY(WM_MOUSEWHEEL, B_U_S_POINT, BOOL (CWnd::*)(UINT, short, CPoint), &ThisClass::OnMouseWheel)
#define ON_WM_NCMOUSEMOVE() AFX_WINDOW_ENTRY(WM_NCMOUSEMOVE, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_WINDOW_ENTRY(WM_NCLBUTTONDOWN, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnNcLButtonDown)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WINDOW_ENTRY(WM_NCLBUTTONDBLCLK, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONUP() AFX_WINDOW_ENTRY(WM_NCRBUTTONUP, V_U_POINT, void (CWnd::*)(UINT, CPoint), &ThisClass::OnNcRButtonUp)
#define ON_WM_KEYDOWN() AFX_WINDOW_ENTRY(WM_KEYDOWN, V_U_U_U, void (CWnd::*)(UINT, UINT, UINT), &ThisClass::OnKeyDown)
#define ON_WM_KEYUP() AFX_WINDOW_ENTRY(WM_KEYUP, V_U_U_U, void (CWnd::*)(UINT, UINT, UINT), &ThisClass::OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_WINDOW_ENTRY(WM_SYSKEYDOWN, V_U_U_U, void (CWnd::*)(UINT, UINT, UINT), &ThisClass::OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WINDOW_ENTRY(WM_SYSKEYUP, V_U_U_U, void (CWnd::*)(UINT, UINT, UINT), &ThisClass::OnSysKeyUp)
#define ON_WM_CHAR() AFX_WINDOW_ENTRY(WM_CHAR, V_U_U_U, void (CWnd::*)(UINT, UINT, UINT), &ThisClass::OnChar)
#define ON_WM_SYSCHAR() AFX_WINDOW_ENTRY(WM_SYSCHAR, V_U_U_U, void (CWnd::*)(UINT, UINT, UINT), &ThisClass::OnSysChar)
#define ON_WM_SETFOCUS() AFX_WINDOW_ENTRY(WM_SETFOCUS, V_WND, void (CWnd::*)(CWnd*), &ThisClass::OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WINDOW_ENTRY(WM_KILLFOCUS, V_WND, void (CWnd::*)(CWnd*), &ThisClass::OnKillFocus)
#define ON_WM_CAPTURECHANGED() AFX_WINDOW_ENTRY(WM_CAPTURECHANGED, V_WND, void (CWnd::*)(CWnd*), &ThisClass::OnCaptureChanged)
#define ON_WM_SETCURSOR() AFX_WINDOW_ENTRY(WM_SETCURSOR, B_WND_U_U, BOOL (CWnd::*)(CWnd*, UINT, UINT), &ThisClass::OnSetCursor)
#define ON_WM_MOUSEACTIVATE() AFX_WINDOW_ENTRY(WM_MOUSEACTIVATE, I_WND_U_U, int (CWnd::*)(CWnd*, UINT, UINT), &ThisClass::OnMouseActivate)
#define ON_WM_HSCROLL() AFX_WINDOW_ENTRY(WM_HSCROLL, V_U_U_SCROLL, void (CWnd::*)(UINT, UINT, CScrollBar*), &ThisClass::OnHScroll)
#define ON_WM_VSCROLL() AFX_WINDOW_ENTRY(WM_VSCROLL, V_U_U_SCROLL, void (CWnd::*)(UINT, UINT, CScrollBar*), &ThisClass::OnVScroll)
#define ON_WM_ACTIVATE() AFX_WINDOW_ENTRY(WM_ACTIVATE, V_U_WND_B, void (CWnd::*)(UINT, CWnd*, BOOL), &ThisClass::OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_WINDOW_ENTRY(WM_ACTIVATEAPP, V_B_DW, void (CWnd::*)(BOOL, DWORD), &ThisClass::OnActivateApp)
#define ON_WM_ENABLE() AFX_WINDOW_ENTRY(WM_ENABLE, V_B, void (CWnd::*)(BOOL), &ThisClass::OnEnable)
#define ON_WM_SHOWWINDOW() AFX_WINDOW_ENTRY(WM_SHOWWINDOW, V_B_U, void (CWnd::*)(BOOL, UINT), &ThisClass::OnShowWindow)
#define ON_WM_GETMINMAXINFO() AFX_WINDOW_ENTRY(WM_GETMINMAXINFO, V_MINMAXINFO, void (CWnd::*)(MINMAXINFO*), &ThisClass::OnGetMinMaxInfo)
#define ON_WM_CONTEXTMENU() AFX_WINDOW_ENTRY(WM_CONTEXTMENU, V_WND_POINT, void (CWnd::*)(CWnd*, CPoint), &ThisClass::OnContextMenu)
#define ON_WM_DROPFILES() AFX_WINDOW_ENTRY(WM_DROPFILES, V_HDROP, void (CWnd::*)(HDROP), &ThisClass::OnDropFiles)
#define ON_WM_NCHITTEST() AFX_WINDOW_ENTRY(WM_NCHITTEST, L_POINT, LRESULT (CWnd::*)(CPoint), &ThisClass::OnNcHitTest)
#define ON_WM_NCCALCSIZE() AFX_WINDOW_ENTRY(WM_NCCALCSIZE, V_B_NCCALCSIZE, void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*), &ThisClass::OnNcCalcSize)
#define ON_WM_SYSCOMMAND() AFX_WINDOW_ENTRY(WM_SYSCOMMAND, V_U_L, void (CWnd::*)(UINT, LPARAM), &ThisClass::OnSysCommand)
// One entry for every WM_CTLCOLORxxx; nCtlColor tells which (CTLCOLOR_EDIT...).
#define ON_WM_CTLCOLOR() AFX_WINDOW_ENTRY(WM_CTLCOLOR, H_DC_WND_U, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), &ThisClass::OnCtlColor)
#define ON_WM_DRAWITEM() AFX_WINDOW_ENTRY(WM_DRAWITEM, V_I_DRAWITEM, void (CWnd::*)(int, LPDRAWITEMSTRUCT), &ThisClass::OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WINDOW_ENTRY(WM_MEASUREITEM, V_I_MEASUREITEM, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), &ThisClass::OnMeasureItem)
#define ON_WM_COMPAREITEM() AFX_WINDOW_ENTRY(WM_COMPAREITEM, I_I_COMPAREITEM, int (CWnd::*)(int, LPCOMPAREITEMSTRUCT), &ThisClass::OnCompareItem)
#define ON_WM_DELETEITEM() AFX_WINDOW_ENTRY(WM_DELETEITEM, V_I_DELETEITEM, void (CWnd::*)(int, LPDELETEITEMSTRUCT), &ThisClass::OnDeleteItem)
#define ON_WM_INITMENUPOPUP() AFX_WINDOW_ENTRY(WM_INITMENUPOPUP, V_MENU_U_B, void (CWnd::*)(CMenu*, UINT, BOOL), &ThisClass::OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_WINDOW_ENTRY(WM_MENUSELECT, V_U_U_HMENU, void (CWnd::*)(UINT, UINT, HMENU), &ThisClass::OnMenuSelect)
#define ON_WM_MENUCHAR() AFX_WINDOW_ENTRY(WM_MENUCHAR, L_U_U_MENU, LRESULT (CWnd::*)(UINT, UINT, CMenu*), &ThisClass::OnMenuChar)
#define ON_WM_WINDOWPOSCHANGED() AFX_WINDOW_ENTRY(WM_WINDOWPOSCHANGED, V_WINDOWPOS, void (CWnd::*)(WINDOWPOS*), &ThisClass::OnWindowPosChanged)
#define ON_WM_WINDOWPOSCHANGING() AFX_WINDOW_ENTRY(WM_WINDOWPOSCHANGING, V_WINDOWPOS, void (CWnd::*)(WINDOWPOS*), &ThisClass::OnWindowPosChanging)
#define ON_WM_SETTINGCHANGE() AFX_WINDOW_ENTRY(WM_SETTINGCHANGE, V_U_STR, void (CWnd::*)(UINT, LPCSTR), &ThisClass::OnSettingChange)
#define ON_WM_SYSCOLORCHANGE() AFX_WINDOW_ENTRY(WM_SYSCOLORCHANGE, V_V, void (CWnd::*)(), &ThisClass::OnSysColorChange)
#define ON_WM_DEVICECHANGE() AFX_WINDOW_ENTRY(WM_DEVICECHANGE, B_U_DW, BOOL (CWnd::*)(UINT, DWORD_PTR), &ThisClass::OnDeviceChange)
#define ON_WM_GETDLGCODE() AFX_WINDOW_ENTRY(WM_GETDLGCODE, U_V, UINT (CWnd::*)(), &ThisClass::OnGetDlgCode)
#define ON_WM_ENTERSIZEMOVE() AFX_WINDOW_ENTRY(WM_ENTERSIZEMOVE, V_V, void (CWnd::*)(), &ThisClass::OnEnterSizeMove)
#define ON_WM_EXITSIZEMOVE() AFX_WINDOW_ENTRY(WM_EXITSIZEMOVE, V_V, void (CWnd::*)(), &ThisClass::OnExitSizeMove)
#define ON_WM_CANCELMODE() AFX_WINDOW_ENTRY(WM_CANCELMODE, V_V, void (CWnd::*)(), &ThisClass::OnCancelMode)

// Messages a parent reflects back to the control they came from.
#define ON_WM_CTLCOLOR_REFLECT() AFX_WINDOW_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, H_DC_U, HBRUSH (CWnd::*)(CDC*, UINT), &ThisClass::CtlColor)
#define ON_WM_HSCROLL_REFLECT() AFX_WINDOW_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, V_U_U, void (CWnd::*)(UINT, UINT), &ThisClass::HScroll)
#define ON_WM_VSCROLL_REFLECT() AFX_WINDOW_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, V_U_U, void (CWnd::*)(UINT, UINT), &ThisClass::VScroll)
