// The Windows version kind that the shell list and folder tree compare
// with 6 (Windows XP or a later NT version) to choose between two
// behaviours of the shell interface.
#pragma once
#include <windows.h>

// 0 unknown, 1 Win32s, 3 or 4 the Windows 95 family, 2 NT 4, 5 Windows
// 2000, 6 Windows XP and every later NT version.
int OSVersionKindOf(DWORD platformId, DWORD major, DWORD minor);

// Asks the system (twice at most) and maps the answer; 0 when both asks
// fail. Computed once, before the application starts, into g_OSVersionKind.
int GetOSVersionKind();

extern int g_OSVersionKind;
