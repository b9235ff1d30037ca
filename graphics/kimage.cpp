// The raster document as a record of the vector picture: reading, lazy
// decoding, drawing and extents.
#include "graphics/kimage.h"

#include <string.h>

KImage::KImage() : formatId(0), image(nullptr)
{
    path[0] = '\0';
    origin.x = 0.0f;
    origin.y = 0.0f;
}

KImage::~KImage()
{
    Clear();
}

void KImage::Clear()
{
    delete image;
    image = nullptr;
    fileBytes.Free();
}

bool KImage::Read(KBuffer& buffer)
{
    uint32_t unused = 0;
    float x = 0.0f;
    float y = 0.0f;
    uint32_t format = 0;
    Clear();
    if (!buffer.ReadUInt32(format) || !buffer.ReadUInt32(unused) || !buffer.ReadFloat(x) ||
        !buffer.ReadFloat(y) || !fileBytes.ReadBlock(buffer))
        return false;
    formatId = format;
    origin.x = x;
    origin.y = y;
    return true;
}

void KImage::DecodePendingBytes()
{
    if (image || fileBytes.GetSize() == 0)
        return;
    CxImage* decoded = new (std::nothrow) CxImage(const_cast<BYTE*>(fileBytes.GetData()),
                                                  fileBytes.GetSize(), formatId);
    if (decoded && decoded->IsValid())
        image = decoded;
    else
        delete decoded;
    fileBytes.Free();
}

bool KImage::Draw(KCanvas& canvas, bool frame, int frameOffset, COLORREF frameColour,
                  bool withPixels, bool fastStretch)
{
    DecodePendingBytes();
    if (!image)
        return false;
    return canvas.DrawImage(origin, static_cast<int>(image->GetWidth()),
                            static_cast<int>(image->GetHeight()),
                            withPixels ? image->GetBits(0) : nullptr,
                            static_cast<const BITMAPINFO*>(image->GetDIB()), frame, frameOffset,
                            frameColour, fastStretch);
}

void KImage::GetExtents(KWorldRect& box, bool& first)
{
    DecodePendingBytes();
    if (!image)
        return;
    KWorldRect own = {origin.x, origin.y + image->GetHeight(), origin.x + image->GetWidth(),
                      origin.y};
    if (first) {
        box = own;
        first = false;
        return;
    }
    if (own.left < box.left)
        box.left = own.left;
    if (own.right > box.right)
        box.right = own.right;
    if (own.top > box.top)
        box.top = own.top;
    if (own.bottom < box.bottom)
        box.bottom = own.bottom;
}

bool KImage::SetPath(const char* filePath)
{
    size_t length = strlen(filePath);
    if (length >= sizeof(path))
        return false;
    memcpy(path, filePath, length + 1);
    return true;
}

void KImage::SetSizeInfo(DWORD width, DWORD height, int bits)
{
    infoText.Format("width:%d , height:%d , bits:%d", static_cast<int>(width),
                    static_cast<int>(height), bits);
}

bool KImage::RotateLeft()
{
    return image && image->RotateLeft();
}

bool KImage::RotateRight()
{
    return image && image->RotateRight();
}

bool KImage::Mirror()
{
    return image && image->Mirror();
}

bool KImage::Flip()
{
    return image && image->Flip();
}

void ApplyExifOrientation(CxImage& image, int orientation)
{
    switch (orientation) {
    case 2:
        image.Mirror();
        break;
    case 3:
        image.Rotate180();
        break;
    case 4:
        image.Flip();
        break;
    case 5:
        image.RotateLeft();
        image.Flip();
        break;
    case 6:
        image.RotateRight();
        break;
    case 7:
        image.RotateRight();
        image.Flip();
        break;
    case 8:
        image.RotateLeft();
        break;
    default:
        break;
    }
}
