#include "tests/toolkit/common/window_capture.h"

#include <stdlib.h>

#include "platform/base/byte_reader.h"
#include "tests/support/test_files.h"

namespace testwin {

ScreenPicture ScreenPicture::OfScreen(const RECT& area)
{
    HDC screen = GetDC(NULL);
    ScreenPicture picture = OfDC(screen, area);
    ReleaseDC(NULL, screen);
    return picture;
}

ScreenPicture ScreenPicture::OfDC(HDC source, const RECT& area)
{
    ScreenPicture picture;
    picture.m_width = area.right - area.left;
    picture.m_height = area.bottom - area.top;
    if (picture.m_width <= 0 || picture.m_height <= 0)
        return picture;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.m_width;
    info.bmiHeader.biHeight = -picture.m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.m_width, picture.m_height, source, area.left, area.top, SRCCOPY);
    GdiFlush();
    const uint32_t* pixels = (const uint32_t*)bits;
    picture.m_pixels.assign(pixels, pixels + picture.m_width * picture.m_height);
    for (uint32_t& pixel : picture.m_pixels)
        pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return picture;
}

// Read from the window's own device context: what the window has drawn,
// also before the display has been brought up to date.
ScreenPicture ScreenPicture::OfClient(HWND window)
{
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    ScreenPicture picture = OfDC(dc, client);
    ReleaseDC(window, dc);
    return picture;
}

ScreenPicture ScreenPicture::OfWindow(HWND window)
{
    RECT bounds;
    GetWindowRect(window, &bounds);
    RECT area = {0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
    HDC dc = GetWindowDC(window);
    ScreenPicture picture = OfDC(dc, area);
    ReleaseDC(window, dc);
    return picture;
}

COLORREF ScreenPicture::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    uint32_t pixel = m_pixels[(size_t)y * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int ScreenPicture::CountColour(const RECT& area, COLORREF colour) const
{
    return CountNear(area, colour, 0);
}

int ScreenPicture::CountNear(const RECT& area, COLORREF colour, int tolerance) const
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            COLORREF pixel = Pixel(x, y);
            bool inReach = abs(GetRValue(pixel) - GetRValue(colour)) <= tolerance &&
                        abs(GetGValue(pixel) - GetGValue(colour)) <= tolerance &&
                        abs(GetBValue(pixel) - GetBValue(colour)) <= tolerance;
            count += inReach ? 1 : 0;
        }
    }
    return count;
}

std::string ScreenPicture::Save(const std::string& name) const
{
    return SaveIn(testfiles::ToWinePath(testfiles::BinaryDir() + "/tests/toolkit/screenshots"), name);
}

std::string ScreenPicture::SaveIn(const std::string& folder, const std::string& name) const
{
    CreateDirectoryA(folder.c_str(), NULL);
    std::string path = folder + "\\" + name + ".bmp";
    // A BMP file: 14-byte file header, 40-byte info header, 32-bit rows
    // from the top.
    const uint32_t headers = 14 + 40;
    const uint32_t imageSize = (uint32_t)m_pixels.size() * 4;
    std::string bytes(headers, '\0');
    uint8_t* p = (uint8_t*)&bytes[0];
    PutU16LE(p, 0x4D42);
    PutU32LE(p + 2, headers + imageSize);
    PutU32LE(p + 10, headers);
    PutU32LE(p + 14, 40);
    PutU32LE(p + 18, (uint32_t)m_width);
    PutU32LE(p + 22, (uint32_t)-m_height);
    PutU16LE(p + 26, 1);
    PutU16LE(p + 28, 32);
    PutU32LE(p + 34, imageSize);
    for (uint32_t pixel : m_pixels) {
        uint8_t four[4];
        PutU32LE(four, pixel);
        bytes.append((const char*)four, 4);
    }
    testfiles::WriteFileBytes(path, bytes);
    return path;
}

}  // namespace testwin
