// Screen pictures for the toolkit's window tests: what a window (or a part
// of the screen) shows, read pixel by pixel and kept as a BMP file beside
// the tests' output.
#pragma once
#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

namespace testwin {

// How far a pixel of smoothed text may lie from the text colour and still
// count as its ink.
constexpr int kTextInkTolerance = 96;

class ScreenPicture {
public:
    // The screen rectangle as it shows now.
    static ScreenPicture OfScreen(const RECT& area);
    // The window's client area (repainted first).
    static ScreenPicture OfClient(HWND window);
    // The whole window as it has drawn itself.
    static ScreenPicture OfWindow(HWND window);
    // A rectangle of a device context.
    static ScreenPicture OfDC(HDC dc, const RECT& area);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF Pixel(int x, int y) const;
    // How many pixels of the rectangle have the colour.
    int CountColour(const RECT& area, COLORREF colour) const;
    // How many pixels of the rectangle lie within `tolerance` of the colour in
    // each channel: the ink of smoothed text, whose edges blend with the
    // background.
    int CountNear(const RECT& area, COLORREF colour, int tolerance) const;
    // Writes "<build>/tests/toolkit/screenshots/<name>.bmp"; the path.
    std::string Save(const std::string& name) const;
    // Writes "<folder>\\<name>.bmp" (a Win32 folder, made when missing); the path.
    std::string SaveIn(const std::string& folder, const std::string& name) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;  // 0x00RRGGBB, top row first
};

}  // namespace testwin
