#include "drawing/thumbnails/jpeg_thumbnail.h"

#include <windows.h>

#include <memory>
#include <new>

#include "codecs/ximage.h"
#include "graphics/jpeg_markers.h"
#include "graphics/kbuffer.h"
#include "graphics/kimage.h"

namespace {

const int kJpegScales[] = {8, 4, 2};

// EXIF orientations 5 to 8 exchange width and height.
bool TurnsSideways(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

int ScaledSide(int side, int denominator)
{
    return (side + denominator - 1) / denominator;
}

}  // namespace

void FitThumbnailSize(int width, int height, int boxWidth, int boxHeight, int& drawnWidth, int& drawnHeight)
{
    double scale = 1.0;
    if (width > 0 && height > 0) {
        scale = static_cast<double>(boxWidth) / width;
        const double vertical = static_cast<double>(boxHeight) / height;
        if (vertical < scale)
            scale = vertical;
        if (scale > 1.0)
            scale = 1.0;
    }
    drawnWidth = static_cast<int>(width * scale);
    drawnHeight = static_cast<int>(height * scale);
    if (drawnWidth < 1)
        drawnWidth = 1;
    if (drawnHeight < 1)
        drawnHeight = 1;
}

int ChooseJpegScale(int width, int height, int wantedWidth, int wantedHeight)
{
    for (int denominator : kJpegScales) {
        if (ScaledSide(width, denominator) >= wantedWidth && ScaledSide(height, denominator) >= wantedHeight)
            return denominator;
    }
    return 1;
}

CxImage* LoadJpegThumbnail(const char* path, int boxWidth, int boxHeight, int& fullWidth, int& fullHeight)
{
    KBuffer bytes;
    if (!bytes.LoadFile(path))
        return nullptr;
    BYTE* data = const_cast<BYTE*>(bytes.GetData());

    CxImage header(CXIMAGE_FORMAT_JPG);
    header.SetEscape(-1);
    if (!header.Decode(data, bytes.GetSize(), CXIMAGE_FORMAT_JPG))
        return nullptr;
    const int width = static_cast<int>(header.GetWidth());
    const int height = static_cast<int>(header.GetHeight());
    if (width <= 0 || height <= 0)
        return nullptr;

    const int orientation = ReadJpegExifOrientation(path);
    const bool sideways = TurnsSideways(orientation);
    fullWidth = sideways ? height : width;
    fullHeight = sideways ? width : height;
    int drawnWidth = 0, drawnHeight = 0;
    FitThumbnailSize(fullWidth, fullHeight, boxWidth, boxHeight, drawnWidth, drawnHeight);

    std::unique_ptr<CxImage> image(new (std::nothrow) CxImage(CXIMAGE_FORMAT_JPG));
    if (!image)
        return nullptr;
    image->SetJpegScale(static_cast<BYTE>(
        ChooseJpegScale(width, height, sideways ? drawnHeight : drawnWidth, sideways ? drawnWidth : drawnHeight)));
    if (!image->Decode(data, bytes.GetSize(), CXIMAGE_FORMAT_JPG) || !image->IsValid())
        return nullptr;
    ApplyExifOrientation(*image, orientation);
    return image.release();
}
