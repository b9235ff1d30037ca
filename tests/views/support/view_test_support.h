// What the drawing views' tests share: waiting until the drawing thread
// and the windows have settled, and the pictures the windows show.
#pragma once
#include <windows.h>

#include "drawing/draw_thread/draw_thread.h"
#include "graphics/gdi_device.h"

namespace viewtest {

// Pumps messages until the thread is idle and nothing but timers has
// arrived for a while; false after 20 s.
bool Settle(TDwgDrawThread* thread);
// The picture of a window's client area as the window painted it (pixels
// read with drawtest::PixelAt). Wine keeps each window's pixels apart, so
// windows over it, of this program or another, do not change them.
void CaptureWindow(HWND window, CGDIDevice& picture);
// Keeps a picture as build/tests/views/screenshots/<name>.bmp to look at.
void KeepScreenshot(const CGDIDevice& picture, const char* name);
int CountColour(const CGDIDevice& picture, DWORD rgb);
// Clicks the on/off cell of the named layer in the layer manager's list.
void SwitchLayerOff(HWND dialog, const char* layer);

}  // namespace viewtest
