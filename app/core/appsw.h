// The one application-state object: the mode, the file being viewed, the
// last browsed folder, and the application, frames and worker threads.
//
// The state and its registry persistence live here, below every subsystem,
// so that workers and views can read it. The operations that switch modes
// and start or stop the workers touch the frames and threads; they are
// defined by the application (app/appsw_modes.cpp, app/appsw_threads.cpp).
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

class CAppSW {
public:
    CAppSW();

    // Mode switches (app/appsw_modes.cpp).
    void ToViewMode();
    void ToBrowseMode(const char* folder);
    void SetToQuit();

    // Worker threads (app/appsw_threads.cpp).
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
};

extern CAppSW AppSW;
