// Stands in for the application's mode switches in tests of a layer below
// it: records which switch was asked for, with its folder, and changes only
// the state's mode fields.
#pragma once
#include <string>
#include <vector>

#include "core/appsw.h"

namespace testwin {

class AppSWActionsLog : public IAppSWActions {
public:
    AppSWActionsLog() { AppSW.SetActions(this); }
    ~AppSWActionsLog() override { AppSW.SetActions(NULL); }

    void ToViewMode(CAppSW& state) override
    {
        calls.push_back("ToViewMode");
        state.mode = APPMODE_VIEW;
    }
    void ToBrowseMode(CAppSW& state, const char* folder) override
    {
        calls.push_back(std::string("ToBrowseMode ") + (folder ? folder : "(null)"));
        state.mode = APPMODE_BROWSE;
    }
    void SetToQuit(CAppSW& state) override
    {
        calls.push_back("SetToQuit");
        state.mode = APPMODE_QUITTING;
        state.toQuit = 1;
    }
    void CreateViewThread(CAppSW&) override { calls.push_back("CreateViewThread"); }
    void CreateTaskManageThread(CAppSW&) override { calls.push_back("CreateTaskManageThread"); }
    void DeleteViewDWGThread(CAppSW&) override { calls.push_back("DeleteViewDWGThread"); }
    void DeleteTaskMngThread(CAppSW&) override { calls.push_back("DeleteTaskMngThread"); }

    std::vector<std::string> calls;
};

}  // namespace testwin
