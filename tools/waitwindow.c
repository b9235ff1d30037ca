/* waitwindow CLASS [SECONDS [DESKTOP]]: waits until a visible top-level window
 * of the given class exists, on the named desktop of Wine's virtual desktop
 * mode or else on the current one. Exit code 0 when it appeared, 1 on
 * time-out, 2 on bad arguments. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

static BOOL IsWindowUp(const char* className)
{
    HWND window = FindWindowA(className, NULL);
    return window != NULL && IsWindowVisible(window);
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: waitwindow CLASS [SECONDS [DESKTOP]]\n");
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
