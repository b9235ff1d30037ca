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
