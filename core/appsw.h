// The one application-state object: the mode, the file being viewed, the
// last browsed folder, and the application, frames and worker threads.
//
// The state and its registry persistence live here, below every subsystem,
// so that workers and views can read it. The operations that switch modes
// and start or stop the workers touch the frames and threads: the
// application registers them at start-up (SetActions), so that a view or the
// browser asks for a mode switch without linking with the layers above it.
#pragma once
#include <windows.h>

#include "platform/classlib/classlib_core.h"

class CWinApp;
class CBrowseFrame;
class CViewFrame;
class TDwgDrawThread;
class TTaskManageThread;

enum AppMode : int {
    APPMODE_QUITTING = 0,
    APPMODE_BROWSE = 1,
    APPMODE_VIEW = 2,
};

class CAppSW;

// What the application does for the mode switches and the worker threads.
class IAppSWActions {
public:
    virtual ~IAppSWActions() {}
    virtual void ToViewMode(CAppSW& state) = 0;
    virtual void ToBrowseMode(CAppSW& state, const char* folder) = 0;
    virtual void SetToQuit(CAppSW& state) = 0;
    virtual void CreateViewThread(CAppSW& state) = 0;
    virtual void CreateTaskManageThread(CAppSW& state) = 0;
    virtual void DeleteViewDWGThread(CAppSW& state) = 0;
    virtual void DeleteTaskMngThread(CAppSW& state) = 0;
};

class CAppSW {
public:
    CAppSW();
    CAppSW(const CAppSW&) = default;
    CAppSW& operator=(const CAppSW&) = default;
    ~CAppSW();

    // The application's actions; null leaves only the state changes below.
    void SetActions(IAppSWActions* actions) { m_actions = actions; }

    // Mode switches. Without registered actions they set the mode (and the
    // quitting flag) only.
    void ToViewMode();
    void ToBrowseMode(const char* folder);
    void SetToQuit();

    // Worker threads. Without registered actions they do nothing.
    void CreateViewThread();
    void CreateTaskManageThread();
    void DeleteViewDWGThread();
    void DeleteTaskMngThread();

    void SetViewPath(const char* path);
    CString GetViewPath() const;

    // "LastViewPath" under the root + "main". LoadReg is true once the key
    // opened; SaveReg is true only when the value was written.
    bool LoadReg();
    bool SaveReg();

    // Only the UI thread writes these; workers read mode and toQuit, each
    // written by a single store.
    volatile int mode;
    volatile BYTE toQuit;
    CString viewPath;
    CWinApp* app;
    CBrowseFrame* browseFrame;
    CViewFrame* viewFrame;
    TDwgDrawThread* drawThread;
    TTaskManageThread* taskThread;
    BYTE modalDialogOpen;
    CString lastViewPath;
    BYTE resumeThumbnails;

private:
    IAppSWActions* m_actions;
};

extern CAppSW AppSW;
