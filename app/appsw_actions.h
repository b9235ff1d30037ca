// The application's side of the application state: the mode switches,
// which touch both frames and the drawing thread, and the start and stop of
// the two worker threads. Registered with AppSW by the application object.
#pragma once
#include "core/appsw.h"

class CAppSWActions : public IAppSWActions {
public:
    void ToViewMode(CAppSW& state) override;
    void ToBrowseMode(CAppSW& state, const char* folder) override;
    void SetToQuit(CAppSW& state) override;

    // Stopping never hangs: each worker gets a bounded time to end by itself
    // before it is ended forcibly.
    void CreateViewThread(CAppSW& state) override;
    void CreateTaskManageThread(CAppSW& state) override;
    void DeleteViewDWGThread(CAppSW& state) override;
    void DeleteTaskMngThread(CAppSW& state) override;
};
