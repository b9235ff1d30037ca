// The messages between the file list, its pane, the folder watcher and the
// main window.
#pragma once
#include <windows.h>

// WM_UPDATE_STATUS (views/common/view_messages.h) goes from the list to the
// main window when the status bar's numbers changed. While a thumbnail batch
// runs: (-1000, -1000) at its start, (0, tasks) when the tasks are handed
// over, (done, tasks) per thumbnail taken.
#include "views/common/view_messages.h"
// WM_SHOW_FOLDER and WM_FOLDER_CONTENT_CHANGED come to the list from the tree
// and the folder watcher.
#include "browser/tree/shell_tree_messages.h"
// WM_GET_CURRENT_FOLDER: the watcher asks the list for the shown folder.
#include "browser/filelist/folder_watch_thread.h"
// List to main window (sent): wParam 0 with lParam a status text, wParam 1
// a blank status; (0, 0) puts the normal status back (posted).
const UINT WM_STATUS_TEXT = 0x8064;
// Pane to main window (posted): put the shown folder back into the path box.
const UINT WM_UPDATE_PATHLABEL = 0x8079;
// List to main window (sent) before a folder's rows are added.
const UINT WM_LIST_FILLED = 0x938C;
