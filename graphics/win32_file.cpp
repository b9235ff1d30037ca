#include "graphics/win32_file.h"

#include <string>

#include "platform/base/unix_path.h"

FILE* OpenWin32File(const char* path, const char* mode)
{
    std::string unixPath;
    if (!mode || !GetUnixPath(path, &unixPath))
        return nullptr;
    return fopen(unixPath.c_str(), mode);
}
