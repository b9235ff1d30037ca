// The window messages of the drawing views: those they send and those the
// browse frame and the options sheet send them.
#pragma once

// Title and status refresh, posted to the browse frame.
#define WM_UPDATE_STATUS 0x8032
// The drawing view to its frame: back to browse mode, a print pick ended.
#define WM_BACK_TO_BROWSE 0x807B
#define WM_PRINT_PICK_DONE 0x8082
// The options sheet to the main window after OK, in this order: the browse
// settings changed (lParam 1 when the file filter changed too), the look of
// the thumbnails changed, the cache settings changed, the drawing is to be
// read again.
#define WM_PREFS_CHANGED 0x80B5
#define WM_THUMB_LOOK_CHANGED 0x80B6
#define WM_OPTIONS_APPLIED 0x80B7
#define WM_REGEN_ALL 0x80B8
// The print manager to the view frame: print pick on or off.
#define WM_PRINT_PICK_MODE 0x80C3
