// Finding a window that code under test shows on a thread: a dialog, a
// message box, a pop-up menu.
#pragma once
#include <windows.h>

namespace testwin {

// A visible top-level window of the thread with the window class (for
// example "#32770" for dialogs and message boxes, "#32768" for menus) and,
// when given, the caption; null when there is none.
HWND FindVisibleThreadWindow(DWORD threadId, const char* className, const char* caption = nullptr);

}  // namespace testwin
