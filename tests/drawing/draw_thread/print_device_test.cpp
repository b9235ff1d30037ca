#include "tests/support/gtest.h"

#include <algorithm>
#include <vector>

#include "drawing/draw_thread/print_device.h"
#include "graphics/drawing_image_decoder.h"
#include "graphics/gdi_device.h"
#include "graphics/kimage.h"
#include "platform/zrui/print_pen_set.h"
#include "platform/zrui/zrui.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
// Set up by tools/wine-session.sh (harbeck_add_test_printer).
const char kTestPrinter[] = "Harbeck PostScript";

// A white memory device in the printer's own mapping (MM_TEXT).
class Page {
public:
    Page(int width, int height)
    {
        surface.Create(width, height, 3);
        surface.BlendRect(0, 0, width, height, kWhite, 100, false, 0);
    }
    HDC dc() const { return surface.m_hDC; }
    COLORREF At(int x, int y) const { return GetPixel(surface.m_hDC, x, y); }
    int CountNot(COLORREF colour) const
    {
        int count = 0;
        for (int y = 0; y < surface.m_nHeight; ++y)
            for (int x = 0; x < surface.m_nWidth; ++x)
                count += At(x, y) != colour ? 1 : 0;
        return count;
    }

    CGDIDevice surface;
};

// Opens m_fillOff to the tests (the drawing library sets it).
class FillOffDevice : public CPrintDevice {
public:
    FillOffDevice(HDC dc) : CPrintDevice(dc, 0, 0, 0, 0) { m_fillOff = 1; }
};

DwgExportPoint At(double x, double y)
{
    DwgExportPoint point = {x, y, 0, 0, 0};
    return point;
}

LOGPEN CurrentPen(HDC dc)
{
    LOGPEN pen = {};
    GetObjectA(GetCurrentObject(dc, OBJ_PEN), sizeof(pen), &pen);
    return pen;
}

// A width x height 24-bit bitmap whose left column is red and the rest blue.
HBITMAP MarkedBitmap(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        BYTE* row = (BYTE*)bits + y * stride;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = x == 0 ? 0 : 255;
            row[3 * x + 1] = 0;
            row[3 * x + 2] = x == 0 ? 255 : 0;
        }
    }
    return bitmap;
}

// A top-down 32-bit section of premultiplied pixels, the top row first.
HBITMAP PixelBlock(int width, int height, const std::vector<uint32_t>& pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    return bitmap;
}

// The page mapping of the print routine: y upwards from the page's bottom
// edge, which lies at the page's height (its width when turned).
void MapAsThePrintRoutine(HDC dc, CPrintDevice& device, int originY)
{
    int formerMode = SetMapMode(dc, MM_ANISOTROPIC);
    SIZE formerExtent;
    SetWindowExtEx(dc, 1, -1, &formerExtent);
    POINT formerOrigin;
    SetWindowOrgEx(dc, 0, originY, &formerOrigin);
    device.SetDeviceState(formerMode, formerExtent.cx, formerExtent.cy, formerOrigin.x, formerOrigin.y, 0);
}

}  // namespace

TEST(PrintDevice, MapsPointsForTheFourRotations)
{
    // Page 100 x 60, offsets (5, 7), y shift 3; a line from (0, 0) to (10, 0)
    // and a red point at (10, 20).
    struct Case {
        int rotation;
        int x, y, dx, dy;  // first device pixel and the step along the line
        int pointX, pointY;
    } cases[] = {{0, 5, 10, 1, 0, 15, 30},
                 {1, 65, 10, 0, 1, 45, 20},
                 {2, 105, 70, -1, 0, 95, 50},
                 {3, 5, 110, 0, -1, 25, 100}};
    for (const Case& c : cases) {
        Page page(160, 140);
        CPrintDevice device(page.dc(), 0, 5.0, 7.0, c.rotation);
        device.SetDeviceState(MM_TEXT, 1, 1, 0, 0, 3);
        device.BeginDraw(0, 0, 0, 100.0, 60.0);
        device.MoveTo(0, 0, 0);
        device.LineTo(10, 0, 0);
        device.SetPenColor(RGB(255, 0, 0), -1);
        device.Pixel(10, 20, 0);
        device.EndDraw();
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(kBlack, page.At(c.x + i * c.dx, c.y + i * c.dy))
                << "rotation " << c.rotation << " step " << i;
        EXPECT_EQ(RGB(255, 0, 0), page.At(c.pointX, c.pointY)) << "rotation " << c.rotation;
        EXPECT_EQ(11, page.CountNot(kWhite)) << "rotation " << c.rotation;
    }
}

// An arc printed on a turned page is the unturned arc turned with the page:
// every inked pixel of one lies within two pixels (the rounding of the
// turned bounding box and end points) of an inked pixel of the other.
TEST(PrintDevice, ArcsTurnWithThePage)
{
    const int width = 100, height = 60;
    auto printArc = [&](int rotation, Page& page) {
        CPrintDevice device(page.dc(), 0, 0, 0, rotation);
        device.SetDeviceState(MM_TEXT, 1, 1, 0, 0, 0);
        device.BeginDraw(0, 0, 0, width, height);
        // A quarter circle about (30, 20) from 0 to 90 degrees.
        device.Arc(30, 20, 0, 15, 0.0, 1.5707963267948966);
        device.EndDraw();
    };
    // Where a pixel of the unturned page lies on the turned one.
    auto turn = [&](int rotation, int x, int y) {
        POINT p = {x, y};
        if (rotation == 1)
            p = {height - 1 - y, x};
        else if (rotation == 2)
            p = {width - 1 - x, height - 1 - y};
        else if (rotation == 3)
            p = {y, width - 1 - x};
        return p;
    };
    auto inkNear = [](const Page& page, POINT p) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (page.At(p.x + dx, p.y + dy) == kBlack)
                    return true;
        return false;
    };
    Page flat(120, 120);
    printArc(0, flat);
    int inked = flat.CountNot(kWhite);
    ASSERT_GT(inked, 15);
    for (int rotation = 1; rotation <= 3; ++rotation) {
        Page turned(120, 120);
        printArc(rotation, turned);
        EXPECT_NEAR(inked, turned.CountNot(kWhite), inked / 10) << "rotation " << rotation;
        int misplaced = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 120; ++x)
                if (flat.At(x, y) == kBlack && !inkNear(turned, turn(rotation, x, y)))
                    ++misplaced;
        EXPECT_EQ(0, misplaced) << "rotation " << rotation;
    }
}

TEST(PrintDevice, PenColoursFollowTheColourMode)
{
    struct Case {
        short mode;
        COLORREF asked, printed;
    } cases[] = {{0, kWhite, kBlack},
                 {0, RGB(255, 0, 0), RGB(255, 0, 0)},
                 {1, RGB(255, 0, 0), RGB(76, 76, 76)},
                 {2, RGB(0, 0, 255), kBlack}};
    for (const Case& c : cases) {
        Page page(20, 20);
        CPrintDevice device(page.dc(), c.mode, 0, 0, 0);
        device.BeginDraw(0, 0, 0, 20, 20);
        device.SetPenColor(c.asked, -1);
        device.MoveTo(2, 5, 0);
        device.LineTo(12, 5, 0);
        device.EndDraw();
        EXPECT_EQ(c.printed, page.At(4, 5)) << "mode " << c.mode;
    }
}

TEST(PrintDevice, PenWidthsComeFromThePenSetWhenItUsesThem)
{
    Page page(20, 20);
    CPrintDevice device(page.dc(), 0, 0, 0, 0);
    device.BeginDraw(0, 0, 0, 20, 20);
    device.SetPenWidth(1.0);
    HGDIOBJ pen = GetCurrentObject(page.dc(), OBJ_PEN);
    EXPECT_EQ(1, CurrentPen(page.dc()).lopnWidth.x);
    device.SetPenWidth(1.000000001);
    EXPECT_EQ(pen, GetCurrentObject(page.dc(), OBJ_PEN));

    g_printPenSet.setUsePenWidth(true);
    g_printPenSet.SetMinWidth(2.7);
    g_printPenSet.setPen(5, 3, 1.0);
    device.SetPenColor(RGB(9, 9, 9), 5);
    LOGPEN chosen = CurrentPen(page.dc());
    EXPECT_EQ(2, chosen.lopnWidth.x);
    EXPECT_EQ(ZrUI::GetColorIndex(3, NULL), chosen.lopnColor);
    // Widths are the pen set's alone now.
    device.SetPenWidth(7.0);
    EXPECT_EQ(2, CurrentPen(page.dc()).lopnWidth.x);
    device.SetPenColor(RGB(9, 9, 9), -1);
    EXPECT_EQ(RGB(9, 9, 9), CurrentPen(page.dc()).lopnColor);
    EXPECT_EQ(2, CurrentPen(page.dc()).lopnWidth.x);
    device.EndDraw();
    g_printPenSet.setUsePenWidth(false);
    g_printPenSet.SetMinWidth(0.0);
    g_printPenSet.setPen(5, 5, 0.0);
}

TEST(PrintDevice, PolygonsDrawTheirRangeOfPointsUnlessFillingIsOff)
{
    std::vector<DwgExportPoint> points(10, At(90, 90));
    points[5] = At(20, 20);
    points[6] = At(40, 20);
    points[7] = At(40, 40);
    points[8] = At(20, 40);
    Page page(100, 100);
    CPrintDevice device(page.dc(), 0, 0, 0, 0);
    device.BeginDraw(0, 0, 0, 100, 100);
    device.Polygon(5, 8, points.data());
    device.EndDraw();
    EXPECT_EQ(kBlack, page.At(30, 30));
    EXPECT_EQ(kWhite, page.At(60, 60));
    EXPECT_EQ(kWhite, page.At(90, 90));

    // Two squares at once.
    std::vector<DwgExportPoint> squares = {At(0, 0),   At(10, 0),  At(10, 10), At(0, 10),
                                           At(50, 50), At(60, 50), At(60, 60), At(50, 60)};
    int counts[2] = {4, 4};
    Page both(100, 100);
    CPrintDevice second(both.dc(), 0, 0, 0, 0);
    second.BeginDraw(0, 0, 0, 100, 100);
    second.PolyPolygon(squares.data(), counts, 2);
    second.EndDraw();
    EXPECT_EQ(kBlack, both.At(5, 5));
    EXPECT_EQ(kBlack, both.At(55, 55));

    Page none(100, 100);
    FillOffDevice off(none.dc());
    off.BeginDraw(0, 0, 0, 100, 100);
    off.Polygon(5, 8, points.data());
    off.PolyPolygon(squares.data(), counts, 2);
    off.EndDraw();
    EXPECT_EQ(0, none.CountNot(kWhite));
}

TEST(PrintDevice, ClipsToAPolygonUntilTheClipIsReset)
{
    Page page(100, 100);
    CPrintDevice device(page.dc(), 0, 0, 0, 0);
    device.BeginDraw(0, 0, 0, 100, 100);
    DwgExportPoint square[4] = {At(10, 10), At(50, 10), At(50, 50), At(10, 50)};
    device.SetClip(4, square);
    device.SetPenColor(RGB(255, 0, 0), -1);
    device.MoveTo(0, 30, 0);
    device.LineTo(100, 30, 0);
    device.ResetClip();
    // The pen chosen inside the clip stays.
    device.MoveTo(0, 70, 0);
    device.LineTo(100, 70, 0);
    device.EndDraw();
    EXPECT_EQ(kWhite, page.At(5, 30));
    EXPECT_EQ(RGB(255, 0, 0), page.At(30, 30));
    EXPECT_EQ(kWhite, page.At(70, 30));
    EXPECT_EQ(RGB(255, 0, 0), page.At(5, 70));
    EXPECT_EQ(RGB(255, 0, 0), page.At(70, 70));
}

TEST(PrintDevice, RastersGoDownInPrinterPixelsAndThePageMappingComesBack)
{
    // As the print routine sets it: y upwards from the page's bottom edge.
    const double width = 100, height = 60;
    Page page(140, 120);
    int formerMode = SetMapMode(page.dc(), MM_ANISOTROPIC);
    SIZE formerExtent;
    SetWindowExtEx(page.dc(), 1, -1, &formerExtent);
    POINT formerOrigin;
    SetWindowOrgEx(page.dc(), 0, (int)height, &formerOrigin);
    CPrintDevice device(page.dc(), 0, 0, 0, 0);
    device.SetDeviceState(formerMode, formerExtent.cx, formerExtent.cy, formerOrigin.x, formerOrigin.y, 0);
    device.BeginDraw(0, 0, 0, width, height);
    HBITMAP image = MarkedBitmap(4, 3);
    device.DrawRaster(10, 20, 4, 3, 1.0, 1.0, image, 0);
    DeleteObject(image);

    EXPECT_EQ(MM_ANISOTROPIC, GetMapMode(page.dc()));
    SIZE extent;
    GetWindowExtEx(page.dc(), &extent);
    EXPECT_EQ(1, extent.cx);
    EXPECT_EQ(-1, extent.cy);
    POINT origin;
    GetWindowOrgEx(page.dc(), &origin);
    EXPECT_EQ(60, origin.y);
    device.MoveTo(0, 5, 0);
    device.LineTo(10, 5, 0);
    device.EndDraw();
    SetMapMode(page.dc(), MM_TEXT);
    SetWindowOrgEx(page.dc(), 0, 0, NULL);

    // Left 10, top 60 - 20 - 3: the image in three rows, its left column red.
    for (int y = 37; y < 40; ++y) {
        EXPECT_EQ(RGB(255, 0, 0), page.At(10, y));
        EXPECT_EQ(RGB(0, 0, 255), page.At(13, y));
    }
    EXPECT_EQ(kWhite, page.At(10, 36));
    EXPECT_EQ(kWhite, page.At(14, 38));
    // The line after it: page y 5 is device row 55.
    EXPECT_EQ(kBlack, page.At(3, 55));
}

TEST(PrintDevice, ARasterOnATurnedPageIsTurnedWithIt)
{
    // The 4 x 3 image at (10, 20) of a 100 x 60 page; its left column red.
    struct Case {
        int rotation;
        RECT image;  // where it lands, turned
        RECT red;    // where its left column lands
    } cases[] = {
        // (10, 20) turns to (40, 10): 3 wide, 4 high, the red column at the bottom.
        {1, {37, 86, 40, 90}, {37, 89, 40, 90}},
        // Upside down: (10, 20) turns to (90, 40), the red column on the right.
        {2, {86, 20, 90, 23}, {89, 20, 90, 23}},
        // (10, 20) turns to (20, 90): 3 wide, 4 high, the red column on top.
        {3, {20, 10, 23, 14}, {20, 10, 23, 11}},
    };
    for (const Case& c : cases) {
        Page page(140, 140);
        CPrintDevice device(page.dc(), 0, 0, 0, c.rotation);
        device.SetDeviceState(MM_TEXT, 1, 1, 0, 0, 0);
        device.BeginDraw(0, 0, 0, 100, 60);
        HBITMAP image = MarkedBitmap(4, 3);
        device.DrawRaster(10, 20, 4, 3, 1.0, 1.0, image, 0);
        DeleteObject(image);
        device.EndDraw();
        SetMapMode(page.dc(), MM_TEXT);
        SetWindowOrgEx(page.dc(), 0, 0, NULL);
        for (int y = c.image.top; y < c.image.bottom; ++y)
            for (int x = c.image.left; x < c.image.right; ++x) {
                POINT p = {x, y};
                COLORREF expected = PtInRect(&c.red, p) ? RGB(255, 0, 0) : RGB(0, 0, 255);
                EXPECT_EQ(expected, page.At(x, y)) << "rotation " << c.rotation << " at " << x << ", " << y;
            }
        EXPECT_EQ(12, page.CountNot(kWhite)) << "rotation " << c.rotation;
    }
}

// Image pixels go down where the device's own points at their centres do,
// on every turn of the page and in the print routine's mapping: each
// opaque one in its colour, a half covering one blended with the paper, a
// clear one leaving the line under it, and all within the drawing's clip.
TEST(PrintDevice, ImagePixelsLieWhereThePointsAtTheirCentresDo)
{
    // 4 x 3 from page (9.5, 19.5), their centres at x 10 to 13, y 22 down
    // to 20: a red left column, the second pixel of the top row clear, a
    // half covering blue one in the middle row.
    const int columns = 4, rows = 3;
    std::vector<uint32_t> pixels(columns * rows, 0xFF00A000);
    for (int row = 0; row < rows; ++row)
        pixels[row * columns] = 0xFFFF0000;
    pixels[1] = 0;
    pixels[columns + 1] = 0x80000080;
    auto onPaper = [](uint32_t p) {
        int uncovered = 255 - (int)(p >> 24);
        return RGB(((p >> 16) & 255) + uncovered, ((p >> 8) & 255) + uncovered, (p & 255) + uncovered);
    };
    // The clip cuts the block between its third and fourth columns.
    DwgExportPoint clip[4] = {At(0, 0), At(12.5, 0), At(12.5, 60), At(0, 60)};
    for (int rotation = 0; rotation < 4; ++rotation) {
        Page printed(160, 160), expected(160, 160);
        for (Page* page : {&printed, &expected}) {
            CPrintDevice device(page->dc(), 0, 5.0, 7.0, rotation);
            MapAsThePrintRoutine(page->dc(), device, rotation % 2 ? 100 : 60);
            device.BeginDraw(0, 0, 0, 100.0, 60.0);
            // Under the image's top row, and beyond it.
            device.MoveTo(0, 22, 0);
            device.LineTo(30, 22, 0);
            device.SetClip(4, clip);
            if (page == &printed) {
                HBITMAP block = PixelBlock(columns, rows, pixels);
                EXPECT_TRUE(device.Raster(9.5, 19.5, columns, rows, block)) << "rotation " << rotation;
                DeleteObject(block);
            }
            for (int row = 0; row < rows && page == &expected; ++row)
                for (int column = 0; column < columns; ++column) {
                    uint32_t p = pixels[row * columns + column];
                    if (p == 0)
                        continue;
                    device.SetPenColor(onPaper(p), -1);
                    device.Pixel(10 + column, 22 - row, 0);
                }
            device.ResetClip();
            device.EndDraw();
            SetMapMode(page->dc(), MM_TEXT);
            SetWindowOrgEx(page->dc(), 0, 0, NULL);
        }
        int differing = 0;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 160; ++x)
                differing += printed.At(x, y) != expected.At(x, y) ? 1 : 0;
        EXPECT_EQ(0, differing) << "rotation " << rotation;
        EXPECT_EQ(3, 160 * 160 - printed.CountNot(RGB(255, 0, 0))) << "rotation " << rotation;
        EXPECT_GT(printed.CountNot(kWhite), 20) << "rotation " << rotation;
    }
}

// A drawing's (0, 0)-(200, 100), of its model space or of a layout, printed
// through the device in a colour mode into the prefix's PostScript printer,
// fitted to a 2400 x 1200 area moved by (300, -300), and the file rendered
// by Ghostscript at 100 dpi.
class CPrintedPage {
public:
    ~CPrintedPage() { delete m_image; }

    void Print(const char* drawingName, short colourMode = 0, int layout = 0)
    {
        ASSERT_TRUE(codectest::UnixProgramExists("/usr/bin/gs")) << "Ghostscript is missing";
        HDC dc = CreateDCA("WINSPOOL", kTestPrinter, NULL, NULL);
        ASSERT_NE(nullptr, dc) << "the test prefix has no printer \"" << kTestPrinter << "\"";
        m_dpi = GetDeviceCaps(dc, LOGPIXELSX);
        m_marginX = GetDeviceCaps(dc, PHYSICALOFFSETX);
        m_marginY = GetDeviceCaps(dc, PHYSICALOFFSETY);
        std::string folder = testfiles::MakeScratchFolder("print");
        std::string postscript = folder + "\\page.ps";
        std::string png = folder + "\\page.png";
        DOCINFOA document = {sizeof(document), "Harbeck - page", postscript.c_str(), NULL, 0};
        ASSERT_GT(StartDocA(dc, &document), 0);
        ASSERT_GT(StartPage(dc), 0);
        int formerMode = SetMapMode(dc, MM_ANISOTROPIC);
        SIZE formerExtent;
        SetWindowExtEx(dc, 1, -1, &formerExtent);
        POINT formerOrigin;
        SetWindowOrgEx(dc, 0, (int)kHeight, &formerOrigin);
        CPrintDevice device(dc, colourMode, kXOffset, kYOffset, 0);
        device.SetDeviceState(formerMode, formerExtent.cx, formerExtent.cy, formerOrigin.x, formerOrigin.y,
                              0);
        CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL);
        std::string path = testfiles::ToWinePath(std::string(DRAWING_FIXTURES) + "/" + drawingName);
        ASSERT_EQ(0, drawing->open(path.c_str(), ""));
        drawing->setLayout(layout);
        double corner1[3] = {0, 0, 0}, corner2[3] = {200, 100, 0};
        drawing->setPrintView(corner1, corner2, kWidth, kHeight);
        drawing->attachExport(&device);
        device.BeginDraw(0, 0, 0, kWidth, kHeight);
        drawing->update();
        drawing->attachExport(NULL);
        device.EndDraw();
        CDrawing::DeleteDrawing(drawing);
        EXPECT_GT(EndPage(dc), 0);
        EXPECT_GT(EndDoc(dc), 0);
        DeleteDC(dc);
        std::string command = "/usr/bin/gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r" +
                              std::to_string(kResolution) + " -sOutputFile=" + codectest::UnixPath(png) +
                              " " + codectest::UnixPath(postscript);
        ASSERT_EQ(0, codectest::RunUnixProgram(command));
        m_image = KImage::LoadThumbnail(png.c_str(), -1);
        ASSERT_NE(nullptr, m_image);
    }

    // The rendered pixel at the page point the drawing point (x, y) maps to,
    // moved by (dx, dy) pixels.
    RGBQUAD At(double x, double y, int dx = 0, int dy = 0) const
    {
        double scale = std::min((kWidth - 2) / 200, (kHeight - 2) / 100);
        double pageX = kWidth / 2 + (x - 100) * scale + kXOffset;
        double pageY = kHeight / 2 + (y - 50) * scale + kYOffset;
        int column = (int)((pageX + m_marginX) * kResolution / m_dpi);
        int row = (int)((kHeight - pageY + m_marginY) * kResolution / m_dpi);
        return m_image->GetPixelColor(column + dx, (int)m_image->GetHeight() - 1 - (row + dy));
    }
    bool WhiteAt(double x, double y) const
    {
        RGBQUAD pixel = At(x, y);
        return pixel.rgbRed > 245 && pixel.rgbGreen > 245 && pixel.rgbBlue > 245;
    }
    bool DarkNear(double x, double y) const
    {
        bool dark = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                RGBQUAD pixel = At(x, y, dx, dy);
                dark = dark || (pixel.rgbRed < 128 && pixel.rgbGreen < 128 && pixel.rgbBlue < 128);
            }
        return dark;
    }
    int CountDark() const
    {
        int dark = 0;
        for (int y = 0; y < (int)m_image->GetHeight(); ++y)
            for (int x = 0; x < (int)m_image->GetWidth(); ++x)
                dark += m_image->GetPixelColor(x, y).rgbRed < 128 ? 1 : 0;
        return dark;
    }

private:
    static constexpr double kWidth = 2400, kHeight = 1200, kXOffset = 300, kYOffset = -300;
    static const int kResolution = 100;
    int m_dpi = 600;
    int m_marginX = 0;
    int m_marginY = 0;
    CxImage* m_image = nullptr;
};

// The frame and its diagonal lie where the page mapping puts them.
TEST(PrintDevice, PrintsADrawingOnAPostScriptPrinter)
{
    CPrintedPage page;
    ASSERT_NO_FATAL_FAILURE(page.Print("frame.dxf"));
    EXPECT_TRUE(page.DarkNear(100, 50));  // the diagonal's middle
    EXPECT_TRUE(page.DarkNear(150, 75));
    EXPECT_TRUE(page.DarkNear(100, 0));  // the four sides
    EXPECT_TRUE(page.DarkNear(100, 100));
    EXPECT_TRUE(page.DarkNear(0, 50));
    EXPECT_TRUE(page.DarkNear(200, 50));
    EXPECT_FALSE(page.DarkNear(50, 75));  // inside, off the lines
    EXPECT_FALSE(page.DarkNear(150, 25));
    // The frame's outline and its diagonal, about 1650 pixels at 100 dpi.
    EXPECT_GT(page.CountDark(), 1400);
    EXPECT_LT(page.CountDark(), 2200);
}

// An image's four quarters print in their colours, faded by a quarter
// towards the paper (whatever the screen's background), where the drawing
// puts them; its clear quarter shows the paper and the line drawn under
// it, which its red quarter covers.
TEST(PrintDevice, PrintsImagesWithTheirTransparencyOnAPostScriptPrinter)
{
    DWG_SetBackgroundColor(RGB(0, 0, 0));
    DWG_SetImageDecoder(DecodeDrawingImage);
    CPrintedPage page;
    page.Print("image_page.dxf");
    DWG_SetImageDecoder(NULL);
    ASSERT_FALSE(HasFatalFailure());
    const COLORREF red = RGB(255, 64, 64), blue = RGB(64, 64, 255), lime = RGB(64, 255, 64);
    struct Probe {
        double x, y;
        COLORREF colour;
    } probes[] = {{50, 60, red},  {10, 90, red},  {50, 75, red},   {150, 60, kWhite}, {190, 90, kWhite},
                  {50, 25, blue}, {10, 10, blue}, {150, 25, lime}, {190, 10, lime}};
    for (const Probe& probe : probes) {
        RGBQUAD pixel = page.At(probe.x, probe.y);
        EXPECT_NEAR(GetRValue(probe.colour), pixel.rgbRed, 8) << probe.x << ", " << probe.y;
        EXPECT_NEAR(GetGValue(probe.colour), pixel.rgbGreen, 8) << probe.x << ", " << probe.y;
        EXPECT_NEAR(GetBValue(probe.colour), pixel.rgbBlue, 8) << probe.x << ", " << probe.y;
    }
    EXPECT_TRUE(page.DarkNear(150, 75));
    EXPECT_TRUE(page.DarkNear(120, 75));
    // The quarters reach the frame the image draws around them.
    EXPECT_TRUE(page.DarkNear(100, 100));
    EXPECT_TRUE(page.DarkNear(200, 50));
}

// A wipeout prints as the paper in colour and in black: the lines and the
// red solid drawn before it are hidden under its diamond and show around
// it, where its box alone would have hidden them; the line drawn after it
// shows across it; its outline does not print.
TEST(PrintDevice, WipeoutsPrintAsThePaperHidingWhatLiesUnderThem)
{
    for (short colourMode : {0, 2}) {
        CPrintedPage page;
        ASSERT_NO_FATAL_FAILURE(page.Print("wipeout.dxf", colourMode));
        for (double x : {90.0, 70.0, 125.0})
            EXPECT_TRUE(page.WhiteAt(x, 50)) << "mode " << colourMode << ", " << x;
        EXPECT_TRUE(page.WhiteAt(90, 30)) << "mode " << colourMode;
        EXPECT_TRUE(page.WhiteAt(92, 40)) << "mode " << colourMode;     // the solid
        EXPECT_FALSE(page.DarkNear(125, 75)) << "mode " << colourMode;  // an edge
        EXPECT_FALSE(page.DarkNear(75, 25)) << "mode " << colourMode;
        EXPECT_TRUE(page.DarkNear(30, 50)) << "mode " << colourMode;
        EXPECT_TRUE(page.DarkNear(170, 50)) << "mode " << colourMode;
        EXPECT_TRUE(page.DarkNear(60, 30)) << "mode " << colourMode;
        EXPECT_TRUE(page.DarkNear(140, 30)) << "mode " << colourMode;
        EXPECT_TRUE(page.DarkNear(100, 60)) << "mode " << colourMode;
        EXPECT_TRUE(page.DarkNear(100, 95)) << "mode " << colourMode;
    }
}

// Seen through a layout's viewport the wipeout hides the model's lines
// within the viewport only: the layout's line below the viewport, where the
// diamond would reach, stays; the model's line drawn after the wipeout is
// still cut to the viewport, and the layout's line after the viewport is
// not.
TEST(PrintDevice, AWipeoutInAViewportHidesOnlyWithinTheViewport)
{
    CPrintedPage page;
    ASSERT_NO_FATAL_FAILURE(page.Print("wipeout.dxf", 0, 1));
    EXPECT_TRUE(page.WhiteAt(90, 50));
    EXPECT_TRUE(page.DarkNear(30, 50));
    EXPECT_TRUE(page.DarkNear(100, 5));
    EXPECT_TRUE(page.DarkNear(100, 60));
    EXPECT_FALSE(page.DarkNear(100, 95));
    EXPECT_TRUE(page.DarkNear(190, 50));
    EXPECT_TRUE(page.DarkNear(190, 95));
}
