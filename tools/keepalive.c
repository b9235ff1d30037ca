/* Keeps the Wine server and its services running while tests start and end
 * their own processes, so that each test process starts in milliseconds. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance; (void)previous; (void)commandLine; (void)show;
    Sleep(INFINITE);
    return 0;
}
