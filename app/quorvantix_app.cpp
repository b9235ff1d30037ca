#include "app/quorvantix_app.h"

#include <commctrl.h>
#include <shellapi.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <vector>

#include "app/about_dlg.h"
#include "app/license_dlg.h"
#include "app/shell_open.h"
#include "app/update_dlg.h"
#include "browser/dialogs/accelerator_dlg.h"
#include "browser/frame/browse_frame.h"
#include "browser/options/option.h"
#include "core/appsw.h"
#include "core/command_line.h"
#include "core/file_types.h"
#include "core/file_utils.h"
#include "core/preference.h"
#include "core/product_info.h"
#include "core/registry_root.h"
#include "core/res_string.h"
#include "drawing/draw_thread/draw_thread.h"
#include "drawing/library/thumbnail_stores.h"
#include "graphics/drawing_image_decoder.h"
#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"
#include "resources/resource.h"
#include "views/viewer/view_frame.h"

namespace {

const char kInitFlagKey[] = HARBECK_REGISTRY_ROOT "InitFlag";
const char kInitFlagValue[] = "InitFlag";
const char kMainKey[] = HARBECK_REGISTRY_ROOT "main";
const DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;

void DeleteRegistryValue(const char* keyName, const char* valueName)
{
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, valueName);
    RegCloseKey(key);
}

void ReplaceName(LPCSTR& name, const char* text)
{
    free((void*)name);
    name = strdup(text);
}

// The process's command-line words in the ANSI code page, the program
// first, split as the C runtime splits them.
std::vector<CString> CommandLineWords()
{
    std::vector<CString> words;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == NULL)
        return words;
    for (int i = 0; i < count; ++i)
        words.push_back(CString(arguments[i]));
    LocalFree(arguments);
    return words;
}

// Keeps AppSW's modalDialogOpen set while one of the application's modal
// dialogs runs.
class CModalDialogFlag {
public:
    CModalDialogFlag() { AppSW.modalDialogOpen = 1; }
    ~CModalDialogFlag() { AppSW.modalDialogOpen = 0; }
    CModalDialogFlag(const CModalDialogFlag&) = delete;
    CModalDialogFlag& operator=(const CModalDialogFlag&) = delete;
};

}  // namespace

BEGIN_MESSAGE_MAP(CQuorvantixApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, &CQuorvantixApp::OnAppAbout)
    ON_COMMAND(ID_OPTION, &CQuorvantixApp::OnOption)
    ON_UPDATE_COMMAND_UI(ID_OPTION, &CQuorvantixApp::OnUpdateOption)
    ON_COMMAND(ID_SEARCH_PATH, &CQuorvantixApp::OnSearchPath)
    ON_COMMAND(ID_LICENSE_AGREEMENT, &CQuorvantixApp::OnLicenseAgreement)
    ON_COMMAND(ID_HOME_PAGE, &CQuorvantixApp::OnHomePage)
    ON_COMMAND(ID_OTHER_PRODUCTS, &CQuorvantixApp::OnHomePage)
    ON_COMMAND(ID_DEFAULT_HELP, &CQuorvantixApp::OnHelp)
    ON_COMMAND(ID_SHORTCUT_LIST, &CQuorvantixApp::OnShortcutList)
    ON_THREAD_MESSAGE(WM_UPDATE_AVAILABLE, &CQuorvantixApp::OnUpdateNotice)
END_MESSAGE_MAP()

CQuorvantixApp::CQuorvantixApp()
    : CWinApp("Quorvantix")
{
    WriteLog(&m_log, "Construct theApp");
}

CQuorvantixApp::~CQuorvantixApp()
{
    WriteLog(&m_log, "Destroy theApp");
}

BOOL CQuorvantixApp::InitInstance()
{
    AppSW.SetActions(&m_appSWActions);
    ReplaceName(m_pszAppName, "Harbeck");
    SetRegistryKey("Pellmoor\\");
    m_log.Open("QuorvantixInit.log");
    SYSTEMTIME now;
    GetLocalTime(&now);
    WriteLog(&m_log, "%d : %d : %d\n\n", now.wHour, now.wMinute, now.wSecond);

    RunCrashGuard();

    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    WriteLog(&m_log, "Init ole");
    AfxOleInit();
    WriteLog(&m_log, "AfxEnableControlContainer");
    AfxEnableControlContainer();
    WriteLog(&m_log, "Init ZrIo");
    InitDLL();
    DWG_SetImageDecoder(DecodeDrawingImage);

    WriteLog(&m_log, "AppSW SetApp");
    AppSW.app = this;
    WriteLog(&m_log, "AppSW load reg");
    AppSW.LoadReg();

    ZrUI::InitLanguageResDLL(241);
    ZrUI::initZrUI(HARBECK_REGISTRY_ROOT, "Harbeck", 0, 7);

    WriteLog(&m_log, "Init preference parameter");
    Preference.SetThumbnailStores(GetThumbnailStores());
    Preference.InitAllParameters();
    WriteLog(&m_log, "Set only support drawing flag");
    DrawingFileType.Build(Preference.OnlyShowDrawing != 0);

    WriteLog(&m_log, "Create browse menu");
    WriteLog(&m_log, "Enable 3D controls");
    WriteLog(&m_log, "Set registry key");
    WriteLog(&m_log, "Load standard profile");
    LoadStdProfileSettings(4);

    WriteLog(&m_log, "Create view thread");
    AppSW.CreateViewThread();
    WriteLog(&m_log, "Create task manange thread");
    AppSW.CreateTaskManageThread();

    WriteLog(&m_log, "\r\nInit browser instance");
    if (!InitBrowserInstance(false)) {
        ResetInitFlag();
        WriteLog(&m_log, "Init Quorvantix instance failure");
        return FALSE;
    }
    WriteLog(&m_log, "\r\nInit view instance");
    if (!InitViewInstance(false)) {
        ResetInitFlag();
        WriteLog(&m_log, "Init Quorlens instance failure");
        return FALSE;
    }

    WriteLog(&m_log, "Delete last view path registry key");
    DeleteRegistryValue(kMainKey, "LastViewPath");

    EnterFirstMode();

    srand((unsigned)time(NULL));
    WriteLog(&m_log, "\r\nReset init flag");
    DeleteRegistryValue(kInitFlagKey, kInitFlagValue);
    m_updateChecker.StartUpdateCheck();
    WriteLog(&m_log, "Quorvantix init successfully");
    return TRUE;
}

void CQuorvantixApp::RunCrashGuard()
{
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kInitFlagKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    bool lastStartFailed = RegQueryValueExA(key, kInitFlagValue, NULL, &type, (BYTE*)&value, &size) ==
                               ERROR_SUCCESS &&
                           type == REG_DWORD;
    WriteLog(&m_log, lastStartFailed ? "Last InitInstance failure!" : "Set init flag");
    DWORD one = 1;
    RegSetValueExA(key, kInitFlagValue, 0, REG_DWORD, (const BYTE*)&one, sizeof(one));
    RegCloseKey(key);
    if (lastStartFailed) {
        WriteLog(&m_log, "Delete all the Quorvantix registry key, and then reinit");
        DeleteAllRegKeys();
    }
}

void CQuorvantixApp::ResetInitFlag()
{
    WriteLog(&m_log, "Reset init flag");
    DeleteRegistryValue(kInitFlagKey, kInitFlagValue);
}

void CQuorvantixApp::DeleteAllRegKeys()
{
    HKEY root = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT, 0, KEY_READ | KEY_WRITE, &root) !=
        ERROR_SUCCESS)
        return;
    WriteLog(&m_log, "Enum all subkeys of Quorvantix");
    std::vector<CString> names;
    for (DWORD index = 0;; ++index) {
        char name[512];
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(root, index, name, &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        if (name[0] != '\0')
            names.push_back(name);
    }
    WriteLog(&m_log, "Delete all subkeys of Quorvantix");
    for (const CString& name : names) {
        if (name.CompareNoCase(kInitFlagValue) != 0)
            RegDeleteTreeA(root, name);
    }
    WriteLog(&m_log, "Delete all subkeys of Quorvantix successfully");
    RegCloseKey(root);
}

void CQuorvantixApp::EnterFirstMode()
{
    WriteLog(&m_log, "Parse command line parameter");
    CString path;
    switch (ParseCommandLineParameter(path)) {
    case CMDLINE_BROWSE:
        WriteLog(&m_log, "To browse mode");
        AppSW.ToBrowseMode(path);
        break;
    case CMDLINE_VIEW: {
        WriteLog(&m_log, "To View mode");
        const CDrawingFileInfo* info = GetDrawingFileInfo(path);
        int kind = info != NULL ? info->type : -1;
        AppSW.viewFrame->m_exitOnEsc = 1;
        WriteLog(&m_log, "Set draw task");
        AppSW.SetViewPath(path);
        WriteLog(&m_log, "About to view mode");
        AppSW.ToViewMode();
        if (AppSW.drawThread != NULL)
            AppSW.drawThread->OpenFile(kind, path, 50, 50, false);
        break;
    }
    default:
        WriteLog(&m_log, "To browse mode with last view path");
        AppSW.ToBrowseMode(NULL);
        break;
    }
}

BOOL CQuorvantixApp::InitBrowserInstance(bool show)
{
    WriteLog(&m_log, "New browse frame");
    CBrowseFrame* frame = new CBrowseFrame;
    WriteLog(&m_log, "Load browse frame");
    if (!LoadMainFrame(frame, IDR_BROWSE_FRAME))
        return FALSE;
    if (show) {
        WriteLog(&m_log, "Show browse frame");
        frame->ActivateBrowseMode(SW_SHOW);
        frame->UpdateWindow();
    }
    AppSW.browseFrame = frame;
    return TRUE;
}

BOOL CQuorvantixApp::InitViewInstance(bool show)
{
    WriteLog(&m_log, "New CViewFrame");
    CViewFrame* frame = new CViewFrame;
    WriteLog(&m_log, "Load view frame");
    if (!LoadMainFrame(frame, IDR_VIEW_FRAME))
        return FALSE;
    if (show) {
        WriteLog(&m_log, "Show view frame");
        frame->ShowWindow(SW_SHOW);
        frame->UpdateWindow();
    }
    AppSW.viewFrame = frame;
    return TRUE;
}

BOOL CQuorvantixApp::LoadMainFrame(CFrameWnd* frame, UINT resourceId)
{
    m_pMainWnd = frame;
    if (!frame->LoadFrame(resourceId, kFrameStyle, NULL, NULL)) {
        delete frame;
        m_pMainWnd = NULL;
        return FALSE;
    }
    frame->SendMessage(WM_SETICON, ICON_BIG, (LPARAM)LoadIcon(IDI_HARBECK));
    return TRUE;
}

int CQuorvantixApp::Run()
{
    return CWinApp::Run();
}

BOOL CQuorvantixApp::OnIdle(LONG count)
{
    return CWinApp::OnIdle(count);
}

int CQuorvantixApp::ExitInstance()
{
    AppSW.mode = APPMODE_QUITTING;
    WriteLog(&m_log, "\r\n\r\nEnter ExitInstance()\r\n");
    WriteLog(&m_log, "Set AppSW to toQUIT OK\r\n");
    AppSW.SaveReg();
    WriteLog(&m_log, "AppSW save data to reg table. OK");
    AppSW.DeleteViewDWGThread();
    WriteLog(&m_log, "AppSW.DeleteViewDWGThread(); OK");
    AppSW.DeleteTaskMngThread();
    WriteLog(&m_log, "AppSW.DeleteTaskMngThread();. OK");
    Preference.FinalAllParameters();
    WriteLog(&m_log, "Preference.FinalAllParameters(); OK");
    // The process ends without running the destructors of its globals: the
    // cache's last library writes and the library index are finished here.
    Preference.ReleaseThumbnailStores();
    ZrUI::releaseZrUI();
    WriteLog(&m_log, "ZrUI::releaseZrUI(); OK");
    WriteLog(&m_log, "Begin to uninstall ZrIO.dll");
    try {
        UninitDLL();
        WriteLog(&m_log, "  UninitDLL(); OK");
    } catch (...) {
        WriteLog(&m_log, "  UninitDLL(); ERROR");
    }
    WriteLog(&m_log, "Uninstall OK");
    AppSW.SetActions(NULL);
    return CWinApp::ExitInstance();
}

WORD CQuorvantixApp::ParseCommandLineParameter(CString& path)
{
    std::vector<CString> words = CommandLineWords();
    std::vector<char*> argv;
    for (CString& word : words)
        argv.push_back(word.GetBuffer());
    argv.push_back(NULL);
    return ParseCommandLine((int)words.size(), argv.data(), path);
}

void CQuorvantixApp::OnAppAbout()
{
    CModalDialogFlag modal;
    CAboutDlg dialog;
    dialog.DoModal();
}

void CQuorvantixApp::OnOption()
{
    CModalDialogFlag modal;
    COption option;
    option.ShowOptionSheet();
}

void CQuorvantixApp::OnUpdateOption(CCmdUI* cmdUI)
{
    bool browsing =
        AppSW.mode == APPMODE_BROWSE && AppSW.browseFrame != NULL && AppSW.browseFrame->IsTaskThreadAlive();
    cmdUI->Enable(AppSW.mode == APPMODE_VIEW || browsing);
}

void CQuorvantixApp::OnSearchPath()
{
    CModalDialogFlag modal;
    ZrUI::showSearchManager(0);
}

void CQuorvantixApp::OnLicenseAgreement()
{
    CModalDialogFlag modal;
    CLicenseDlg dialog;
    dialog.DoModal();
}

void CQuorvantixApp::OnHomePage()
{
    OpenWithShell(ProductInfo.GetHomePage());
}

void CQuorvantixApp::OnHelp()
{
    CString path = GetProgramFolder() + ProductInfo.GetHelpFileName();
    if (FileExists(path))
        OpenWithShell(path);
    else
        AfxMessageBox(LoadResString(IDS_FILE_NOT_FOUND) + path);
}

void CQuorvantixApp::OnShortcutList()
{
    CModalDialogFlag modal;
    CAcceleratorDlg dialog;
    dialog.DoModal();
}

void CQuorvantixApp::OnUpdateNotice(WPARAM wParam, LPARAM lParam)
{
    if (!m_updateChecker.TakeReply() || m_updateChecker.GetUpdateLevel() == 0)
        return;
    CUpdateDlg dialog(m_updateChecker);
    if (dialog.DoModal() == IDOK)
        OpenWithShell(m_updateChecker.GetDownloadPage());
    if (m_updateChecker.GetUpdateLevel() == 2)
        ::PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
}
