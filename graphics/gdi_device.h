// An off-screen drawing surface: a memory device context with a DIB section
// selected into it. Callers draw into it through GDI or write its pixels
// directly through the row table (row 0 is the top row).
#pragma once
#include <windows.h>

class CGDIDevice {
public:
    CGDIDevice();
    virtual ~CGDIDevice();

    // Makes a width x height surface, 3 bytes per pixel (24 bits) or, for
    // any other value, 4. False, keeping the old surface, when the size is
    // the current one or either side is below 2; false with no surface
    // when the DIB section cannot be made.
    bool Create(int width, int height, int bytesPerPixel);

    // Takes the source's size (3 bytes per pixel) and its pixels. False,
    // with nothing copied, when the surfaces still differ in size or pixel
    // layout (the source is empty or too small, or this one could not be
    // made).
    bool CopyFrom(const CGDIDevice& source);

    // Copies the whole surface to target at (0, 0).
    bool Paint(HDC target) const;

    // On a device with no surface yet: makes a 2 x 2 surface and selects a
    // 16-pixel Tahoma into it with a transparent background.
    void SelectFont();
    // Selects the font that SelectFont replaced back and deletes Tahoma.
    void ReleaseFont();

    // Blends colour (0x00BBGGRR) into the inclusive rectangle with the
    // given opacity in per cent (100 or more, or negative: opaque). With
    // border the outline gets borderColour at the same opacity.
    void BlendRect(int left, int top, int right, int bottom, COLORREF colour,
                   int percent, bool border, COLORREF borderColour);

    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;
    HGDIOBJ m_hSavedFont;
    int m_nWidth;
    int m_nHeight;
    BITMAPINFOHEADER* m_pHeader;
    int m_nBytesPerPixel;
    BYTE* m_pBits;
    int m_nStride;
    BYTE** m_pRows;
    DWORD m_nImageSize;

private:
    CGDIDevice(const CGDIDevice&) = delete;
    CGDIDevice& operator=(const CGDIDevice&) = delete;

    void FreeSurface();
    bool MakeSurface(int width, int height, int bytesPerPixel);
    void BlendSpan(BYTE* row, int first, int last, const int weighted[3],
                   int keep) const;
};
