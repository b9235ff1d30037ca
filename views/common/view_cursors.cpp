#include "views/common/view_cursors.h"

HCURSOR SystemCursor(LPCSTR id)
{
    return LoadCursorA(NULL, id);
}

HCURSOR ViewCursor(int entry)
{
    switch (entry) {
        case kCursorTurnHorizontal:
        case kCursorPrintTopBottom:
            return SystemCursor(IDC_SIZENS);
        case kCursorTurnVertical:
        case kCursorPrintLeftRight:
            return SystemCursor(IDC_SIZEWE);
        case kCursorPrintBottomLeft:
            return SystemCursor(IDC_SIZENESW);
        case kCursorPrintTopLeft:
            return SystemCursor(IDC_SIZENWSE);
        case kCursorPrintMove:
        case kCursorFreeOrbit:
        case kCursorPan:
        case kCursorPanDragging:
            return SystemCursor(IDC_SIZEALL);
        default:
            return SystemCursor(IDC_CROSS);
    }
}

HCURSOR ToolModeCursor(int mode, HCURSOR current)
{
    switch (mode) {
        case kToolArrow:
            return SystemCursor(IDC_ARROW);
        case kToolZoomWindow:
            return ViewCursor(kCursorZoomWindow);
        case kToolPan:
            return ViewCursor(kCursorPan);
        case kToolZoomOut:
            return ViewCursor(kCursorZoomOut);
        case kToolZoomIn:
            return ViewCursor(kCursorZoomIn);
        default:
            return current;
    }
}
