// Resource ids of the drawing views.
#pragma once

// The view frame: menu, accelerators and title string.
#define IDR_VIEW_FRAME 134

// Commands.
#define ID_BACK_TO_BROWSE 32829
