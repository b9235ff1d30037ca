// CSubclassWnd: an object that sees every message of a window before the
// window's own procedure does, without being the window's class. Several
// hooks may watch one window: the newest sees a message first and passes
// it on to the older ones, the oldest to the window's own procedure.
//
// CSubclassWndMap holds, per hooked window, the newest hook of its chain;
// HookedWindowProc, installed on every hooked window, hands each message
// to that hook. Hooks are owned by whoever made them; the map never
// deletes one. UI thread only.
#pragma once
#include "platform/classlib/classlib.h"

class CSubclassWnd : public CObject {
    DECLARE_DYNAMIC(CSubclassWnd)
public:
    CSubclassWnd() = default;
    // Unhooks first when still hooked.
    ~CSubclassWnd() override;

    // Hooks the window (a null window unhooks). Always TRUE.
    virtual BOOL HookWindow(CWnd* window);
    virtual BOOL HookWindow(HWND window);
    virtual BOOL IsHooked() const { return m_window != nullptr; }

    // The hook's message handler. This one passes the message on to the
    // next (older) hook, or to the window's prior procedure; an override
    // handles what it wants and calls this for the rest.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Passes the message being handled right now on, as WindowProc does.
    virtual LRESULT Default();

    HWND m_window = nullptr;
    // The window's procedure before the first hook of its chain came.
    WNDPROC m_priorProc = nullptr;
    CSubclassWnd* m_next = nullptr;

private:
    BOOL Unhook();
};

class CSubclassWndMap : public CMapPtrToPtr {
public:
    // The one map of the process, made on first use.
    static CSubclassWndMap& Instance();

    // Makes the hook the newest of the window's chain, installing
    // HookedWindowProc when it is the first.
    void Add(HWND window, CSubclassWnd* hook);
    // Takes the hook out of its window's chain; the last hook to go puts
    // the window's prior procedure back.
    void Remove(CSubclassWnd* hook);
    // Unhooks every hook of the window.
    void RemoveAll(HWND window);
    // The newest hook of the window, null when none.
    CSubclassWnd* Lookup(HWND window) const;

private:
    CSubclassWndMap() : CMapPtrToPtr(10) {}
};

LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
