// Resource ids of the drawing services.
#pragma once

// The names of the two spaces of a drawing that lists no layouts.
#define IDS_LAYOUT_MODEL 61216
#define IDS_LAYOUT_PAPER 61217
// The stages of drawing a thumbnail.
#define IDS_THUMB_LOADING 61218
#define IDS_THUMB_ZOOMING 61219
#define IDS_THUMB_DRAWING 61220
// The drawing thread's failure picture.
#define IDS_OPEN_FILE_FAILED 61221
// The thumbnail's failure picture.
#define IDS_THUMB_FAILED 61222
// The failure picture of a password-protected drawing (both threads).
#define IDS_PASSWORD_PROTECTED 61295
