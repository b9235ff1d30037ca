// Messages from the worker threads to their windows.
#pragma once

#define WM_THUMB_DONE 0x800A
#define WM_THUMB_STAGE 0x8014
#define WM_DRAW_DONE 0x801E
#define WM_DRAW_OPENED 0x801F
#define WM_DRAW_PROGRESS 0x8046
#define WM_THUMBS_FINISHED 0x808C

// The range of the thumbnail thread's posted messages that shutdown drops.
#define WM_THUMB_FIRST 0x8014
#define WM_THUMB_LAST 0x8023
