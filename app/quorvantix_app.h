// The application object: brings the system up in a fixed order and takes
// it down in the reverse order.
#pragma once
#include "core/log_file.h"
#include "app/appsw_actions.h"
#include "app/update_checker.h"
#include "platform/classlib/classlib.h"

class CQuorvantixApp : public CWinApp {
public:
    CQuorvantixApp();
    ~CQuorvantixApp() override;

    BOOL InitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;

    BOOL InitBrowserInstance(bool show);
    BOOL InitViewInstance(bool show);
    // Deletes every subkey of the program's registry root except the
    // crash guard's; values in the root itself stay.
    void DeleteAllRegKeys();
    // 0 nothing usable, 1 a folder to browse, 2 a file to view.
    WORD ParseCommandLineParameter(CString& path);

protected:
    // The application's commands. The modal ones keep AppSW's
    // modalDialogOpen set while their dialog runs.
    afx_msg void OnAppAbout();
    // The options sheet.
    afx_msg void OnOption();
    // The options sheet may open in view mode, and in browse mode only while
    // the thumbnail task thread exists and waits for its next batch.
    afx_msg void OnUpdateOption(CCmdUI* cmdUI);
    afx_msg void OnSearchPath();
    afx_msg void OnLicenseAgreement();
    afx_msg void OnHomePage();
    // Opens the help file in the program's folder, or says it is missing.
    afx_msg void OnHelp();
    afx_msg void OnShortcutList();
    // WM_UPDATE_AVAILABLE: the notice of a newer version; at update level 2
    // the program quits after it.
    afx_msg void OnUpdateNotice(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Makes the frame the main window and loads it with the program's icon;
    // a frame that cannot be loaded is deleted.
    BOOL LoadMainFrame(CFrameWnd* frame, UINT resourceId);
    void RunCrashGuard();
    void EnterFirstMode();
    void ResetInitFlag();

    CAppSWActions m_appSWActions;
    CLogFile m_log;
    CUpdateChecker m_updateChecker;
};
