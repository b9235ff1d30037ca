#include "core/appsw.h"

#include "core/global_objects.h"
#include "core/log_file.h"
#include "core/registry_root.h"

CAppSW AppSW __attribute__((init_priority(kGlobalRankAppState)));

namespace {

const char kMainKey[] = HARBECK_REGISTRY_ROOT "main";
const char kLastViewPathValue[] = "LastViewPath";
const DWORD kPathBufferSize = 260;

}  // namespace

CAppSW::CAppSW()
    : mode(APPMODE_QUITTING),
      toQuit(0),
      app(NULL),
      browseFrame(NULL),
      viewFrame(NULL),
      drawThread(NULL),
      taskThread(NULL),
      modalDialogOpen(0),
      resumeThumbnails(0),
      m_actions(NULL)
{
    WriteLog(NULL, "Construct AppSW");
}

CAppSW::~CAppSW()
{
    WriteLog(NULL, "Destroy AppSW");
}

void CAppSW::ToViewMode()
{
    if (m_actions != NULL)
        m_actions->ToViewMode(*this);
    else
        mode = APPMODE_VIEW;
}

void CAppSW::ToBrowseMode(const char* folder)
{
    if (m_actions != NULL)
        m_actions->ToBrowseMode(*this, folder);
    else
        mode = APPMODE_BROWSE;
}

void CAppSW::SetToQuit()
{
    if (m_actions != NULL) {
        m_actions->SetToQuit(*this);
        return;
    }
    mode = APPMODE_QUITTING;
    toQuit = 1;
}

void CAppSW::CreateViewThread()
{
    if (m_actions != NULL)
        m_actions->CreateViewThread(*this);
}

void CAppSW::CreateTaskManageThread()
{
    if (m_actions != NULL)
        m_actions->CreateTaskManageThread(*this);
}

void CAppSW::DeleteViewDWGThread()
{
    if (m_actions != NULL)
        m_actions->DeleteViewDWGThread(*this);
}

void CAppSW::DeleteTaskMngThread()
{
    if (m_actions != NULL)
        m_actions->DeleteTaskMngThread(*this);
}

void CAppSW::SetViewPath(const char* path)
{
    viewPath = path ? path : "";
}

CString CAppSW::GetViewPath() const
{
    return viewPath;
}

bool CAppSW::LoadReg()
{
    lastViewPath.Empty();
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMainKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    // One byte short of the buffer, so that the text is always terminated.
    char buffer[kPathBufferSize] = {};
    DWORD size = kPathBufferSize - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, kLastViewPathValue, NULL, &type, (BYTE*)buffer, &size) == ERROR_SUCCESS &&
        type == REG_SZ)
        lastViewPath = buffer;
    RegCloseKey(key);
    return true;
}

bool CAppSW::SaveReg()
{
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kMainKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, kLastViewPathValue, 0, REG_SZ, (const BYTE*)(LPCSTR)lastViewPath,
                                 lastViewPath.GetLength() + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}
