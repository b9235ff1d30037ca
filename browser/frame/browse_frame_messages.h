// The messages the options sheet and the bookmark editor send the browse
// frame. Those of the file list are in browser/filelist/file_list_messages.h,
// the status refresh and WM_REGEN_ALL in views/common/view_messages.h.
#pragma once
#include <windows.h>

// Preferences changed; wParam 1 forces the list to refresh.
const UINT WM_PREFS_CHANGED = 0x80B5;
// The thumbnails' look changed.
const UINT WM_THUMB_LOOK_CHANGED = 0x80B6;
// The bookmarks changed.
const UINT WM_BOOKMARKS_CHANGED = 0x80BF;
