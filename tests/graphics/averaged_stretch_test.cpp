// The averaging reduction: where it lands (the same source rectangle as
// StretchDIBits takes) and what it makes of a fine pattern, also through
// the canvas's smoothing pass.
#include "tests/support/gtest.h"

#include <stdlib.h>

#include <string>
#include <vector>

#include "graphics/averaged_stretch.h"
#include "graphics/bmp_file.h"
#include "graphics/dib.h"
#include "graphics/kwin_canvas.h"
#include "platform/base/byte_reader.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

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

COLORREF Noise(int x, int row)
{
    unsigned state = static_cast<unsigned>(x * 7919 + row * 104729) * 2654435761u;
    state ^= state >> 13;
    return RGB(state & 255, (state >> 8) & 255, (state >> 16) & 255);
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

TEST(AveragedStretch, ReducesAsImageMagickScaleDoes)
{
    // ImageMagick's -scale averages by area as we do; the two round their
    // sums apart, so a channel may differ by one level.
    const int sourceWidth = 97, sourceHeight = 61;
    const TestDib dib = MakeDib(sourceWidth, sourceHeight, 24, false, Noise);
    const size_t stride = (sourceWidth * 3 + 3) & ~3;
    BYTE* file = MakeBmpFileImage24(sourceWidth, sourceHeight, dib.bits.data(), stride, false);
    ASSERT_NE(nullptr, file);
    const std::string folder = testfiles::MakeScratchFolder("averaged");
    const std::string bmp = folder + "\\noise.bmp", dump = folder + "\\scaled.rgb";
    ASSERT_TRUE(
        testfiles::WriteFileBytes(bmp, std::string(reinterpret_cast<char*>(file), GetU32LE(file + 2))));
    free(file);
    const struct {
        int width, height;
    } sizes[] = {{40, 25}, {13, 61}, {97, 7}, {30, 29}, {1, 1}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        ASSERT_EQ(0,
                  codectest::RunUnixProgram("/usr/bin/convert " + codectest::UnixPath(bmp) + " -scale " +
                                            std::to_string(size.width) + "x" + std::to_string(size.height) +
                                            "! -depth 8 rgb:" + codectest::UnixPath(dump)));
        std::string reference;
        ASSERT_TRUE(testfiles::ReadFileBytes(dump, reference));
        ASSERT_EQ(static_cast<size_t>(size.width * size.height * 3), reference.size());
        KReducedDib reduced;
        ASSERT_TRUE(ReduceDibByArea(dib.Info(), dib.bits.data(), 0, 0, sourceWidth, sourceHeight, size.width,
                                    size.height, reduced));
        int worst = 0;
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                for (int c = 0; c < 3; ++c) {
                    // Ours bottom-up, blue first; the dump from the top, red first.
                    const int ours =
                        reduced.bits[(size.height - 1 - y) * reduced.GetStride() + x * 3 + 2 - c];
                    const int theirs = static_cast<unsigned char>(reference[(y * size.width + x) * 3 + c]);
                    worst = abs(ours - theirs) > worst ? abs(ours - theirs) : worst;
                }
        EXPECT_LE(worst, 1);
    }
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
