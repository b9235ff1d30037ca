// Stored preview pictures (lppp/ppll) of DWG, DWF and DXF files, and the
// TIFF writer.
#include "tests/support/gtest.h"

#include <string.h>

#include <vector>

#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

#include "platform/native/native_begin.h"
#include <tiffio.h>
#include "platform/native/native_end.h"

using namespace zriotest;

namespace {

// Width, height and bit count of BMP file bytes, decoded by GDI.
bool DecodeBmp(const unsigned char* bytes, long length, int* width, int* height) {
  if (length < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
  const BITMAPFILEHEADER* file = reinterpret_cast<const BITMAPFILEHEADER*>(bytes);
  const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(bytes + sizeof(BITMAPFILEHEADER));
  if (file->bfOffBits >= DWORD(length)) return false;
  HDC dc = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, bytes + file->bfOffBits, info,
                                  DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (!bitmap) return false;
  BITMAP b;
  GetObjectW(bitmap, sizeof(b), &b);
  DeleteObject(bitmap);
  *width = b.bmWidth;
  *height = b.bmHeight;
  return true;
}

// The preview picture stored in a fixture, as BMP file bytes decoded by
// GDI; the library's buffer is given back.
struct StoredPicture {
  int width = 0, height = 0;
  std::vector<unsigned char> bytes;
};

bool ReadStoredPicture(const std::string& fixture, StoredPicture* picture) {
  unsigned char* buffer = nullptr;
  long length = 0;
  if (!lppp(FixturePath(fixture).c_str(), &buffer, &length)) return false;
  bool decoded = DecodeBmp(buffer, length, &picture->width, &picture->height);
  picture->bytes.assign(buffer, buffer + length);
  ppll(&buffer);
  return decoded && buffer == nullptr;
}

}  // namespace

TEST(Preview, DwgBmpPictureAsBmpFile) {
  StoredPicture picture;
  ASSERT_TRUE(ReadStoredPicture("preview_bmp.dwg", &picture));
  EXPECT_EQ(37, picture.width);
  EXPECT_EQ(21, picture.height);
}

TEST(Preview, DwgPngPictureIsConvertedToBmp) {
  StoredPicture picture;
  ASSERT_TRUE(ReadStoredPicture("preview_png.dwg", &picture));
  EXPECT_EQ(45, picture.width);
  EXPECT_EQ(30, picture.height);
  EXPECT_EQ(24, picture.bytes[28]);
  // The PNG's pixels are (0, 128, 255): stored blue, green, red.
  EXPECT_EQ(255, picture.bytes[54]);
  EXPECT_EQ(128, picture.bytes[55]);
  EXPECT_EQ(0, picture.bytes[56]);
}

TEST(Preview, FilesWithoutAPictureGiveFalse) {
  unsigned char* buffer = reinterpret_cast<unsigned char*>(1);
  long length = 5;
  EXPECT_FALSE(lppp(FixturePath("nopreview.dwg").c_str(), &buffer, &length));
  EXPECT_EQ(nullptr, buffer);
  EXPECT_EQ(0, length);
  EXPECT_FALSE(lppp(FixturePath("render.dxf").c_str(), &buffer, &length));
  EXPECT_FALSE(lppp(FixturePath("missing.dwg").c_str(), &buffer, &length));
  EXPECT_FALSE(lppp(nullptr, &buffer, &length));
}

TEST(Preview, DwfPackageThumbnailNamedByItsDescriptor) {
  StoredPicture picture;
  ASSERT_TRUE(ReadStoredPicture("preview_png.dwf", &picture));
  EXPECT_EQ(40, picture.width);
  EXPECT_EQ(25, picture.height);
  EXPECT_EQ(255, picture.bytes[54]);  // (0, 128, 255) stored blue first
  EXPECT_EQ(0, picture.bytes[56]);

  // A stored BMP named relative to its descriptor.
  ASSERT_TRUE(ReadStoredPicture("preview_bmp.dwf", &picture));
  EXPECT_EQ(31, picture.width);
  EXPECT_EQ(17, picture.height);

  // DWF files are recognised but not drawn.
  short status = 0;
  EXPECT_EQ(nullptr, OpenFixture("preview_png.dwf", &status));
  EXPECT_NE(0, status);
  EXPECT_NE(4, status);
}

TEST(Preview, DwfWithoutAReadableThumbnailGivesFalse) {
  unsigned char* buffer = nullptr;
  long length = 0;
  EXPECT_FALSE(lppp(FixturePath("old.dwf").c_str(), &buffer, &length));

  std::string bytes;
  ASSERT_TRUE(testfiles::ReadFileBytes(FixturePath("preview_bmp.dwf"), bytes));
  // The first "page1/thumb.bmp" is the entry's local header; the picture follows.
  size_t picture = bytes.find("page1/thumb.bmp");
  ASSERT_NE(std::string::npos, picture);
  picture += 15;
  ASSERT_EQ('B', bytes[picture]);
  std::string damaged = bytes;
  damaged[picture + 100] ^= 0x55;  // the entry's CRC no longer matches
  std::string path = SavedPath("damaged.dwf");
  ASSERT_TRUE(testfiles::WriteFileBytes(path, damaged));
  EXPECT_FALSE(lppp(path.c_str(), &buffer, &length));

  // Without its directory the package cannot be read.
  ASSERT_TRUE(testfiles::WriteFileBytes(path, bytes.substr(0, bytes.size() - 30)));
  EXPECT_FALSE(lppp(path.c_str(), &buffer, &length));
  EXPECT_EQ(nullptr, buffer);
}

TEST(Preview, DxfThumbnailSectionIsRead) {
  std::string dib;
  // A 2 x 2 24-bit DIB written as a THUMBNAILIMAGE section.
  unsigned char header[40] = {40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0};
  std::string hex;
  char digits[3];
  for (unsigned char c : header) {
    snprintf(digits, sizeof(digits), "%02X", c);
    hex += digits;
  }
  hex += std::string(32, 'F');  // two rows of 8 bytes
  std::string text = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n"
                     "  0\nSECTION\n  2\nTHUMBNAILIMAGE\n 90\n56\n310\n" + hex +
                     "\n  0\nENDSEC\n  0\nEOF\n";
  std::string path = SavedPath("thumbnail.dxf");
  ASSERT_TRUE(testfiles::WriteFileBytes(path, text));
  unsigned char* buffer = nullptr;
  long length = 0;
  ASSERT_TRUE(lppp(path.c_str(), &buffer, &length));
  int w = 0, h = 0;
  EXPECT_TRUE(DecodeBmp(buffer, length, &w, &h));
  EXPECT_EQ(2, w);
  EXPECT_EQ(2, h);
  ppll(&buffer);
}

TEST(RasterOutput, SaveRasterImageWritesATiff) {
  PixelSurface s(30, 20);
  RECT all = {0, 0, 30, 20};
  HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
  FillRect(s.dc(), &all, brush);
  DeleteObject(brush);
  GdiFlush();
  std::string path = SavedPath("export.tif");
  EXPECT_EQ(1, SaveRasterImage(s.bitmap(), 3, path.c_str(), 300));
  TIFF* tiff = TIFFOpen((std::string(ZRIO_SAVED) + "/export.tif").c_str(), "r");
  ASSERT_NE(nullptr, tiff);
  uint32_t width = 0, height = 0;
  float dpi = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &dpi);
  std::vector<uint32_t> raster(size_t(width) * height);
  ASSERT_TRUE(TIFFReadRGBAImage(tiff, width, height, raster.data(), 0));
  TIFFClose(tiff);
  EXPECT_EQ(30u, width);
  EXPECT_EQ(20u, height);
  EXPECT_EQ(300.0f, dpi);
  EXPECT_EQ(10u, TIFFGetR(raster[0]));
  EXPECT_EQ(200u, TIFFGetG(raster[0]));
  EXPECT_EQ(0, SaveRasterImage(nullptr, 3, path.c_str(), 300));
}

TEST(RasterOutput, SaveRasterImageUsesATemporaryFileOfItsOwn) {
  PixelSurface s(4, 4);
  std::string folder = testfiles::MakeScratchFolder("tiff-save");
  std::string target = folder + "\\x.tif";
  ASSERT_TRUE(testfiles::WriteFileBytes(target + ".tmp~", "mine"));
  EXPECT_EQ(1, SaveRasterImage(s.bitmap(), 3, target.c_str(), 96));
  std::string bytes;
  ASSERT_TRUE(testfiles::ReadFileBytes(target + ".tmp~", bytes));
  EXPECT_EQ("mine", bytes);
  // A folder of the target's name cannot be replaced: nothing is left behind.
  ASSERT_TRUE(CreateDirectoryA((folder + "\\folder.tif").c_str(), nullptr));
  EXPECT_EQ(0, SaveRasterImage(s.bitmap(), 3, (folder + "\\folder.tif").c_str(), 96));
  EXPECT_EQ(std::vector<std::string>({"x.tif", "x.tif.tmp~"}), testfiles::FileNamesIn(folder));
}

TEST(TextConversion, U2AGivesTheAnsiText) {
  const WCHAR chinese[] = {0x6253, 0x5F00, 'A', 0};  // 打开A
  char* text = g_U2A(reinterpret_cast<const wchar_t*>(chinese));
  EXPECT_STREQ("打开A", text);
  EXPECT_STREQ("", g_U2A(nullptr));
}
