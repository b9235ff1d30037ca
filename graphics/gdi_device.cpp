#include "graphics/gdi_device.h"

#include <cstdlib>
#include <cstring>

CGDIDevice::CGDIDevice()
    : m_hDC(nullptr), m_hBitmap(nullptr), m_hOldBitmap(nullptr),
      m_hSavedFont(nullptr), m_nWidth(0), m_nHeight(0), m_pHeader(nullptr),
      m_nBytesPerPixel(3), m_pBits(nullptr), m_nStride(0), m_pRows(nullptr),
      m_nImageSize(0)
{
}

CGDIDevice::~CGDIDevice()
{
    FreeSurface();
}

void CGDIDevice::FreeSurface()
{
    // A font still selected would otherwise be lost with the context.
    ReleaseFont();
    if (m_hDC) {
        SelectObject(m_hDC, m_hOldBitmap);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    m_hDC = nullptr;
    m_hBitmap = nullptr;
    m_hOldBitmap = nullptr;
    m_pBits = nullptr;
    free(m_pHeader);
    m_pHeader = nullptr;
    free(m_pRows);
    m_pRows = nullptr;
    m_nWidth = 0;
    m_nHeight = 0;
    m_nStride = 0;
    m_nImageSize = 0;
}

bool CGDIDevice::Create(int width, int height, int bytesPerPixel)
{
    if (m_hDC && width == m_nWidth && height == m_nHeight)
        return false;
    if (width <= 1 || height <= 1)
        return false;
    FreeSurface();
    if (!MakeSurface(width, height, bytesPerPixel)) {
        FreeSurface();
        return false;
    }
    return true;
}

bool CGDIDevice::MakeSurface(int width, int height, int bytesPerPixel)
{
    m_nBytesPerPixel = bytesPerPixel == 3 ? 3 : 4;
    m_pHeader = static_cast<BITMAPINFOHEADER*>(calloc(1, sizeof(BITMAPINFOHEADER)));
    if (!m_pHeader)
        return false;
    m_pHeader->biSize = sizeof(BITMAPINFOHEADER);
    m_pHeader->biWidth = width;
    m_pHeader->biHeight = height;
    m_pHeader->biPlanes = 1;
    m_pHeader->biBitCount = static_cast<WORD>(m_nBytesPerPixel * 8);
    m_pHeader->biCompression = BI_RGB;

    m_hDC = CreateCompatibleDC(nullptr);
    if (!m_hDC)
        return false;
    void* bits = nullptr;
    m_hBitmap = CreateDIBSection(m_hDC, reinterpret_cast<BITMAPINFO*>(m_pHeader),
                                 DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_hBitmap || !bits) {
        if (m_hBitmap)
            DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
        DeleteDC(m_hDC);
        m_hDC = nullptr;
        return false;
    }
    m_hOldBitmap = SelectObject(m_hDC, m_hBitmap);
    m_pBits = static_cast<BYTE*>(bits);
    m_nWidth = width;
    m_nHeight = height;
    m_nStride = (m_nBytesPerPixel * width + 3) & ~3;
    m_nImageSize = static_cast<DWORD>(m_nStride) * static_cast<DWORD>(height);

    m_pRows = static_cast<BYTE**>(malloc(sizeof(BYTE*) * static_cast<size_t>(height)));
    if (!m_pRows)
        return false;
    for (int y = 0; y < height; ++y)
        m_pRows[y] = m_pBits + static_cast<size_t>(m_nStride) * (height - 1 - y);
    return true;
}

bool CGDIDevice::CopyFrom(const CGDIDevice& source)
{
    Create(source.m_nWidth, source.m_nHeight, 3);
    if (!m_pBits || !source.m_pBits || m_nWidth != source.m_nWidth ||
        m_nHeight != source.m_nHeight || m_nBytesPerPixel != source.m_nBytesPerPixel)
        return false;
    memcpy(m_pBits, source.m_pBits, m_nImageSize);
    return true;
}

bool CGDIDevice::Paint(HDC target) const
{
    return BitBlt(target, 0, 0, m_nWidth, m_nHeight, m_hDC, 0, 0, SRCCOPY) != FALSE;
}

void CGDIDevice::SelectFont()
{
    if (!m_hDC && !Create(2, 2, m_nBytesPerPixel))
        return;
    if (m_hSavedFont)
        return;  // Tahoma is already selected.
    HGDIOBJ current = GetCurrentObject(m_hDC, OBJ_FONT);
    LOGFONTA font;
    memset(&font, 0, sizeof(font));
    if (!current || GetObjectA(current, sizeof(font), &font) == 0)
        return;
    SetBkMode(m_hDC, TRANSPARENT);
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    font.lfHeight = 16;
    font.lfWidth = 0;
    font.lfWeight = FW_NORMAL;
    HFONT tahoma = CreateFontIndirectA(&font);
    if (!tahoma)
        return;
    m_hSavedFont = SelectObject(m_hDC, tahoma);
}

void CGDIDevice::ReleaseFont()
{
    if (!m_hDC || !m_hSavedFont)
        return;
    HGDIOBJ tahoma = SelectObject(m_hDC, m_hSavedFont);
    if (tahoma)
        DeleteObject(tahoma);
    m_hSavedFont = nullptr;
}

static int BlendWeight(int percent)
{
    if (static_cast<unsigned>(percent) >= 100u)
        return 32;
    // 0.32 in single precision, widened: 25 per cent gives 7, not 8.
    return static_cast<int>(percent * static_cast<double>(0.32f));
}

void CGDIDevice::BlendSpan(BYTE* row, int first, int last, const int weighted[3],
                           int keep) const
{
    BYTE* pixel = row + static_cast<size_t>(first) * m_nBytesPerPixel;
    for (int x = first; x <= last; ++x, pixel += m_nBytesPerPixel) {
        pixel[0] = static_cast<BYTE>((pixel[0] * keep + weighted[0]) >> 5);
        pixel[1] = static_cast<BYTE>((pixel[1] * keep + weighted[1]) >> 5);
        pixel[2] = static_cast<BYTE>((pixel[2] * keep + weighted[2]) >> 5);
    }
}

void CGDIDevice::BlendRect(int left, int top, int right, int bottom, COLORREF colour,
                           int percent, bool border, COLORREF borderColour)
{
    if (percent == 0 || !m_pRows)
        return;
    if (top >= m_nHeight)
        return;
    if (top < 0)
        top = 0;
    if (left >= m_nWidth)
        return;
    if (left < 0)
        left = 0;
    if (right <= 0)
        return;
    if (right >= m_nWidth)
        right = m_nWidth - 1;
    if (bottom <= 0)
        return;
    if (bottom >= m_nHeight)
        bottom = m_nHeight - 1;

    const int weight = BlendWeight(percent);
    const int keep = 32 - weight;
    const int fill[3] = {GetBValue(colour) * weight, GetGValue(colour) * weight,
                         GetRValue(colour) * weight};
    if (!border) {
        for (int y = top; y <= bottom; ++y)
            BlendSpan(m_pRows[y], left, right, fill, keep);
        return;
    }
    const int edge[3] = {GetBValue(borderColour) * weight, GetGValue(borderColour) * weight,
                         GetRValue(borderColour) * weight};
    for (int y = top; y <= bottom; ++y) {
        BYTE* row = m_pRows[y];
        if (y == top || y == bottom) {
            BlendSpan(row, left, right, edge, keep);
            continue;
        }
        BlendSpan(row, left, left, edge, keep);
        if (right > left) {
            BlendSpan(row, left + 1, right - 1, fill, keep);
            BlendSpan(row, right, right, edge, keep);
        }
    }
}
