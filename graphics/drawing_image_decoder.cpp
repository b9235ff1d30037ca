#include "graphics/drawing_image_decoder.h"

#include <stdint.h>
#include <string.h>

#include <memory>

#include "codecs/ximage.h"
#include "graphics/kimage.h"

namespace {

// Opacity of a pixel: its alpha plane's, or none for the transparent index.
BYTE OpacityAt(const CxImage& image, int32_t x, int32_t y)
{
    if (image.AlphaIsValid())
        return image.AlphaGet(x, y);
    if (image.IsTransparent() && image.IsIndexed() && image.GetPixelIndex(x, y) == image.GetTransIndex())
        return 0;
    return 255;
}

}  // namespace

HBITMAP DecodeDrawingImage(const char* path)
{
    if (path == NULL)
        return NULL;
    std::unique_ptr<CxImage> image(KImage::LoadThumbnail(path, -1));
    if (!image || !image->IsValid())
        return NULL;
    int32_t width = int32_t(image->GetWidth()), height = int32_t(image->GetHeight());
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP section = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (section == NULL || bits == NULL) {
        if (section != NULL)
            DeleteObject(section);
        return NULL;
    }
    uint32_t* out = static_cast<uint32_t*>(bits);
    // The image's row 0 is its bottom row; the section's is its top.
    for (int32_t row = 0; row < height; ++row) {
        int32_t y = height - 1 - row;
        for (int32_t x = 0; x < width; ++x) {
            RGBQUAD c = image->GetPixelColor(x, y, false);
            out[size_t(row) * size_t(width) + size_t(x)] = (uint32_t(OpacityAt(*image, x, y)) << 24) |
                                                           (uint32_t(c.rgbRed) << 16) |
                                                           (uint32_t(c.rgbGreen) << 8) | c.rgbBlue;
        }
    }
    return section;
}
