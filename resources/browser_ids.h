// Resource ids of the folder browser.
#pragma once

// The browse frame: menu, accelerators, title string and tool bar; the
// tool bar whose pictures the preview menu's view points show.
#define IDR_BROWSE_FRAME 116
#define IDR_PREVIEW_POINT_TOOLBAR 165

// The browse frame's bars: the preview bar and the folder tree bar (their
// ids are also the commands that show and hide them), the progress control
// in the status bar.
#define ID_PREVIEW_BAR 105
#define ID_TREE_BAR 106
#define IDC_THUMBNAIL_PROGRESS 1147

// Status-bar panes of the browse frame: folder counts, current file name,
// size of the selection, thumbnail progress.
#define ID_PANE_COUNTS 0xF007
#define ID_PANE_FILE_NAME 0xF008
#define ID_PANE_SELECTION_SIZE 0xF009
#define ID_PANE_PROGRESS 0xF00A

// Commands of the browse frame.
#define ID_DELETE_FILES 22800
#define ID_SORT_BY_NAME 22801
#define ID_SORT_BY_SIZE 22802
#define ID_SORT_BY_TYPE 22803
#define ID_SORT_BY_DATE 22804
#define ID_SORT_ASCENDING 22805
#define ID_SORT_DESCENDING 22806
#define ID_SHOW_SELECTED_ITEM 22807
#define ID_FOLDER_UP 32771
#define ID_BROWSE_REFRESH 32772
#define ID_INSERT_TO_AUTOCAD 32773
#define ID_BROWSE_FILE_PROPERTIES 32775
#define ID_VIEW_THUMBNAILS 32779
#define ID_SWITCH_TO_VIEW 32782
#define ID_OPEN_ITEM 32785
#define ID_EDIT_WITH_APP 32786
#define ID_SELECT_ALL 32789
#define ID_SELECT_ALL_DRAWINGS 32790
#define ID_SELECT_NONE 32791
#define ID_INVERT_SELECTION 32792
#define ID_RENAME_ITEM 32793
#define ID_REGEN_ALL_THUMBNAILS 32794
#define ID_REGEN_SELECTED_THUMBNAILS 32795
#define ID_SKIP_THUMBNAIL 32796
#define ID_INTERFACE_STYLE 32824
#define ID_NEW_FOLDER 32937
#define ID_SAVE_THUMBNAILS 42929
#define ID_EDIT_COPY 57634
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801
#define ID_VIEW_SMALLICON 59408
#define ID_VIEW_LARGEICON 59409
#define ID_VIEW_LIST 59410
#define ID_VIEW_DETAILS 59411

// Status texts of the browse frame: the folder's counts and total size.
#define IDS_FOLDER_COUNTS 61290
#define IDS_TOTAL_SIZE 61293

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
// The file list's menu of a drop made with the right mouse button.
#define IDR_DROP_MENU 7001
#define ID_DROP_COPY_HERE 32771
#define ID_DROP_MOVE_HERE 32772
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
