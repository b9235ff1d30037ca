#include "graphics/win32_file.h"

#include <new>

#include <windows.h>

FILE* OpenWin32File(const char* path, const char* mode)
{
    if (!path || !*path || !mode)
        return nullptr;
    int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (length <= 0)
        return nullptr;
    WCHAR* widePath = new (std::nothrow) WCHAR[length];
    if (!widePath)
        return nullptr;
    FILE* file = nullptr;
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, length) > 0) {
        char* unixPath = wine_get_unix_file_name(widePath);
        if (unixPath) {
            file = fopen(unixPath, mode);
            HeapFree(GetProcessHeap(), 0, unixPath);
        }
    }
    delete[] widePath;
    return file;
}
