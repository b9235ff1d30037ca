// The pictures of the library's own cursors.
#pragma once

namespace ZrUI {

// A monochrome cursor picture of at most 32 by 32 pixels, drawn from its
// top-left corner: 'X' black, 'o' white, '.' transparent.
struct CursorShape {
    int hotX;
    int hotY;
    const char* const* rows;
    int rowCount;
};

extern const CursorShape kOrbitHorizontal;
extern const CursorShape kOrbitVertical;
extern const CursorShape kRoll;
extern const CursorShape kOrbitFree;
extern const CursorShape kZoomIn;
extern const CursorShape kZoomOut;
extern const CursorShape kZoomWindow;
extern const CursorShape kPan;
extern const CursorShape kPanDrag;
extern const CursorShape kPrintPick;

}  // namespace ZrUI
