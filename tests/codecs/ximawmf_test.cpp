#include "tests/support/gtest.h"

#include <string.h>

#include <string>
#include <vector>

#include "codecs/ximawmf.h"
#include "codecs/ximawmf_shapes.h"
#include "codecs/xmemfile.h"
#include "tests/support/mutation_harness.h"
#include "tests/support/mutation_metafiles.h"
#include "tests/support/reference_images.h"

using codectest::DecodeBytes;
using codectest::EncodeBytes;
using codectest::PlaceableHeader;

namespace {

// A red square at the top left and a blue one at the bottom right of a
// 100 x 50 picture; nothing in between.
void DrawPicture(HDC dc)
{
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ old = SelectObject(dc, red);
    Rectangle(dc, 0, 0, 11, 11);
    SelectObject(dc, blue);
    Rectangle(dc, 90, 40, 101, 51);
    SelectObject(dc, old);
    SelectObject(dc, pen);
    DeleteObject(red);
    DeleteObject(blue);
}

std::string EnhancedMetafile()
{
    HDC dc = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    DrawPicture(dc);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    UINT size = GetEnhMetaFileBits(metafile, 0, NULL);
    std::string bytes(size, '\0');
    GetEnhMetaFileBits(metafile, size, (BYTE*)&bytes[0]);
    DeleteEnhMetaFile(metafile);
    return bytes;
}

std::string PlaceableMetafile()
{
    HDC dc = CreateMetaFileA(NULL);
    SetWindowOrgEx(dc, 0, 0, NULL);
    SetWindowExtEx(dc, 100, 50, NULL);
    DrawPicture(dc);
    HMETAFILE metafile = CloseMetaFile(dc);
    UINT size = GetMetaFileBitsEx(metafile, 0, NULL);
    std::string bytes(size, '\0');
    GetMetaFileBitsEx(metafile, size, &bytes[0]);
    DeleteMetaFile(metafile);
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(NULL, screen);
    return PlaceableHeader(100, 50, (unsigned)dpi) + bytes;
}

void ExpectPicture(const CxImage& image, const char* name)
{
    COLORREF window = GetSysColor(COLOR_WINDOW);
    DWORD width = image.GetWidth(), height = image.GetHeight();
    RGBQUAD middle = image.GetPixelColor(width / 2, height / 2);
    EXPECT_EQ(GetRValue(window), middle.rgbRed) << name;
    EXPECT_EQ(GetGValue(window), middle.rgbGreen) << name;
    EXPECT_EQ(GetBValue(window), middle.rgbBlue) << name;
    RGBQUAD topLeft = image.GetPixelColor(2, height - 3);
    EXPECT_EQ(255, topLeft.rgbRed) << name;
    EXPECT_EQ(0, topLeft.rgbBlue) << name;
    RGBQUAD bottomRight = image.GetPixelColor(width - 3, 2);
    EXPECT_EQ(0, bottomRight.rgbRed) << name;
    EXPECT_EQ(255, bottomRight.rgbBlue) << name;
}

}  // namespace

TEST(CxImageWMF, PlaceableMetafileAtItsSize)
{
    CxImage image;
    ASSERT_TRUE(DecodeBytes(PlaceableMetafile(), image, CXIMAGE_FORMAT_WMF))
        << image.GetLastError();
    EXPECT_EQ(100u, image.GetWidth());
    EXPECT_EQ(50u, image.GetHeight());
    EXPECT_EQ(24, image.GetBpp());
    ExpectPicture(image, "placeable");

    // Tried by every decoder, it is still found.
    CxImage any;
    ASSERT_TRUE(DecodeBytes(PlaceableMetafile(), any, CXIMAGE_FORMAT_UNKNOWN))
        << any.GetLastError();
    EXPECT_EQ(CXIMAGE_FORMAT_WMF, any.GetType());
}

TEST(CxImageWMF, EnhancedMetafileAtItsBounds)
{
    CxImage image;
    ASSERT_TRUE(DecodeBytes(EnhancedMetafile(), image, CXIMAGE_FORMAT_WMF))
        << image.GetLastError();
    EXPECT_GE(image.GetWidth(), 99u);
    EXPECT_LE(image.GetWidth(), 101u);
    EXPECT_GE(image.GetHeight(), 49u);
    EXPECT_LE(image.GetHeight(), 51u);
    ExpectPicture(image, "enhanced");

    CxImageWMF wanted;
    std::string bytes = EnhancedMetafile();
    CxMemFile stream((BYTE*)bytes.data(), (DWORD)bytes.size());
    ASSERT_TRUE(wanted.Decode(&stream, 200, 80)) << wanted.GetLastError();
    EXPECT_EQ(200u, wanted.GetWidth());
    EXPECT_EQ(80u, wanted.GetHeight());
}

TEST(CxImageWMF, HeaderChecksAndLimits)
{
    std::string good = PlaceableHeader(100, 50, 2540);
    EXPECT_TRUE(CxImageWMF::CheckPlaceableHeader((const BYTE*)good.data()));
    std::string upi = PlaceableHeader(100, 50, 2541);
    EXPECT_FALSE(CxImageWMF::CheckPlaceableHeader((const BYTE*)upi.data()));
    std::string sum = good;
    sum[20] ^= 1;
    EXPECT_FALSE(CxImageWMF::CheckPlaceableHeader((const BYTE*)sum.data()));

    // A wrong checksum is then tried as an enhanced metafile.
    std::string file = PlaceableMetafile();
    file[20] ^= 1;
    CxImage image;
    EXPECT_FALSE(DecodeBytes(file, image, CXIMAGE_FORMAT_WMF));
    EXPECT_STREQ("corrupted WMF", image.GetLastError());

    // An empty bounding box.
    std::string empty = PlaceableMetafile();
    empty.replace(0, 22, PlaceableHeader(0, 50, 96));
    EXPECT_FALSE(DecodeBytes(empty, image, CXIMAGE_FORMAT_WMF));
    EXPECT_STREQ("empty WMF", image.GetLastError());

    int64_t width = 8000, height = 1000;
    CxImageWMF::LimitMetafileSize(width, height);
    EXPECT_EQ(4000, width);
    EXPECT_EQ(500, height);
    width = 1000;
    height = 8000;
    CxImageWMF::LimitMetafileSize(width, height);
    EXPECT_EQ(500, width);
    EXPECT_EQ(4000, height);
    // Products beyond 32 bits.
    width = 3000000;
    height = 2000000;
    CxImageWMF::LimitMetafileSize(width, height);
    EXPECT_EQ(4000, width);
    EXPECT_EQ(2666, height);

    CxImage picture(4, 4, 24);
    EXPECT_TRUE(EncodeBytes(picture, CXIMAGE_FORMAT_WMF).empty());
    EXPECT_STREQ("Save WMF not supported", picture.GetLastError());
}

TEST(CxImageWMF, ShapeRecordsTooShortForTheirPointsAreNotPlayed)
{
    // A rectangle record retyped as a bit-block transfer: GDI would read
    // the transfer's size from beyond the record.
    std::string bytes = codectest::RectangleMetafile();
    size_t at = *(const DWORD*)(bytes.data() + 4);  // the record after the header
    while (at + 8 <= bytes.size() && *(const DWORD*)(bytes.data() + at) != EMR_RECTANGLE)
        at += *(const DWORD*)(bytes.data() + at + 4);
    ASSERT_LT(at + 8, bytes.size());
    bytes[at] = (char)EMR_BITBLT;
    CxImage image;
    DWORD start = GetTickCount();
    EXPECT_TRUE(DecodeBytes(bytes, image, CXIMAGE_FORMAT_WMF)) << image.GetLastError();
    EXPECT_LT(GetTickCount() - start, 2000u);
}

namespace {

std::string RecordedMetafile(void (*draw)(HDC))
{
    HDC dc = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    draw(dc);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::string bytes(GetEnhMetaFileBits(metafile, 0, NULL), '\0');
    GetEnhMetaFileBits(metafile, (UINT)bytes.size(), (BYTE*)&bytes[0]);
    DeleteEnhMetaFile(metafile);
    return bytes;
}

// A 2000 x 2000 frame, and a line across its middle with a pen 3000 wide.
void DrawWidePen(HDC dc)
{
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, 2000, 2000);
    HPEN pen = CreatePen(PS_SOLID, 3000, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 0, 1000, NULL);
    LineTo(dc, 2000, 1000);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// Text 3000 pixels tall at the top left of a 2000 x 2000 frame.
void DrawTallText(HDC dc)
{
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, 2000, 2000);
    HFONT font = CreateFontA(-3000, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             "Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    TextOutA(dc, 0, 0, "W", 1);
    SelectObject(dc, old);
    DeleteObject(font);
}

void DrawWithAPen(HDC dc)
{
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 200));
    HGDIOBJ old = SelectObject(dc, pen);
    Rectangle(dc, 0, 0, 30, 20);
    SelectObject(dc, old);
    DeleteObject(pen);
}

size_t FindRecord(const std::string& bytes, DWORD type)
{
    size_t at = 0;
    while (at + 8 <= bytes.size() && *(const DWORD*)(bytes.data() + at) != type)
        at += *(const DWORD*)(bytes.data() + at + 4);
    return at;
}

// On a 40 x 30 white frame, a region of one red square at (2, 2)-(6, 6),
// then a comment whose data read as two more rectangles: an empty one over
// the comment's own fields, then (20, 10)-(36, 26).
void DrawRegionBeforeAComment(HDC dc)
{
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 0, 0, 40, 30);
    HRGN region = CreateRectRgn(2, 2, 6, 6);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRgn(dc, region, red);
    const DWORD rectangles[5] = { 0, 20, 10, 36, 26 };
    GdiComment(dc, sizeof(rectangles), (const BYTE*)rectangles);
    DeleteObject(red);
    DeleteObject(region);
}

bool IsWindowColour(const CxImage& image, DWORD x, DWORD y)
{
    COLORREF window = GetSysColor(COLOR_WINDOW);
    RGBQUAD pixel = image.GetPixelColor(x, y);
    return pixel.rgbRed == GetRValue(window) && pixel.rgbGreen == GetGValue(window) &&
           pixel.rgbBlue == GetBValue(window);
}

}  // namespace

TEST(CxImageWMF, PensAndFontsAreDrawnAtMostAFewHundredPixelsLarge)
{
    // Both would cost GDI seconds at their own size.
    CxImage wide;
    ASSERT_TRUE(DecodeBytes(RecordedMetafile(DrawWidePen), wide, CXIMAGE_FORMAT_WMF))
        << wide.GetLastError();
    DWORD middle = wide.GetHeight() / 2;
    EXPECT_FALSE(IsWindowColour(wide, wide.GetWidth() / 2, middle));
    EXPECT_TRUE(IsWindowColour(wide, wide.GetWidth() / 2, middle + 200));
    EXPECT_TRUE(IsWindowColour(wide, wide.GetWidth() / 2, middle - 200));

    CxImage tall;
    ASSERT_TRUE(DecodeBytes(RecordedMetafile(DrawTallText), tall, CXIMAGE_FORMAT_WMF))
        << tall.GetLastError();
    int inked = 0, inkedFarOut = 0;
    for (DWORD y = 0; y < tall.GetHeight(); y += 8) {
        for (DWORD x = 8; x + 8 < tall.GetWidth(); x += 8) {
            bool ink = !IsWindowColour(tall, x, y);
            inked += ink;
            inkedFarOut += ink && (x > 1000 || tall.GetHeight() - y > 1000);
        }
    }
    EXPECT_GT(inked, 0);
    EXPECT_EQ(0, inkedFarOut);
}

TEST(CxImageWMF, ObjectsOfTheMetafileAreDeletedAndItsSlotsNotReused)
{
    // The pen record twice: the second would take the first one's slot.
    std::string bytes = RecordedMetafile(DrawWithAPen);
    size_t at = FindRecord(bytes, EMR_CREATEPEN);
    ASSERT_LT(at, bytes.size());
    std::string record = bytes.substr(at, *(const DWORD*)(bytes.data() + at + 4));
    bytes.insert(at, record);
    *(DWORD*)&bytes[48] += (DWORD)record.size();  // nBytes
    *(DWORD*)&bytes[52] += 1;                      // nRecords
    // A Windows metafile whose table has one slot for its two brushes.
    std::string placeable = PlaceableMetafile();
    placeable[22 + 10] = 1;
    placeable[22 + 11] = 0;
    long before = codectest::GdiObjectsFree();
    for (int i = 0; i < 40; ++i) {
        CxImage image;
        ASSERT_TRUE(DecodeBytes(bytes, image, CXIMAGE_FORMAT_WMF)) << image.GetLastError();
        CxImage windows;
        ASSERT_TRUE(DecodeBytes(placeable, windows, CXIMAGE_FORMAT_WMF))
            << windows.GetLastError();
    }
    EXPECT_EQ(before, codectest::GdiObjectsFree());
}

TEST(CxImageWMF, RegionsThatCountMoreRectanglesThanTheyHoldAreNotPlayed)
{
    std::string bytes = RecordedMetafile(DrawRegionBeforeAComment);
    size_t at = FindRecord(bytes, EMR_FILLRGN);
    ASSERT_LT(at + 48, bytes.size());
    ASSERT_EQ(1u, *(const DWORD*)(bytes.data() + at + 40));  // the region's count
    ASSERT_EQ((DWORD)EMR_GDICOMMENT, *(const DWORD*)(bytes.data() + at + 32 + 48));
    auto isRed = [](const CxImage& image, DWORD x, DWORD y) {
        RGBQUAD pixel = image.GetPixelColor(x, image.GetHeight() - 1 - y);
        return pixel.rgbRed > 200 && pixel.rgbGreen < 60 && pixel.rgbBlue < 60;
    };
    CxImage whole;
    ASSERT_TRUE(DecodeBytes(bytes, whole, CXIMAGE_FORMAT_WMF)) << whole.GetLastError();
    EXPECT_TRUE(isRed(whole, 4, 4));
    EXPECT_FALSE(isRed(whole, 28, 18));
    // Three rectangles counted in the bytes of one: GDI would read the
    // other two from the comment after the record.
    *(DWORD*)&bytes[at + 40] = 3;
    CxImage damaged;
    ASSERT_TRUE(DecodeBytes(bytes, damaged, CXIMAGE_FORMAT_WMF)) << damaged.GetLastError();
    EXPECT_FALSE(isRed(damaged, 28, 18));
    EXPECT_FALSE(isRed(damaged, 4, 4));
}

namespace {

// A 4 x 4 red bitmap, stretched to (10, 10)-(26, 26) on a 40 x 30 white
// frame: by its bits, then from a memory DC.
void DrawRedSquare(HDC dc, bool fromADc)
{
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 0, 0, 40, 30);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = 4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    DWORD red[16];
    for (DWORD& pixel : red)
        pixel = 0xFF0000;
    if (!fromADc) {
        StretchDIBits(dc, 10, 10, 16, 16, 0, 0, 4, 4, red, &info, DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    memcpy(bits, red, sizeof(red));
    HDC source = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(source, bitmap);
    StretchBlt(dc, 10, 10, 16, 16, source, 0, 0, 4, 4, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
}

void DrawRedSquareByItsBits(HDC dc) { DrawRedSquare(dc, false); }
void DrawRedSquareFromADc(HDC dc) { DrawRedSquare(dc, true); }

int RedPixels(const std::string& bytes)
{
    CxImage image;
    EXPECT_TRUE(DecodeBytes(bytes, image, CXIMAGE_FORMAT_WMF)) << image.GetLastError();
    int red = 0;
    for (DWORD y = 0; y < image.GetHeight(); ++y) {
        for (DWORD x = 0; x < image.GetWidth(); ++x) {
            RGBQUAD pixel = image.GetPixelColor(x, y);
            red += pixel.rgbRed > 200 && pixel.rgbGreen < 60 && pixel.rgbBlue < 60;
        }
    }
    return red;
}

}  // namespace

TEST(CxImageWMF, TransfersWhoseSourceReachesOutsideTheBitmapAreNotPlayed)
{
    // The source's width at 0x64000004 pixels: GDI's stretching overflows
    // with a source wider than 2^30 pixels and writes the stretched rows
    // past its own buffer.
    struct Transfer {
        void (*draw)(HDC);
        DWORD type;
        size_t widthAt;  // of the source's width
    };
    const Transfer transfers[] = { { DrawRedSquareByItsBits, EMR_STRETCHDIBITS, 40 },
                                   { DrawRedSquareFromADc, EMR_STRETCHBLT, 100 } };
    HDC dc = CreateCompatibleDC(NULL);
    for (const Transfer& transfer : transfers) {
        std::string bytes = RecordedMetafile(transfer.draw);
        size_t at = FindRecord(bytes, transfer.type);
        ASSERT_LT(at + transfer.widthAt + 4, bytes.size()) << transfer.type;
        ASSERT_EQ(4, *(const LONG*)(bytes.data() + at + transfer.widthAt)) << transfer.type;
        const ENHMETARECORD* record = (const ENHMETARECORD*)(bytes.data() + at);
        EXPECT_TRUE(CxEmfRecordIsPlayable(dc, record, 40, 30)) << transfer.type;
        EXPECT_GE(RedPixels(bytes), 15 * 15) << transfer.type;

        *(DWORD*)&bytes[at + transfer.widthAt] = 0x64000004;
        EXPECT_FALSE(CxEmfRecordIsPlayable(dc, record, 40, 30)) << transfer.type;
        EXPECT_EQ(0, RedPixels(bytes)) << transfer.type;
        // Reaching a few pixels outside is refused as well.
        *(DWORD*)&bytes[at + transfer.widthAt] = 6;
        EXPECT_FALSE(CxEmfRecordIsPlayable(dc, record, 40, 30)) << transfer.type;
    }
    DeleteDC(dc);
}
