#include "core/shell_properties.h"

#include <shellapi.h>

bool ShowShellProperties(HWND owner, const char* path)
{
    SHELLEXECUTEINFOA execute = {};
    execute.cbSize = sizeof(execute);
    execute.fMask = SEE_MASK_INVOKEIDLIST;
    execute.hwnd = owner;
    execute.lpVerb = "properties";
    execute.lpFile = path;
    execute.nShow = SW_SHOW;
    return ShellExecuteExA(&execute) != FALSE;
}
