// The 3D orbit's guide: a big circle in the middle of the view with four
// small handle circles on it (top, bottom, left, right), and what a pointer
// position means for the orbit.
#pragma once
#include <windows.h>

// Orbit modes (bit sets): roll outside the circle, free orbit inside it,
// turn about the horizontal axis at the top or bottom handle, about the
// vertical axis at the left or right handle.
enum OrbitMode : unsigned short {
    kOrbitRoll = 1,
    kOrbitFree = 6,
    kOrbitTurnHorizontal = 8,
    kOrbitTurnVertical = 16,
};

struct OrbitGuide {
    int bigRadius;
    int handleRadius;
    POINT centre;
    POINT top;
    POINT bottom;
    POINT left;
    POINT right;

    // The guide of a client area of that size.
    static OrbitGuide ForClient(int width, int height);
    // The mode a press at the point starts.
    unsigned short ModeAt(POINT point) const;
    // The cursor table entry that shows the mode at the point.
    int CursorAt(POINT point) const;
    // The roll angle from one pointer position to the next (radians).
    double RollAngle(POINT from, POINT to) const;
    // The turns for a pointer step: dragging the guide's whole height
    // (width) turns by pi.
    double HorizontalTurn(POINT from, POINT to) const;
    double VerticalTurn(POINT from, POINT to) const;
    void Draw(HDC dc, COLORREF colour) const;
};
