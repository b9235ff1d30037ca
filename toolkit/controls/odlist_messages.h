// The owner-drawn list's own window messages.
#pragma once

// Posted to itself when a column-width drag ended (wParam the header,
// lParam the column).
#define WM_ODLIST_CLICK 0x83FC
// Sent to its parent after a column width changed (wParam the list window,
// lParam the column).
#define WM_ODLIST_NOTIFY 0x83FD
// Posted to itself by its keys: Shift+F10 or the Apps key, F2, Delete,
// Alt+Enter, Enter.
#define WM_ODLIST_CONTEXTMENU 0x844C
#define WM_ODLIST_RENAME 0x844E
#define WM_ODLIST_DELETE 0x8450
#define WM_ODLIST_PROPERTIES 0x8451
#define WM_ODLIST_OPEN 0x8452
