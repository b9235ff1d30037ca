// The averaging reduction: where it lands (the same source rectangle as
// StretchDIBits takes) and what it makes of a fine pattern, also through
// the canvas's smoothing pass.
#include "tests/support/gtest.h"

#include <stdlib.h>

#include <vector>

#include "graphics/averaged_stretch.h"
#include "graphics/dib.h"
#include "graphics/kwin_canvas.h"

namespace {

// A DIB of 1, 8 or 24 bits a pixel whose colour at (x, stored row) is
// colourOf(x, row); with 1 or 8 bits the palette holds the colours used.
struct TestDib {
    std::vector<BYTE> header;  // BITMAPINFO with its palette
    std::vector<BYTE> bits;
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(header.data()); }
};

TestDib MakeDib(int width, int rows, int depth, bool topDown, COLORREF (*colourOf)(int x, int row))
{
    TestDib dib;
    std::vector<COLORREF> palette;
    const int stride = (width * depth + 31) / 32 * 4;
    dib.bits.assign(static_cast<size_t>(stride) * rows, 0);
    for (int row = 0; row < rows; ++row)
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = colourOf(x, row);
            BYTE* line = &dib.bits[static_cast<size_t>(row) * stride];
            if (depth == 24) {
                line[x * 3] = GetBValue(colour);
                line[x * 3 + 1] = GetGValue(colour);
                line[x * 3 + 2] = GetRValue(colour);
                continue;
            }
            size_t index = 0;
            while (index < palette.size() && palette[index] != colour)
                ++index;
            if (index == palette.size())
                palette.push_back(colour);
            if (depth == 8)
                line[x] = static_cast<BYTE>(index);
            else if (index)
                line[x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    dib.header.assign(sizeof(BITMAPINFOHEADER) + palette.size() * sizeof(RGBQUAD), 0);
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.header.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = topDown ? -rows : rows;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(depth);
    header->biClrUsed = static_cast<DWORD>(palette.size());
    RGBQUAD* quads = reinterpret_cast<RGBQUAD*>(header + 1);
    for (size_t i = 0; i < palette.size(); ++i)
        quads[i] = RGBQUAD{GetBValue(palette[i]), GetGValue(palette[i]), GetRValue(palette[i]), 0};
    return dib;
}

// Blocks of 4 x 4 pixels, each of its own colour.
COLORREF Blocks(int x, int row)
{
    return RGB((x / 4) * 40, (row / 4) * 40, ((x / 4 + row / 4) % 2) * 200);
}

COLORREF Checker(int x, int row)
{
    return (x + row) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

// What a drawing function leaves in a 24-bit picture, as COLORREFs from
// the top.
template <class Draw>
std::vector<COLORREF> Surface(int width, int height, Draw draw)
{
    std::vector<COLORREF> pixels;
    CDib surface;
    CDC* dc = surface.Create(width, height, 24) ? surface.BeginMemDC(nullptr) : nullptr;
    if (!dc)
        return pixels;
    draw(dc->m_hDC);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(GetPixel(dc->m_hDC, x, y));
    surface.EndMemDC();
    return pixels;
}

TEST(AveragedStretch, TakesTheSourceRectangleStretchDIBitsTakes)
{
    // Uniform blocks reduced by their size: picking a pixel and averaging
    // agree, so Wine's COLORONCOLOR stretch is the reference.
    for (int depth : {24, 8}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << depth << " bits, top-down " << topDown);
            const TestDib dib = MakeDib(24, 20, depth, topDown, Blocks);
            auto averaged = Surface(4, 3, [&](HDC dc) {
                EXPECT_EQ(3, StretchDibAveraged(dc, 0, 0, 4, 3, 4, 8, 16, 12, dib.bits.data(), dib.Info()));
            });
            auto sampled = Surface(4, 3, [&](HDC dc) {
                SetStretchBltMode(dc, COLORONCOLOR);
                StretchDIBits(dc, 0, 0, 4, 3, 4, 8, 16, 12, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
            });
            ASSERT_EQ(12u, averaged.size());
            EXPECT_EQ(sampled, averaged);
        }
    }
}

TEST(AveragedStretch, FineCheckerBecomesMidGrey)
{
    const TestDib dib = MakeDib(200, 150, 1, false, Checker);
    KReducedDib reduced;
    // A whole ratio and one that is not.
    for (int width : {20, 16}) {
        const int height = width * 3 / 4;
        ASSERT_TRUE(ReduceDibByArea(dib.Info(), dib.bits.data(), 0, 0, 200, 150, width, height, reduced));
        EXPECT_EQ(width, reduced.info.bmiHeader.biWidth);
        EXPECT_EQ(height, reduced.info.bmiHeader.biHeight);
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width * 3; ++x)
                EXPECT_NEAR(128, reduced.bits[row * ((width * 3 + 3) & ~3) + x], 8) << x << "," << row;
    }
    // Not a reduction: left to StretchDIBits.
    EXPECT_FALSE(ReduceDibByArea(dib.Info(), dib.bits.data(), 0, 0, 200, 150, 200, 150, reduced));
    EXPECT_FALSE(ReduceDibByArea(dib.Info(), dib.bits.data(), 0, 0, 200, 150, 250, 100, reduced));
    EXPECT_FALSE(ReduceDibByArea(dib.Info(), dib.bits.data(), 8, 0, 200, 150, 20, 15, reduced));
}

TEST(AveragedStretch, CanvasSmoothingPassAverages)
{
    const TestDib dib = MakeDib(64, 48, 24, false, Checker);
    for (bool fast : {true, false}) {
        KWinCanvas canvas;
        KViewPort view(0.0f, 48.0f, 0.25f);  // the whole image at (0,0)-(16,12)
        canvas.viewport = &view;
        canvas.SetSize(16, 12);
        canvas.noImageFrame = true;
        canvas.BeginDraw(0, true);
        EXPECT_TRUE(canvas.DrawImage(KType::RPoint2D{0, 0}, 64, 48, dib.bits.data(), dib.Info(), false, 0, 0, fast));
        canvas.EndDraw();
        const int green = GetGValue(GetPixel(canvas.GetMemDC(), 5, 5));
        if (fast)
            EXPECT_TRUE(green == 0 || green == 255) << green;
        else
            EXPECT_NEAR(128, green, 8);
    }
}

}  // namespace
