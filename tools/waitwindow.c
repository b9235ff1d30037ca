/* waitwindow CLASS-PREFIX [SECONDS [DESKTOP]]: waits until a visible top-level
 * window whose class name begins with CLASS-PREFIX exists, on the named
 * desktop of Wine's virtual desktop mode or else on the current one. Exit
 * code 0 when it appeared, 1 on time-out, 2 on bad arguments. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct Search {
    const char* classPrefix;
    BOOL found;
};

static BOOL CALLBACK CheckWindow(HWND window, LPARAM lParam)
{
    struct Search* search = (struct Search*)lParam;
    char className[256];
    size_t prefixLength = strlen(search->classPrefix);
    if (IsWindowVisible(window) && GetClassNameA(window, className, sizeof(className)) > 0 &&
        strncmp(className, search->classPrefix, prefixLength) == 0) {
        search->found = TRUE;
        return FALSE;
    }
    return TRUE;
}

static BOOL IsWindowUp(const char* classPrefix)
{
    struct Search search = {classPrefix, FALSE};
    EnumWindows(CheckWindow, (LPARAM)&search);
    return search.found;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: waitwindow CLASS-PREFIX [SECONDS [DESKTOP]]\n");
        return 2;
    }
    int seconds = argc > 2 ? atoi(argv[2]) : 60;
    DWORD deadline = GetTickCount() + (DWORD)seconds * 1000;
    if (argc > 3) {
        HDESK desktop = NULL;
        while ((desktop = OpenDesktopA(argv[3], 0, FALSE, GENERIC_ALL)) == NULL) {
            if ((LONG)(GetTickCount() - deadline) >= 0)
                return 1;
            Sleep(200);
        }
        SetThreadDesktop(desktop);
    }
    while (!IsWindowUp(argv[1])) {
        if ((LONG)(GetTickCount() - deadline) >= 0)
            return 1;
        Sleep(200);
    }
    return 0;
}
