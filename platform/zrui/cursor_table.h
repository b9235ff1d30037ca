// The cursors the views show, read by index:
//   0 orbit about the horizontal axis, 1 orbit about the vertical axis,
//   2 roll, 3 free orbit, 4 zoom in, 5 zoom out, 6 window zoom, 10 pan,
//   11 pan while dragging, 12 print pick, 14 print-rectangle top or bottom
//   edge, 15 left or right edge, 16 bottom-left or top-right corner,
//   17 top-left or bottom-right corner, 18 inside (move), 19 no handle.
// Every index gives a valid cursor: the unused ones and those outside the
// table give the arrow. The table is made on first use and read on the UI
// thread only.
#pragma once
#include <windows.h>

namespace ZrUI {

class CursorTable {
public:
    enum { kCount = 20 };

    CursorTable() = default;
    CursorTable(const CursorTable&) = delete;
    CursorTable& operator=(const CursorTable&) = delete;

    HCURSOR operator[](int index);
    // Destroys the cursors the table made (releaseZrUI does; the system
    // frees them at exit otherwise); the next read makes them again.
    void Release();

private:
    void Build();

    HCURSOR m_cursors[kCount] = {};
    bool m_ownCursor[kCount] = {};
    bool m_built = false;
};

}  // namespace ZrUI

extern ZrUI::CursorTable g_cursor;
