/* The floor for a program's start on this platform: a bare Winelib window
 * program that shows one frame with a menu and ends when it is closed. */
#include <windows.h>

static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    WNDCLASSA frameClass = {0};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = instance;
    frameClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    frameClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    frameClass.lpszClassName = "BareFrame";
    RegisterClassA(&frameClass);
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 1, "File");
    HWND frame = CreateWindowA("BareFrame", "Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                               800, 600, NULL, menu, instance, NULL);
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
