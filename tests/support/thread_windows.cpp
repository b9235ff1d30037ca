#include "tests/support/thread_windows.h"

namespace testwin {

namespace {

struct WindowSearch {
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch* search = (WindowSearch*)parameter;
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, search->className) != 0 || !IsWindowVisible(window))
        return TRUE;
    char caption[256] = {};
    if (search->caption != NULL) {
        GetWindowTextA(window, caption, sizeof(caption));
        if (lstrcmpA(caption, search->caption) != 0)
            return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindVisibleThreadWindow(DWORD threadId, const char* className, const char* caption)
{
    WindowSearch search = {className, caption, NULL};
    EnumThreadWindows(threadId, MatchWindow, (LPARAM)&search);
    return search.found;
}

}  // namespace testwin
