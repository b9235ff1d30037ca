// One straight line in a pen, the device context's own pen kept.
#pragma once
#include "platform/classlib/classlib.h"

inline void DrawPenLine(CDC& dc, CPen& pen, int x1, int y1, int x2, int y2)
{
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
    dc.SelectObject(old);
}
