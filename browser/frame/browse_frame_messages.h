// The bookmark editor tells the browse frame that the bookmarks changed.
// The options sheet's messages are in views/common/view_messages.h, the
// file list's in browser/filelist/file_list_messages.h.
#pragma once
#include <windows.h>

const UINT WM_BOOKMARKS_CHANGED = 0x80BF;
