// Resource ids shared by the resource script and the code.
#pragma once
#include "platform/classlib/ids.h"

#define IDS_APP_TITLE 57344

// The browse frame and the view frame: menu, accelerators and title string.
#define IDR_BROWSE_FRAME 116
#define IDR_VIEW_FRAME 134

// The program's icon.
#define IDI_HARBECK 116

// Commands.
#define ID_BACK_TO_BROWSE 32829
