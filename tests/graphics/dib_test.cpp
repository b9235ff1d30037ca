// CDib: making, converting, turning, drawing into and copying pictures.
#include "tests/support/gtest.h"

#include "graphics/dib.h"
#include "graphics/dib_format.h"
#include "graphics/gdi_device.h"
#include "tests/graphics/dib_builders.h"

namespace {

// A CDC over a device context that it does not own.
class BorrowedDC : public CDC {
public:
    explicit BorrowedDC(HDC dc) { m_hDC = dc; }
    ~BorrowedDC() override { m_hDC = nullptr; }
};

const std::vector<uint32_t> kSixPixels = {0xFF0000, 0x00FF00, 0x0000FF,
                                          0x000000, 0xFFFFFF, 0x808080};

}  // namespace

TEST(Dib, StartsEmpty)
{
    CDib dib;
    EXPECT_EQ(nullptr, dib.GetHandle());
    EXPECT_EQ(0, dib.GetWidth());
    EXPECT_EQ(0, dib.GetBitCount());
    EXPECT_EQ(nullptr, dib.GetBits());
    EXPECT_FALSE(dib.ChangeBitCount(8));
    EXPECT_FALSE(dib.Rotate90());
    EXPECT_EQ(nullptr, dib.CopyToBmpFile());
    EXPECT_TRUE(dib.IsKindOf(RUNTIME_CLASS(CObject)));
    CObject* made = CRuntimeClass::CreateObject("CDib");
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CDib)));
    delete made;
}

TEST(Dib, CreateMakesAZeroedPictureWithItsBitmap)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(10, 10, 16));
    EXPECT_EQ(24, dib.GetBitCount());
    EXPECT_EQ(10, dib.GetWidth());
    EXPECT_EQ(10, dib.GetHeight());
    EXPECT_EQ(40u + 320u, GlobalSize(dib.GetHandle()));
    EXPECT_NE(nullptr, dib.m_hBitmap);
    EXPECT_EQ(nullptr, dib.GetPalette());
    EXPECT_EQ(0, dib.GetBits()[319]);

    ASSERT_TRUE(dib.Create(3, 2, 8));
    ASSERT_NE(nullptr, dib.GetPalette());
    PALETTEENTRY entry;
    ASSERT_EQ(1u, GetPaletteEntries(static_cast<HPALETTE>(dib.GetPalette()->m_hObject), 255, 1, &entry));
    EXPECT_EQ(0, entry.peRed | entry.peGreen | entry.peBlue);
}

TEST(Dib, CreateFromPackedDibOnlyReadsTheSource)
{
    std::vector<BYTE> bytes = dibtest::MakeDib24(3, 2, kSixPixels);
    // Read-only memory, as resource data is.
    void* readOnly = VirtualAlloc(nullptr, bytes.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(nullptr, readOnly);
    memcpy(readOnly, bytes.data(), bytes.size());
    DWORD old;
    ASSERT_TRUE(VirtualProtect(readOnly, bytes.size(), PAGE_READONLY, &old));
    CDib dib;
    EXPECT_TRUE(dib.CreateFromPackedDib(readOnly));
    EXPECT_EQ(0u, static_cast<const BITMAPINFOHEADER*>(readOnly)->biSizeImage);
    VirtualFree(readOnly, 0, MEM_RELEASE);
    EXPECT_EQ(0x0000FFu, dibtest::PixelOf(dib, 2, 0));
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib.GetHandle()));
    EXPECT_EQ(24u, header->biSizeImage);  // filled in the copy
    GlobalUnlock(dib.GetHandle());
}

TEST(Dib, AttachAndCreateFromBitmap)
{
    CDib dib;
    EXPECT_FALSE(dib.Attach(nullptr));
    ASSERT_TRUE(dib.Attach(dibtest::ToGlobal(dibtest::MakeDib24(3, 2, kSixPixels))));
    CDib copy;
    ASSERT_TRUE(copy.CreateFromBitmap(dib.m_pBitmap));
    EXPECT_EQ(3, copy.GetWidth());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(kSixPixels[i], dibtest::PixelOf(copy, i % 3, i / 3));
}

TEST(Dib, ChangeBitCountKeepsTheColours)
{
    CDib dib;
    ASSERT_TRUE(dib.Attach(dibtest::ToGlobal(dibtest::MakeDib24(3, 2, kSixPixels))));
    HGLOBAL before = dib.GetHandle();
    EXPECT_TRUE(dib.ChangeBitCount(24));
    EXPECT_EQ(before, dib.GetHandle());  // untouched

    ASSERT_TRUE(dib.ChangeBitCount(8));
    EXPECT_EQ(8, dib.GetBitCount());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(kSixPixels[i], dibtest::PixelOf(dib, i % 3, i / 3)) << i;

    ASSERT_TRUE(dib.SetBitCount(24));
    EXPECT_EQ(24, dib.GetBitCount());
    EXPECT_EQ(0x808080u, dibtest::PixelOf(dib, 2, 1));
}

TEST(Dib, SetBitCountQuantisesToFewerColours)
{
    const int side = 32;
    CDib dib;
    ASSERT_TRUE(dib.Attach(dibtest::ToGlobal(dibtest::MakeDib24(side, side, dibtest::PhotoPixels(side, side)))));
    ASSERT_TRUE(dib.SetBitCount(4));
    EXPECT_EQ(4, dib.GetBitCount());
    EXPECT_EQ(side, dib.GetWidth());
    ASSERT_TRUE(dib.SetBitCount(1));
    EXPECT_EQ(1, dib.GetBitCount());
}

TEST(Dib, QuarterTurns)
{
    CDib dib;
    ASSERT_TRUE(dib.Attach(dibtest::ToGlobal(dibtest::MakeDib24(3, 2, kSixPixels))));
    ASSERT_TRUE(dib.Rotate90());
    EXPECT_EQ(2, dib.GetWidth());
    EXPECT_EQ(3, dib.GetHeight());
    EXPECT_EQ(0x0000FFu, dibtest::PixelOf(dib, 0, 0));  // the old top-right pixel

    ASSERT_TRUE(dib.Attach(dibtest::ToGlobal(dibtest::MakeDib24(3, 2, kSixPixels))));
    ASSERT_TRUE(dib.Rotate180());
    EXPECT_EQ(3, dib.GetWidth());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(kSixPixels[i], dibtest::PixelOf(dib, 2 - i % 3, 1 - i / 3)) << i;

    ASSERT_TRUE(dib.Attach(dibtest::ToGlobal(dibtest::MakeDib24(3, 2, kSixPixels))));
    ASSERT_TRUE(dib.Rotate270());
    EXPECT_EQ(2, dib.GetWidth());
    EXPECT_EQ(0x000000u, dibtest::PixelOf(dib, 0, 0));  // the old bottom-left pixel
}

TEST(Dib, DrawingIntoThePictureThroughItsMemoryDC)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(4, 3, 24));
    CDC* dc = dib.BeginMemDC(nullptr);
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(dc, dib.BeginMemDC(nullptr));
    RECT area = {1, 0, 3, 1};
    dc->FillSolidRect(&area, RGB(0x12, 0x34, 0x56));
    ASSERT_TRUE(dib.EndMemDC());
    EXPECT_EQ(nullptr, dib.m_pMemDC);
    EXPECT_EQ(0x123456u, dibtest::PixelOf(dib, 1, 0));
    EXPECT_EQ(0x123456u, dibtest::PixelOf(dib, 2, 0));
    EXPECT_EQ(0u, dibtest::PixelOf(dib, 3, 0));
    EXPECT_EQ(0u, dibtest::PixelOf(dib, 1, 1));
    EXPECT_FALSE(dib.EndMemDC());

    ASSERT_TRUE(dib.Clear(RGB(1, 2, 3)));
    EXPECT_EQ(0x010203u, dibtest::PixelOf(dib, 3, 2));
}

TEST(Dib, DrawAndEndMemDCCopiesWithoutUpdatingThePicture)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(2, 2, 24));
    CDC* dc = dib.BeginMemDC(nullptr);
    ASSERT_NE(nullptr, dc);
    dc->FillSolidRect(0, 0, 2, 2, RGB(200, 100, 50));
    CGDIDevice device;
    ASSERT_TRUE(device.Create(4, 4, 3));
    BorrowedDC target(device.m_hDC);
    ASSERT_TRUE(dib.DrawAndEndMemDC(&target, 1, 1, SRCCOPY));
    GdiFlush();
    EXPECT_EQ(0xC86432u, dibtest::DevicePixel(device, 2, 2));
    EXPECT_EQ(0u, dibtest::DevicePixel(device, 0, 0));
    EXPECT_EQ(0u, dibtest::PixelOf(dib, 0, 0));  // the packed DIB was not read back
}

TEST(Dib, DrawAndStretchDraw)
{
    CDib dib;
    ASSERT_TRUE(dib.Attach(dibtest::ToGlobal(dibtest::MakeDib24(3, 2, kSixPixels))));
    CGDIDevice device;
    ASSERT_TRUE(device.Create(8, 8, 3));
    BorrowedDC target(device.m_hDC);
    ASSERT_TRUE(dib.Draw(&target, 0, 0, SRCCOPY));
    ASSERT_TRUE(dib.StretchDraw(&target, 0, 2, 6, 4, 0, 0, 3, 2, SRCCOPY));
    GdiFlush();
    EXPECT_EQ(0xFF0000u, dibtest::DevicePixel(device, 0, 0));
    EXPECT_EQ(0x808080u, dibtest::DevicePixel(device, 2, 1));
    EXPECT_EQ(0xFF0000u, dibtest::DevicePixel(device, 1, 3));
    EXPECT_EQ(0x808080u, dibtest::DevicePixel(device, 5, 5));
}

TEST(Dib, CopyToBmpFileHasTheFileHeader)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2, 4));
    BYTE* file = dib.CopyToBmpFile();
    ASSERT_NE(nullptr, file);
    EXPECT_EQ('B', file[0]);
    EXPECT_EQ('M', file[1]);
    DWORD size, offset;
    memcpy(&size, file + 2, 4);
    memcpy(&offset, file + 10, 4);
    EXPECT_EQ(14u + 40u + 64u + 8u, size);
    EXPECT_EQ(14u + 40u + 64u, offset);
    EXPECT_EQ(8u, reinterpret_cast<BITMAPINFOHEADER*>(file + 14)->biSizeImage);
    free(file);
}

TEST(Dib, LoadFromResource)
{
    CDib dib;
    ASSERT_TRUE(dib.LoadFromResource(101, RT_RCDATA));
    EXPECT_EQ(2, dib.GetWidth());
    EXPECT_EQ(0xFF0000u, dibtest::PixelOf(dib, 0, 0));
    EXPECT_EQ(0x00FF00u, dibtest::PixelOf(dib, 1, 0));
    HGLOBAL kept = dib.GetHandle();
    EXPECT_FALSE(dib.LoadFromResource(0x10000 + 102, RT_RCDATA));  // not "BM"
    EXPECT_FALSE(dib.LoadFromResource(103, RT_RCDATA));  // rows missing
    EXPECT_FALSE(dib.LoadFromResource(104, RT_RCDATA));
    EXPECT_FALSE(dib.LoadFromResource(101));  // no bitmap of that id
    EXPECT_EQ(kept, dib.GetHandle());

    CDib bitmap;
    ASSERT_TRUE(bitmap.LoadFromResource(105));
    EXPECT_EQ(2, bitmap.GetWidth());
    EXPECT_EQ(0xFF0000u, dibtest::PixelOf(bitmap, 0, 0));
    EXPECT_EQ(0x00FF00u, dibtest::PixelOf(bitmap, 1, 0));
}
