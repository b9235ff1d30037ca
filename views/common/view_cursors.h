// The pointer tools' modes and cursors, shared by the preview pane and the
// drawing view.
#pragma once
#include <windows.h>

// Tool modes: what a left-button press does.
enum ToolMode {
    kToolArrow = 0,
    kToolZoomWindow = 1,
    kToolPan = 2,
    kToolZoomOut = 4,
    kToolZoomIn = 5,
};

// Entries of the dialog library's cursor table.
enum ViewCursorEntry {
    kCursorTurnHorizontal = 0,
    kCursorTurnVertical = 1,
    kCursorRoll = 2,
    kCursorFreeOrbit = 3,
    kCursorZoomIn = 4,
    kCursorZoomOut = 5,
    kCursorZoomWindow = 6,
    kCursorPan = 10,
    kCursorPanDragging = 11,
    kCursorPrintPick = 12,
    kCursorPrintTopBottom = 14,
    kCursorPrintLeftRight = 15,
    kCursorPrintBottomLeft = 16,
    kCursorPrintTopLeft = 17,
    kCursorPrintMove = 18,
    kCursorPrintNoHandle = 19,
};

// The dialog library's cursor at an entry above (the arrow for any other).
HCURSOR ViewCursor(int entry);
HCURSOR SystemCursor(LPCSTR id);
// The cursor of a tool mode: the system arrow, or the table's window-zoom,
// pan, zoom-out or zoom-in cursor; any other mode keeps current.
HCURSOR ToolModeCursor(int mode, HCURSOR current);
