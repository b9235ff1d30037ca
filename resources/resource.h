// Resource ids shared by the resource script and the code.
#pragma once
#include "platform/classlib/ids.h"

#define IDS_APP_TITLE 57344

// The browse frame: its menu, accelerators, icon and title string.
#define IDR_BROWSE_FRAME 116
