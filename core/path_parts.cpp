#include "core/path_parts.h"

#include <string.h>

void PathParts::Split(const char* path)
{
    drive.Empty();
    folder.Empty();
    name.Empty();
    extension.Empty();
    if (!path)
        return;
    int length = (int)strlen(path);
    int start = 0;
    if (length >= 2 && path[1] == ':' && !ClasslibIsLeadByte(path[0])) {
        drive = CString(path, 2);
        start = 2;
    }
    int nameStart = start;
    int lastDot = -1;
    for (int i = start; i < length; i += ClasslibCharLength(path, length, i)) {
        char ch = path[i];
        if (ClasslibIsLeadByte(ch))
            continue;
        if (ch == '\\' || ch == '/') {
            nameStart = i + 1;
            lastDot = -1;
        } else if (ch == '.') {
            lastDot = i;
        }
    }
    folder = CString(path + start, nameStart - start);
    int nameEnd = lastDot >= 0 ? lastDot : length;
    name = CString(path + nameStart, nameEnd - nameStart);
    extension = path + nameEnd;
}
