// The messages between the folder tree, the file list and the drive
// watchers, and the timers of the tree.
#pragma once
#include <windows.h>
#include <shlobj.h>

// File list to tree (sent): select and expand the folder of a list item;
// lParam points to a CListFolderItem.
const UINT WM_TREE_SELECT_ITEM = 0x83ED;
// Tree to file list (posted): show a folder; lParam is the tree item's
// CShellTreeItemData, which lives as long as the tree item.
const UINT WM_SHOW_FOLDER = 0x83FE;
// A drive watcher (or the tree itself) to the tree (posted): folders
// changed on disk; the tree re-syncs its expanded branches. A watcher
// posts lParam 0, the tree the path of its caret; neither is read.
const UINT WM_DRIVE_CHANGED = 0x8FA6;
// Tree to file list (posted) after a drive or medium came or went: wParam
// 0, lParam 1.
const UINT WM_FOLDER_CONTENT_CHANGED = 0x9389;

// What WM_TREE_SELECT_ITEM's lParam points to: the folder that holds the
// list's item and the item's absolute id list.
struct CListFolderItem {
    IShellFolder* folder;
    LPITEMIDLIST absolute;
};

// The record of one tree item, in the item's lParam: the folder holding
// the item (one reference), the item's id in it and its absolute id list.
struct CShellTreeItemData {
    IShellFolder* parentFolder;
    LPITEMIDLIST item;
    LPITEMIDLIST fullItem;
};
