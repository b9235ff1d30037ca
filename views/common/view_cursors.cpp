#include "views/common/view_cursors.h"

#include "platform/zrui/cursor_table.h"

HCURSOR SystemCursor(LPCSTR id)
{
    return LoadCursorA(NULL, id);
}

HCURSOR ViewCursor(int entry)
{
    return g_cursor[entry];
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
