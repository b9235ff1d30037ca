// SaveRasterImage: a bitmap as a 24-bit TIFF file.
#include "platform/zrio/win32.h"

#include <string>
#include <vector>

#include "platform/base/file_replace.h"
#include "platform/base/unix_path.h"
#include "platform/zrio/zrio.h"

#include "platform/native/native_begin.h"
#include <tiffio.h>
#include "platform/native/native_end.h"

namespace {

// The bitmap's pixels as top-down RGB rows.
bool BitmapRows(HBITMAP bitmap, int* width, int* height, std::vector<unsigned char>* rgb) {
  BITMAP info;
  if (!GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0)
    return false;
  *width = info.bmWidth;
  *height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = *width;
  bi.bmiHeader.biHeight = -*height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  size_t stride = (size_t(*width) * 3 + 3) & ~size_t(3);
  std::vector<unsigned char> bgr(stride * size_t(*height));
  HDC dc = GetDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, UINT(*height), bgr.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (lines != *height) return false;
  rgb->resize(size_t(*width) * 3 * size_t(*height));
  for (int y = 0; y < *height; ++y)
    for (int x = 0; x < *width; ++x) {
      const unsigned char* s = &bgr[size_t(y) * stride + size_t(x) * 3];
      unsigned char* d = &(*rgb)[(size_t(y) * size_t(*width) + size_t(x)) * 3];
      d[0] = s[2];
      d[1] = s[1];
      d[2] = s[0];
    }
  return true;
}

// The rows as an LZW-compressed RGB TIFF at a Unix path. libtiff may change
// the rows while it encodes them.
bool WriteTiff(const char* unixPath, int width, int height, long dpi,
               std::vector<unsigned char>* rgb) {
  TIFF* tiff = TIFFOpen(unixPath, "w");
  if (!tiff) return false;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(height));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
  TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  TIFFSetField(tiff, TIFFTAG_XRESOLUTION, float(dpi > 0 ? dpi : 96));
  TIFFSetField(tiff, TIFFTAG_YRESOLUTION, float(dpi > 0 ? dpi : 96));
  bool ok = true;
  for (int y = 0; y < height && ok; ++y)
    ok = TIFFWriteScanline(tiff, &(*rgb)[size_t(y) * size_t(width) * 3], uint32_t(y), 0) >= 0;
  // TIFFClose reports nothing: flush first to learn whether the end was written.
  ok = ok && TIFFFlush(tiff) == 1;
  TIFFClose(tiff);
  return ok;
}

}  // namespace

int SaveRasterImage(HBITMAP bitmap, int kind, const char* path, long dpi) {
  if (!bitmap || !path || kind != 3) return 0;
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  if (!BitmapRows(bitmap, &width, &height, &rgb)) return 0;
  // libtiff opens the temporary file itself, by its Unix name.
  CReplacingFile file;
  std::string unixPath;
  if (file.Open(path) != ReplaceFileDone || !file.ReleaseHandle() ||
      !GetUnixPath(file.TemporaryPath(), &unixPath) ||
      !WriteTiff(unixPath.c_str(), width, height, dpi, &rgb))
    return 0;
  return file.Commit() == ReplaceFileDone ? 1 : 0;
}
