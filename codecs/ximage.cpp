#include "codecs/ximage.h"

#include <stdlib.h>
#include <string.h>

#include "codecs/xmemfile.h"

static_assert(sizeof(BITMAPINFOHEADER) == 40, "DIB header must be 40 bytes");
static_assert(sizeof(RGBQUAD) == 4, "palette entries must be 4 bytes");

namespace {

const int32_t kDefaultDpi = 96;
const double kInchesPerMetre = 39.37007874015748;

WORD DepthFor(DWORD bpp)
{
    if (bpp <= 1)
        return 1;
    if (bpp <= 4)
        return 4;
    if (bpp <= 8)
        return 8;
    return 24;
}

DWORD PaletteEntriesFor(WORD depth)
{
    switch (depth) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

}  // namespace

CxImage::CxImage(DWORD type)
{
    Startup(type);
}

CxImage::CxImage(DWORD width, DWORD height, DWORD bpp, DWORD type)
{
    Startup(type);
    Create(width, height, bpp, type);
}

CxImage::CxImage(const CxImage& source, bool copyPixels, bool copySelection, bool copyAlpha)
{
    Startup(source.GetType());
    Copy(source, copyPixels, copySelection, copyAlpha);
}

CxImage::CxImage(BYTE* buffer, DWORD size, DWORD type)
{
    Startup(type);
    CxMemFile stream(buffer, size);
    Decode(&stream, type);
}

CxImage::~CxImage()
{
    Destroy();
}

void CxImage::Startup(DWORD type)
{
    dib = NULL;
    selection = NULL;
    alpha = NULL;
    memset(&header, 0, sizeof(header));
    memset(&info, 0, sizeof(info));
    info.type = type;
    info.jpegQuality = 90;
    info.alphaMax = 255;
    info.transIndex = -1;
    SetXDPI(kDefaultDpi);
    SetYDPI(kDefaultDpi);
}

bool CxImage::Fail(const char* message)
{
    if (message != info.lastError) {
        strncpy(info.lastError, message ? message : "", CXIMAGE_ERROR_LENGTH - 1);
        info.lastError[CXIMAGE_ERROR_LENGTH - 1] = 0;
    }
    return false;
}

CxRowSink* CxImage::RowSinkFor(DWORD width, DWORD height) const
{
    return info.rowSink && info.rowSink->WantsRows(width, height) ? info.rowSink : NULL;
}

void* CxImage::Create(DWORD width, DWORD height, DWORD bpp, DWORD type)
{
    if (!Destroy())
        return NULL;
    if (width == 0 || height == 0) {
        Fail("CxImage::Create : width and height must be greater than zero");
        return NULL;
    }
    WORD depth = DepthFor(bpp);
    unsigned __int128 bits = (unsigned __int128)width * height * depth;
    uint64_t effWidth = (((uint64_t)width * depth + 31) >> 5) << 2;
    DWORD colors = PaletteEntriesFor(depth);
    uint64_t imageBytes = effWidth * height;
    uint64_t blockBytes = sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD) + imageBytes;
    if ((bits >> 8) > CXIMAGE_MAX_MEMORY || blockBytes > CXIMAGE_MAX_DIB_BYTES ||
        width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        Fail("CXIMAGE_MAX_MEMORY exceeded");
        return NULL;
    }

    header.biClrUsed = colors;
    info.type = type;
    info.effWidth = (DWORD)effWidth;
    info.nearestValid = 0;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = (LONG)width;
    header.biHeight = (LONG)height;
    header.biPlanes = 1;
    header.biBitCount = depth;
    header.biCompression = BI_RGB;
    header.biSizeImage = (DWORD)imageBytes;
    header.biClrImportant = 0;

    // Zeroed: pixels that a truncated file does not give stay black, and a
    // large block costs nothing until it is written.
    dib = calloc((size_t)blockBytes, 1);
    if (!dib) {
        Fail("CxImage::Create can't allocate memory");
        return NULL;
    }
    memcpy(dib, &header, sizeof(header));
    info.firstRow = (BYTE*)dib + sizeof(BITMAPINFOHEADER) + GetPaletteSize();
    return dib;
}

bool CxImage::Destroy()
{
    if (info.ghost)
        return false;
    free(selection);
    free(alpha);
    free(dib);
    selection = NULL;
    alpha = NULL;
    dib = NULL;
    info.firstRow = NULL;
    return true;
}

size_t CxImage::PlaneBytes() const
{
    return (size_t)GetWidth() * GetHeight();
}

// Replaces `plane` with a copy of the source plane of this image's size;
// the old plane stays when no memory is left.
bool CxImage::CopyPlane(BYTE*& plane, const BYTE* source)
{
    size_t bytes = PlaneBytes();
    BYTE* copy = (BYTE*)malloc(bytes ? bytes : 1);
    if (!copy)
        return false;
    memcpy(copy, source, bytes);
    free(plane);
    plane = copy;
    return true;
}

bool CxImage::Copy(const CxImage& source, bool copyPixels, bool copySelection, bool copyAlpha)
{
    if (&source == this)
        return true;
    if (info.ghost)
        return false;
    memcpy(&info, &source.info, sizeof(info));
    info.ghost = NULL;
    info.rowSink = NULL;
    header.biXPelsPerMeter = source.header.biXPelsPerMeter;
    header.biYPelsPerMeter = source.header.biYPelsPerMeter;
    if (!source.IsValid()) {
        Destroy();
        info.firstRow = NULL;
        info.effWidth = 0;
        memcpy(&header, &source.header, sizeof(header));
        return true;
    }
    if (!Create(source.GetWidth(), source.GetHeight(), source.GetBpp(), source.GetType()))
        return false;
    if (copyPixels) {
        memcpy(dib, source.dib, source.GetSize());
        memcpy(&header, &source.header, sizeof(header));
    } else {
        SetPalette(source.GetPalette(), source.GetNumColors());
    }
    if (copySelection && source.selection && !CopyPlane(selection, source.selection)) {
        Destroy();
        return Fail("CxImage::Copy can't allocate memory");
    }
    if (copyAlpha && source.alpha && !CopyPlane(alpha, source.alpha)) {
        Destroy();
        return Fail("CxImage::Copy can't allocate memory");
    }
    return true;
}

bool CxImage::Transfer(CxImage& from)
{
    if (&from == this)
        return true;
    if (!Destroy())
        return false;
    memcpy(&header, &from.header, sizeof(header));
    memcpy(&info, &from.info, sizeof(info));
    dib = from.dib;
    selection = from.selection;
    alpha = from.alpha;

    memset(&from.header, 0, sizeof(from.header));
    memset(&from.info, 0, sizeof(from.info));
    from.dib = NULL;
    from.selection = NULL;
    from.alpha = NULL;
    return true;
}

void CxImage::Ghost(CxImage* from)
{
    if (!from)
        return;
    memcpy(&header, &from->header, sizeof(header));
    memcpy(&info, &from->info, sizeof(info));
    dib = from->dib;
    selection = from->selection;
    alpha = from->alpha;
    info.ghost = from;
}

void CxImage::CopyInfo(const CxImage& source)
{
    if (dib)
        return;
    CxImage* ghost = info.ghost;
    memcpy(&info, &source.info, sizeof(info));
    info.ghost = ghost;
    info.firstRow = NULL;
}

BYTE CxImage::GetColorType() const
{
    if (alpha)
        return 4;
    return GetBpp() <= 8 ? 1 : 2;
}

BYTE* CxImage::GetBits(DWORD row) const
{
    if (!dib)
        return NULL;
    if (row == 0)
        return info.firstRow;
    if (row >= GetHeight())
        return NULL;
    return info.firstRow + (size_t)info.effWidth * row;
}

DWORD CxImage::GetSize() const
{
    return sizeof(BITMAPINFOHEADER) + GetPaletteSize() + header.biSizeImage;
}

void CxImage::SetXDPI(int32_t dpi)
{
    if (dpi < 1)
        dpi = kDefaultDpi;
    info.xDpi = dpi;
    header.biXPelsPerMeter = (LONG)(dpi * kInchesPerMetre + 0.5);
}

void CxImage::SetYDPI(int32_t dpi)
{
    if (dpi < 1)
        dpi = kDefaultDpi;
    info.yDpi = dpi;
    header.biYPelsPerMeter = (LONG)(dpi * kInchesPerMetre + 0.5);
}

void CxImage::GetOffset(int32_t* x, int32_t* y) const
{
    if (x)
        *x = info.xOffset;
    if (y)
        *y = info.yOffset;
}

DWORD CxImage::GetCodecOption(DWORD format) const
{
    if (format >= CMAX_IMAGE_FORMATS)
        return 0;
    if (format == CXIMAGE_FORMAT_UNKNOWN)
        format = info.type;
    return format < CMAX_IMAGE_FORMATS ? info.codecOptions[format] : 0;
}

bool CxImage::SetCodecOption(DWORD option, DWORD format)
{
    if (format >= CMAX_IMAGE_FORMATS)
        return false;
    if (format == CXIMAGE_FORMAT_UNKNOWN)
        format = info.type;
    if (format >= CMAX_IMAGE_FORMATS)
        return false;
    info.codecOptions[format] = option;
    return true;
}

void CxImage::SetTransColor(RGBQUAD color)
{
    color.rgbReserved = 0;
    info.transColor = color;
}

RGBQUAD CxImage::GetTransColor() const
{
    if (GetBpp() < 24 && info.transIndex != -1)
        return GetPaletteColor((BYTE)info.transIndex);
    return info.transColor;
}
