#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_preview.h"

#include <string.h>

#include "platform/base/byte_reader.h"
#include "platform/zrio/dwf_preview.h"
#include "platform/zrio/dxf_groups.h"
#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_reader.h"

#include "platform/native/native_begin.h"
#include <png.h>
#include "platform/native/native_end.h"

namespace zr {

namespace {

const uint8_t kImageSentinel[16] = {0x1F, 0x25, 0x6D, 0x07, 0xD4, 0x36, 0x28, 0x28,
                                    0x9D, 0x57, 0xCA, 0x3F, 0x9D, 0x44, 0x10, 0x2B};

// The image block of a DWG (R13 and later): a sentinel, then entries of
// type 2 (BMP) or 6 (PNG) with their offsets and sizes in the file.
bool DwgPreview(const uint8_t* d, size_t size, std::vector<uint8_t>* bmp) {
  CByteReader in(d, size);
  in.Seek(0x0D);
  uint32_t at = in.U32LE();
  if (!in.Ok() || at == 0 || !in.Seek(at)) return false;
  const uint8_t* sentinel = in.Span(16);
  if (!sentinel || memcmp(sentinel, kImageSentinel, 16) != 0) return false;
  in.Skip(4);  // the block's size
  int count = in.U8();
  for (int i = 0; i < count; ++i) {
    int code = in.U8();
    uint32_t start = in.U32LE(), length = in.U32LE();
    if (!in.Ok()) return false;
    if (start > size || length > size - start || length == 0) continue;
    if (code == 2 && BmpFromDib(d + start, length, bmp)) return true;
    if (code == 6 && BmpFromPng(d + start, length, bmp)) return true;
  }
  return false;
}

// The THUMBNAILIMAGE section of a DXF file.
bool DxfPreview(const char* data, size_t size, std::vector<uint8_t>* bmp) {
  std::vector<uint8_t> dib;
  if (IsBinaryDxf(data, size)) {
    Database db;
    if (ReadDxf(data, size, db, LoadControl()) != LoadResult::Ok) return false;
    dib = std::move(db.thumbnail);
  } else {
    const char* found = nullptr;
    for (const char* p = data; (p = static_cast<const char*>(memchr(p, 'T', size_t(data + size - p))));
         ++p) {
      if (size_t(data + size - p) >= 14 && memcmp(p, "THUMBNAILIMAGE", 14) == 0 &&
          (p == data || p[-1] == '\n')) {
        found = p;
        break;
      }
    }
    if (!found) return false;
    const char* line = static_cast<const char*>(memchr(found, '\n', size_t(data + size - found)));
    if (!line) return false;
    ++line;
    DxfGroupReader reader(line, size_t(data + size - line));
    while (reader.next() && reader.code() != 0) {
      if (reader.code() != 310) continue;
      std::string_view hex = reader.group().view;
      for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        auto value = [](char c) {
          return c >= '0' && c <= '9' ? c - '0' : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : (c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1));
        };
        int h = value(hex[i]), l = value(hex[i + 1]);
        if (h < 0 || l < 0) return false;
        dib.push_back(uint8_t(h * 16 + l));
      }
    }
  }
  return !dib.empty() && BmpFromDib(dib.data(), dib.size(), bmp);
}

}  // namespace

bool IsDwgFamily(const char* data, size_t size) {
  if (size >= 6 && memcmp(data, "AC1", 3) == 0) return true;
  if (size >= 6 && memcmp(data, "AC2.", 4) == 0) return true;
  return size >= 6 && memcmp(data, "(DWF V", 6) == 0;
}

std::string DwgVersionText(const char* data, size_t size) {
  if (size < 6 || memcmp(data, "AC", 2) != 0) return std::string();
  return std::string(data, 6);
}

bool BmpFromDib(const uint8_t* dib, size_t size, std::vector<uint8_t>* bmp) {
  CByteReader header(dib, size);
  uint32_t headerSize = header.U32LE();
  int32_t width = header.I32LE(), height = header.I32LE();
  header.Skip(2);  // planes
  uint16_t bits = header.U16LE();
  uint32_t compression = header.U32LE();
  header.Skip(12);  // image size and resolution
  uint32_t colorsUsed = header.U32LE();
  if (!header.Ok() || headerSize < 40 || headerSize > size || width <= 0 || width > 65535 ||
      height == 0 || height > 65535 || height < -65535)
    return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (compression != 0 && compression != 3) return false;
  uint64_t palette = colorsUsed ? colorsUsed : (bits <= 8 ? (1u << bits) : 0);
  if (palette > 256) return false;
  uint64_t offset = 14 + uint64_t(headerSize) + palette * 4 + (compression == 3 && headerSize == 40 ? 12 : 0);
  uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
  uint64_t rows = uint64_t(height < 0 ? -int64_t(height) : height);
  uint64_t needed = offset - 14 + stride * rows;
  if (needed > size) return false;
  bmp->assign(14, 0);
  (*bmp)[0] = 'B';
  (*bmp)[1] = 'M';
  PutU32LE(bmp->data() + 2, uint32_t(14 + needed));
  PutU32LE(bmp->data() + 10, uint32_t(offset));
  bmp->insert(bmp->end(), dib, dib + needed);
  return true;
}

bool BmpFromPng(const uint8_t* png, size_t size, std::vector<uint8_t>* bmp) {
  png_image image;
  memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png, size)) return false;
  if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_BGR;
  size_t stride = (size_t(image.width) * 3 + 3) & ~size_t(3);
  std::vector<uint8_t> pixels(stride * image.height);
  // A negative stride stores the rows bottom-up, as a BMP wants them.
  if (!png_image_finish_read(&image, nullptr, pixels.data(), -png_int_32(stride), nullptr)) {
    png_image_free(&image);
    return false;
  }
  bmp->assign(54, 0);
  (*bmp)[0] = 'B';
  (*bmp)[1] = 'M';
  PutU32LE(bmp->data() + 2, uint32_t(54 + pixels.size()));
  PutU32LE(bmp->data() + 10, 54);
  PutU32LE(bmp->data() + 14, 40);
  PutU32LE(bmp->data() + 18, image.width);
  PutU32LE(bmp->data() + 22, image.height);
  PutU16LE(bmp->data() + 26, 1);
  PutU16LE(bmp->data() + 28, 24);
  PutU32LE(bmp->data() + 34, uint32_t(pixels.size()));
  bmp->insert(bmp->end(), pixels.begin(), pixels.end());
  return true;
}

bool ExtractPreviewBmp(const char* data, size_t size, std::vector<uint8_t>* bmp) {
  if (size >= 6 && memcmp(data, "AC1", 3) == 0)
    return DwgPreview(reinterpret_cast<const uint8_t*>(data), size, bmp);
  if (size >= 6 && memcmp(data, "(DWF V", 6) == 0)
    return DwfPreview(reinterpret_cast<const uint8_t*>(data), size, bmp);
  if (IsDwgFamily(data, size)) return false;  // the oldest DWGs hold no picture
  return DxfPreview(data, size, bmp);
}

}  // namespace zr
