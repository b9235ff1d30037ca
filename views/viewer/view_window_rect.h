// The view frame's window rectangle, kept under "ViewWindow" (REG_DWORD
// "Left", "Top", "Right", "Bottom", screen coordinates). Only a rectangle
// that is a real place on a monitor is stored or put back: a minimised
// window's parking place, an empty or inverted rectangle, or one that lies
// off every monitor is neither.
#pragma once
#include <windows.h>

// The stored rectangle: 0, 0, 808, 608 when the key or a value is missing
// or when the stored one is no place to show the frame; false when the key
// exists but cannot be opened.
bool LoadViewWindowRect(RECT& rect);
// Stores a usable rectangle; anything else leaves the stored one alone.
void StoreViewWindowRect(const RECT& rect);
// Not empty and touching a monitor.
bool IsUsableWindowRect(const RECT& rect);
