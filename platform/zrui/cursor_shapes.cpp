#include "platform/zrui/cursor_shapes.h"

namespace ZrUI {

namespace {

template <int kRowCount>
constexpr CursorShape Shape(int hotX, int hotY, const char* const (&rows)[kRowCount])
{
    return CursorShape{hotX, hotY, rows, kRowCount};
}

}  // namespace

// One row of pixels a line, as the cursors look.
// clang-format off
// Orbit about the horizontal axis: the axis through a vertical ring.
const char* const kOrbitHorizontalRows[] = {
    ".........oXoo.............",
    ".........oXXoooo..........",
    "........ooXXXXXoo.........",
    "........oXXXXXXXo.........",
    ".......ooXXXXXXXoo........",
    ".......oXXXXooXXXo........",
    ".......oXXXooooXXo........",
    "......ooXXoo..oXXoo.......",
    "......oXXoo...ooXXo.......",
    "......oXXo.....oXXo.......",
    "......oXXo.....oXXo.......",
    "oooooooXXoooooooXXoooooooo",
    "XXXXXXXXXXXXXXXXXXXXXXXXXo",
    "oooooooXXoooooooXXoooooooo",
    "......oXXo.....oXXo.......",
    "......oXXo.....oXXo.......",
    "......oXXoo...ooXXo.......",
    "......ooXXo..ooXXoo.......",
    ".......oXXooooXXXo........",
    ".......oXXXooXXXXo........",
    ".......ooXXXXXXXoo........",
    "........oXXXXXXXo.........",
    "........ooXXXXXoo.........",
    ".........ooooXXo..........",
    "............ooXo..........",
    ".............ooo..........",
};
const CursorShape kOrbitHorizontal = Shape(12, 12, kOrbitHorizontalRows);

// Orbit about the vertical axis: the axis through a horizontal ring.
const char* const kOrbitVerticalRows[] = {
    "...........oXo............",
    "...........oXo............",
    "...........oXo............",
    "...........oXo............",
    "...........oXo............",
    "...........oXo............",
    ".......oooooXooooo........",
    "....ooooXXXXXXXXXoooo.....",
    "..oooXXXXXXXXXXXXXXXooo...",
    "oooXXXXXooooXooooXXXXXoo..",
    "XXXXXXXoo..oXo..oooXXXXo..",
    "oXXXXXoo...oXo....ooXXXo..",
    "ooXXXoo....oXo....ooXXXoo.",
    ".oXXXoo....oXo...ooXXXXXoo",
    ".oXXXXooo..oXo..ooXXXXXXXo",
    ".ooXXXXXooooXooooXXXXXoooo",
    "..oooXXXXXXXXXXXXXXXooo...",
    "....ooooXXXXXXXXXoooo.....",
    ".......oooooXooooo........",
    "...........oXo............",
    "...........oXo............",
    "...........oXo............",
    "...........oXo............",
    "...........oXo............",
    "...........oXo............",
    "...........ooo............",
};
const CursorShape kOrbitVertical = Shape(12, 12, kOrbitVerticalRows);

// Roll about the view direction: a circular arrow.
const char* const kRollRows[] = {
    ".......................",
    ".......................",
    ".ooooooooooo...........",
    ".oXXXXXXXXXo..ooooo....",
    ".ooXXXXXXXoo..oXXXoo...",
    "..oXXXXXXXo...oXXXXoo..",
    "..ooXXXXooo...oooXXXoo.",
    "...oXXXXo.......ooXXXo.",
    "..ooXXXoo........ooXXoo",
    "..oXXXoo..........oXXXo",
    "..oXXXo...oooo....ooXXo",
    "..oXXoo...oXXo.....oXXo",
    "..oXXo....oXXo.....oXXo",
    "..oXXo....oooo.....oXXo",
    "..oXXoo...........ooXXo",
    "..oXXXo...........oXXXo",
    "..ooXXoo.........ooXXoo",
    "...oXXXoo.......ooXXXo.",
    "...ooXXXooo...oooXXXoo.",
    "....ooXXXXoooooXXXXoo..",
    ".....ooXXXXXXXXXXXoo...",
    "......oooXXXXXXXooo....",
    "........ooooooooo......",
};
const CursorShape kRoll = Shape(12, 12, kRollRows);

// Free orbit: a globe.
const char* const kOrbitFreeRows[] = {
    "........................",
    "........ooooooooo.......",
    "......oooXXXXXXXooo.....",
    "....oooXXXXXXXXXXXooo...",
    "...ooXXXXXXoooXXXXXXoo..",
    "...oXXXXoXoo.ooXoXXXXo..",
    "..ooXXXooXo...oXooXXXoo.",
    "..oXXXooXXoooooXXooXXXo.",
    ".ooXXooXXXXXXXXXXXooXXoo",
    ".oXXXXXXXoooooooXXXXXXXo",
    ".oXXXoooXo.....oXoooXXXo",
    ".oXXoo.oXo.....oXo.ooXXo",
    ".oXXo..oXo.....oXo..oXXo",
    ".oXXoo.oXo.....oXo.ooXXo",
    ".oXXXoooXo.....oXoooXXXo",
    ".oXXXXXXXoooooooXXXXXXXo",
    ".ooXXooXXXXXXXXXXXooXXoo",
    "..oXXXooXXoooooXXooXXXo.",
    "..ooXXXooXo...oXooXXXoo.",
    "...oXXXXoXoo.ooXoXXXXo..",
    "...ooXXXXXXoooXXXXXXoo..",
    "....oooXXXXXXXXXXXooo...",
    "......oooXXXXXXXooo.....",
    "........ooooooooo.......",
};
const CursorShape kOrbitFree = Shape(12, 12, kOrbitFreeRows);

// Zoom in: a magnifier with a plus.
const char* const kZoomInRows[] = {
    "........................",
    ".....ooooooooo..........",
    "....ooXXXXXXXoo.........",
    "...ooXXXXXXXXXoo........",
    "..ooXXXoooooXXXoo.......",
    ".ooXXXoooooooXXXoo......",
    ".oXXXooooXooooXXXo......",
    ".oXXoooooXoooooXXo......",
    ".oXXoooooXoooooXXo......",
    ".oXXooXXXXXXXooXXo......",
    ".oXXoooooXoooooXXo......",
    ".oXXoooooXoooooXXo......",
    ".oXXXooooXooooXXXo......",
    ".ooXXXoooooooXXXoo......",
    "..ooXXXoooooXXXXXoo.....",
    "...ooXXXXXXXXXXXXXoo....",
    "....ooXXXXXXXoXXXXXoo...",
    ".....ooooooooooXXXXXoo..",
    "..............ooXXXXXoo.",
    "...............ooXXXXXoo",
    "................ooXXXXXo",
    ".................ooXXXXo",
    "..................ooXXXo",
    "...................ooooo",
};
const CursorShape kZoomIn = Shape(9, 9, kZoomInRows);

// Zoom out: a magnifier with a minus.
const char* const kZoomOutRows[] = {
    "........................",
    ".....ooooooooo..........",
    "....ooXXXXXXXoo.........",
    "...ooXXXXXXXXXoo........",
    "..ooXXXoooooXXXoo.......",
    ".ooXXXoooooooXXXoo......",
    ".oXXXoooooooooXXXo......",
    ".oXXoooooooooooXXo......",
    ".oXXoooooooooooXXo......",
    ".oXXooXXXXXXXooXXo......",
    ".oXXoooooooooooXXo......",
    ".oXXoooooooooooXXo......",
    ".oXXXoooooooooXXXo......",
    ".ooXXXoooooooXXXoo......",
    "..ooXXXoooooXXXXXoo.....",
    "...ooXXXXXXXXXXXXXoo....",
    "....ooXXXXXXXoXXXXXoo...",
    ".....ooooooooooXXXXXoo..",
    "..............ooXXXXXoo.",
    "...............ooXXXXXoo",
    "................ooXXXXXo",
    ".................ooXXXXo",
    "..................ooXXXo",
    "...................ooooo",
};
const CursorShape kZoomOut = Shape(9, 9, kZoomOutRows);

// Window zoom: a cross beside a dashed window.
const char* const kZoomWindowRows[] = {
    ".......ooo...............",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo...............",
    "ooooooooooooooooo........",
    "oXXXXXXoXoXXXXXXo........",
    "ooooooooooooooooo........",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo.oooooooooooooo",
    ".......oXo.oXXoXXoXXoXXXo",
    ".......oXo.oooooooooooooo",
    ".......oXo.oXo........oXo",
    ".......ooo.oXo........oXo",
    "...........ooo........ooo",
    "...........oXo........oXo",
    "...........oXo........oXo",
    "...........ooo........ooo",
    "...........oXooooooooooXo",
    "...........oXXoXXoXXoXXXo",
    "...........oooooooooooooo",
};
const CursorShape kZoomWindow = Shape(8, 8, kZoomWindowRows);

// Pan: an open hand.
const char* const kPanRows[] = {
    "....................",
    "....................",
    "....................",
    "....................",
    "...........XX.......",
    ".......XX.XooXXX....",
    "......XooXXooXooX...",
    "......XooXXooXooX.X.",
    ".......XooXooXooXXoX",
    ".......XooXooXooXooX",
    ".....XX.XooooooooooX",
    "....XooXXoooooooooX.",
    "....XoooXooooooooX..",
    ".....XooooooooooooX.",
    "......XoooooooooooX.",
    "......XooooooooooX..",
    ".......XoooooooooX..",
    "........XooooooooX..",
    ".........XooooooX...",
    ".........XooooooX...",
};
const CursorShape kPan = Shape(12, 12, kPanRows);

// Pan while dragging: a closed hand.
const char* const kPanDragRows[] = {
    "...................",
    "...................",
    "...................",
    "...................",
    "...................",
    "...................",
    "...................",
    "........XX.XX.XX...",
    ".......XooXooXooXX.",
    ".......XooooooooXoX",
    "........XoooooooooX",
    ".......XXoooooooooX",
    "......XooooooooooX.",
    "......XoooooooooooX",
    ".......XooooooooooX",
    "........XoooooooooX",
    "........XooooooooX.",
    ".........XoooooooX.",
    "..........XooooooX.",
    "..........XooooooX.",
};
const CursorShape kPanDrag = Shape(12, 12, kPanDragRows);

// Print pick: a cross beside a page.
const char* const kPrintPickRows[] = {
    ".......ooo...............",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo...............",
    "ooooooooooooooooo........",
    "oXXXXXXoXoXXXXXXo........",
    "ooooooooooooooooo........",
    ".......oXo...............",
    ".......oXo...............",
    ".......oXo..oooooooooo...",
    ".......oXo..oXXXXXXXXooo.",
    ".......oXo..oXoooooooXXo.",
    ".......oXo..oXooooooooXoo",
    ".......ooo..oXoooooooooXo",
    "............oXoXXXXXXXoXo",
    "............oXoooooooooXo",
    "............oXoXXXXXXXoXo",
    "............oXoooooooooXo",
    "............oXoXXXXXXXoXo",
    "............oXoooooooooXo",
    "............oXoXXXXXXXoXo",
    "............oXoooooooooXo",
    "............oXXXXXXXXXXXo",
    "............ooooooooooooo",
};
const CursorShape kPrintPick = Shape(8, 8, kPrintPickRows);
// clang-format on

}  // namespace ZrUI
