#include "platform/classlib/winapp.h"
#include <ole2.h>
#include <stdlib.h>
#include <string.h>
#include "platform/classlib/callguard.h"
#include "platform/classlib/module_state.h"
#include "platform/classlib/recentfiles.h"
#include "platform/classlib/threadstate.h"
#include "platform/classlib/wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

static CWinApp* g_application = nullptr;
static bool g_oleInitialized = false;

CWinApp::CWinApp(LPCSTR appName)
{
    g_application = this;
    m_bAutoDelete = FALSE;
    if (appName)
        m_pszAppName = strdup(appName);
    AfxGetThreadState()->m_pCurrentThread = this;
}

CWinApp::~CWinApp()
{
    delete m_pRecentFileList;
    free((void*)m_pszAppName);
    free((void*)m_pszRegistryKey);
    free((void*)m_pszProfileName);
    free((void*)m_pszExeName);
    if (g_application == this)
        g_application = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_application;
}

CWnd* AfxGetMainWnd()
{
    if (CWinThread* thread = AfxGetThread())
        return thread->GetMainWnd();
    return g_application ? g_application->GetMainWnd() : nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    return CWinThread::Run();
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    if (g_oleInitialized) {
        ::OleUninitialize();
        g_oleInitialized = false;
    }
    return (int)m_msgCur.wParam;
}

void CWinApp::OnAppExit()
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_CLOSE);
}

void CWinApp::LoadStdProfileSettings(UINT maxRecentFiles)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (maxRecentFiles == 0)
        return;
    m_pRecentFileList = new CRecentFileList("Recent File List", "File%d", (int)maxRecentFiles);
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(LPCSTR path)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(path);
}

HICON CWinApp::LoadIcon(LPCSTR resourceName) const
{
    return ::LoadIconA(AfxGetResourceHandle(), resourceName);
}

HCURSOR CWinApp::LoadCursor(LPCSTR resourceName) const
{
    return ::LoadCursorA(AfxGetResourceHandle(), resourceName);
}

void CWinApp::DoWaitCursor(int code)
{
    m_nWaitCursorCount += code;
    if (m_nWaitCursorCount > 0) {
        HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
        if (code > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = previous;
    } else {
        m_nWaitCursorCount = 0;
        ::SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore
                                             : ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    }
}

// The file name of the program without folder and extension.
static LPSTR ProgramName(HINSTANCE instance)
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(instance, path, MAX_PATH - 1);
    LPSTR name = path;
    for (LPSTR p = path; *p; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    }
    if (LPSTR dot = strrchr(name, '.'))
        *dot = '\0';
    return strdup(name);
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    AfxGetThreadState()->m_pCurrentThread = app;
    AfxSetInstanceHandle(instance);
    AfxSetResourceHandle(instance);
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = show;
    app->m_nThreadID = ::GetCurrentThreadId();
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                      &app->m_hThread, 0, FALSE, DUPLICATE_SAME_ACCESS);
    if (!app->m_pszExeName)
        app->m_pszExeName = ProgramName(instance);
    if (!app->m_pszAppName)
        app->m_pszAppName = strdup(app->m_pszExeName);
    int exitCode = -1;
    AfxCallGuarded("the application", [&] {
        if (app->InitInstance()) {
            exitCode = app->Run();
            return;
        }
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        exitCode = app->ExitInstance();
    });
    // The handle was made for the run and goes with it. Left open, the
    // application object's destructor would close it while the process
    // ends, when Wine may end the process at such a call before the other
    // global objects are destroyed.
    ::CloseHandle(app->m_hThread);
    app->m_hThread = nullptr;
    return exitCode;
}

BOOL AfxOleInit()
{
    HRESULT result = ::OleInitialize(nullptr);
    if (FAILED(result))
        return FALSE;
    if (g_oleInitialized) {
        // Already initialised on this thread: keep one level.
        ::OleUninitialize();
    }
    g_oleInitialized = true;
    return TRUE;
}

void AfxEnableControlContainer()
{
}
