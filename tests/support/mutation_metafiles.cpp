#include "tests/support/mutation_metafiles.h"

#include <windows.h>

namespace codectest {

namespace {

void PutU16(std::string& bytes, unsigned value)
{
    bytes += (char)(value & 0xFF);
    bytes += (char)(value >> 8);
}

// What both kinds of metafile record; `enhanced` adds what only enhanced
// ones hold (paths, world transforms, geometric pens).
void DrawRichPicture(HDC dc, bool enhanced)
{
    HPEN pen = CreatePen(PS_DASH, 1, RGB(200, 0, 0));
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 90, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, hatch);
    Rectangle(dc, 2, 2, 40, 30);
    Ellipse(dc, 30, 10, 70, 50);
    POINT points[5] = { { 5, 55 }, { 25, 35 }, { 45, 58 }, { 65, 33 }, { 95, 57 } };
    Polygon(dc, points, 5);
    Arc(dc, 60, 5, 95, 40, 95, 20, 60, 20);
    HFONT font = CreateFontA(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             "Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, RGB(0, 0, 160));
    TextOutA(dc, 45, 2, "Hb", 2);
    HRGN region = CreateEllipticRgn(70, 35, 98, 58);
    FillRgn(dc, region, hatch);
    BYTE bits[4 * 4 * 4];
    for (int i = 0; i < (int)sizeof(bits); ++i)
        bits[i] = (BYTE)(i * 37);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = 4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    StretchDIBits(dc, 80, 2, 16, 16, 0, 0, 4, 4, bits, &info, DIB_RGB_COLORS, SRCCOPY);
    if (enhanced) {
        LOGBRUSH solid = { BS_SOLID, RGB(0, 0, 0), 0 };
        HPEN wide = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_ROUND, 3, &solid, 0, NULL);
        SelectObject(dc, wide);
        SetGraphicsMode(dc, GM_ADVANCED);
        XFORM turn = { 0.8f, 0.6f, -0.6f, 0.8f, 20, 0 };
        SetWorldTransform(dc, &turn);
        BeginPath(dc);
        MoveToEx(dc, 10, 10, NULL);
        POINT curve[3] = { { 30, 0 }, { 40, 40 }, { 60, 20 } };
        PolyBezierTo(dc, curve, 3);
        EndPath(dc);
        StrokePath(dc);
        ModifyWorldTransform(dc, NULL, MWT_IDENTITY);
        SelectObject(dc, pen);
        DeleteObject(wide);
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(region);
    DeleteObject(font);
    DeleteObject(hatch);
    DeleteObject(pen);
}

}  // namespace

std::string PlaceableHeader(int right, int bottom, unsigned unitsPerInch)
{
    std::string head;
    PutU16(head, 0xCDD7);
    PutU16(head, 0x9AC6);
    for (int i = 0; i < 3; ++i)
        PutU16(head, 0);
    PutU16(head, (unsigned)right);
    PutU16(head, (unsigned)bottom);
    PutU16(head, unitsPerInch);
    PutU16(head, 0);
    PutU16(head, 0);
    unsigned checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= (BYTE)head[2 * i] | (BYTE)head[2 * i + 1] << 8;
    PutU16(head, checksum);
    return head;
}

std::string RichEnhancedMetafile()
{
    HDC dc = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    DrawRichPicture(dc, true);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::string bytes(GetEnhMetaFileBits(metafile, 0, NULL), '\0');
    GetEnhMetaFileBits(metafile, (UINT)bytes.size(), (BYTE*)&bytes[0]);
    DeleteEnhMetaFile(metafile);
    return bytes;
}

std::string RichPlaceableMetafile()
{
    HDC dc = CreateMetaFileA(NULL);
    SetWindowOrgEx(dc, 0, 0, NULL);
    SetWindowExtEx(dc, 100, 60, NULL);
    DrawRichPicture(dc, false);
    HMETAFILE metafile = CloseMetaFile(dc);
    std::string bytes(GetMetaFileBitsEx(metafile, 0, NULL), '\0');
    GetMetaFileBitsEx(metafile, (UINT)bytes.size(), &bytes[0]);
    DeleteMetaFile(metafile);
    return PlaceableHeader(100, 60, 96) + bytes;
}

}  // namespace codectest
