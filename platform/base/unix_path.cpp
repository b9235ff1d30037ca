#include "platform/base/unix_path.h"

#include <vector>

#include <windows.h>

bool GetUnixPath(const char* win32Path, std::string* unixPath)
{
    if (!win32Path || !*win32Path || !unixPath)
        return false;
    int length = MultiByteToWideChar(CP_ACP, 0, win32Path, -1, nullptr, 0);
    if (length <= 0)
        return false;
    std::vector<WCHAR> wide(length);
    if (MultiByteToWideChar(CP_ACP, 0, win32Path, -1, wide.data(), length) <= 0)
        return false;
    char* name = wine_get_unix_file_name(wide.data());
    if (!name)
        return false;
    *unixPath = name;
    HeapFree(GetProcessHeap(), 0, name);
    return true;
}
