// The window messages of the drawing views: those they send and those the
// browse frame and the options sheet send them.
#pragma once

// Title and status refresh, posted to the browse frame.
#define WM_UPDATE_STATUS 0x8032
// The drawing view to its frame: back to browse mode, a print pick ended.
#define WM_BACK_TO_BROWSE 0x807B
#define WM_PRINT_PICK_DONE 0x8082
// The options sheet after OK: the drawing is to be read again.
#define WM_REGEN_ALL 0x80B8
// The print manager to the view frame: print pick on or off.
#define WM_PRINT_PICK_MODE 0x80C3
