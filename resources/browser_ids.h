// Resource ids of the folder browser.
#pragma once

// The browse frame: menu, accelerators and title string.
#define IDR_BROWSE_FRAME 116
