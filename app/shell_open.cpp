#include "app/shell_open.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/classlib/classlib.h"

void OpenWithShell(const char* address)
{
    CWnd* mainWindow = AfxGetMainWnd();
    ShellExecuteA(mainWindow != NULL ? mainWindow->GetSafeHwnd() : NULL, "open", address, NULL, NULL,
                  SW_SHOWNORMAL);
}
