// Resource ids of the folder browser.
#pragma once

// The browse frame: menu, accelerators and title string.
#define IDR_BROWSE_FRAME 116

// Shell item context menus: the failures of the simple item menu and the
// empty Send To level.
#define IDS_GETUIOBJECTOF_FAILED 7400
#define IDS_INVOKECOMMAND_FAILED 7401
#define IDS_SENDTO_EMPTY 7402
// The folder tree: a typed folder that is not in the shell namespace.
#define IDS_DIRECTORY_NOT_FOUND 7403

// The file list: its right-click menu, report headings, messages and the
// refusals of a rename.
#define IDR_FILE_LIST_MENU 181
#define IDS_FILE_LIST_HEADINGS 61294
#define IDS_NO_DRAWING_FOUND 61285
#define IDS_STOPPING_THUMBNAILS 7404
#define IDS_RENAME_EMPTY 7405
#define IDS_RENAME_SEPARATOR 7406
#define IDS_RENAME_DOTS 7407
#define IDS_RENAME_BAD_CHARACTER 7408
#define IDS_RENAME_TOO_LONG 7409
#define IDS_RENAME_RESERVED 7410
// The file list pane: bookmark buttons' icons and tool tips.
#define IDI_ADD_BOOKMARK 132
#define IDI_REMOVE_BOOKMARK 186
#define IDI_EDIT_BOOKMARKS 228
#define IDS_RENAME_EXISTS 7415
#define IDS_TIP_PATH_BOX 7411
#define IDS_TIP_ADD_BOOKMARK 7412
#define IDS_TIP_REMOVE_BOOKMARK 7413
#define IDS_TIP_EDIT_BOOKMARKS 7414
