// Resource ids of the drawing services.
#pragma once

// The names of the two spaces of a drawing that lists no layouts.
#define IDS_LAYOUT_MODEL 61216
#define IDS_LAYOUT_PAPER 61217
// The drawing thread's failure picture.
#define IDS_OPEN_FILE_FAILED 61221
#define IDS_PASSWORD_PROTECTED 61295
