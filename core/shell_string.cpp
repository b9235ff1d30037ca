#include "core/shell_string.h"

#include <string.h>

namespace {

void FreeShellMemory(void* memory)
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(memory);
        allocator->Release();
    }
}

}  // namespace

bool StrRetToString(LPCITEMIDLIST item, STRRET& strret)
{
    char text[MAX_PATH] = {};
    bool known = true;
    switch (strret.uType) {
    case STRRET_CSTR:
        strret.cStr[MAX_PATH - 1] = '\0';
        return true;
    case STRRET_WSTR:
        if (strret.pOleStr) {
            WideCharToMultiByte(CP_ACP, 0, strret.pOleStr, -1, text, MAX_PATH, nullptr, nullptr);
            text[MAX_PATH - 1] = '\0';
            FreeShellMemory(strret.pOleStr);
        }
        break;
    case STRRET_OFFSET:
        if (item)
            lstrcpynA(text, (const char*)item + strret.uOffset, MAX_PATH);
        break;
    default:
        known = false;
        break;
    }
    strret.uType = STRRET_CSTR;
    memcpy(strret.cStr, text, MAX_PATH);
    return known;
}

void StrRetFree(STRRET& strret)
{
    if (strret.uType == STRRET_WSTR && strret.pOleStr) {
        FreeShellMemory(strret.pOleStr);
        strret.pOleStr = nullptr;
    }
}
