// The raster document's files: loading by extension, thumbnails, saving,
// pages, the EXIF orientation rewrite and the EXIF summary text.
#include <math.h>
#include <string.h>

#include <new>

#include "codecs/ximajpg.h"
#include "graphics/jpeg_markers.h"
#include "graphics/kimage.h"
#include "graphics/psd_reader.h"
#include "graphics/win32_file.h"

namespace {

struct ExtensionFormat {
    const char* extension;
    DWORD formatId;
};

const ExtensionFormat kLoadFormats[] = {
    {".bmp", CXIMAGE_FORMAT_BMP}, {".jpg", CXIMAGE_FORMAT_JPG},  {".jpeg", CXIMAGE_FORMAT_JPG},
    {".gif", CXIMAGE_FORMAT_GIF}, {".psd", KIMAGE_FORMAT_PSD},   {".png", CXIMAGE_FORMAT_PNG},
    {".mng", CXIMAGE_FORMAT_MNG}, {".jng", CXIMAGE_FORMAT_MNG},  {".ico", CXIMAGE_FORMAT_ICO},
    {".tiff", CXIMAGE_FORMAT_TIF}, {".tif", CXIMAGE_FORMAT_TIF}, {".tga", CXIMAGE_FORMAT_TGA},
    {".pcx", CXIMAGE_FORMAT_PCX}, {".wbmp", CXIMAGE_FORMAT_WBMP}, {".wmf", CXIMAGE_FORMAT_WMF},
    {".emf", CXIMAGE_FORMAT_WMF},
};

const ExtensionFormat kSaveFormats[] = {
    {".bmp", CXIMAGE_FORMAT_BMP}, {".wmf", CXIMAGE_FORMAT_WMF},  {".jpg", CXIMAGE_FORMAT_JPG},
    {".jpeg", CXIMAGE_FORMAT_JPG}, {".gif", CXIMAGE_FORMAT_GIF}, {".pcx", CXIMAGE_FORMAT_PCX},
    {".tga", CXIMAGE_FORMAT_TGA}, {".mng", CXIMAGE_FORMAT_MNG},  {".tif", CXIMAGE_FORMAT_TIF},
    {".png", CXIMAGE_FORMAT_PNG}, {".psd", KIMAGE_FORMAT_PSD},
};

// New orientation after a step (rows: rotate left, rotate right, mirror,
// flip), by the current orientation 1 to 8.
const BYTE kOrientationSteps[4][8] = {
    {8, 5, 6, 7, 4, 1, 2, 3},
    {6, 7, 8, 5, 2, 3, 4, 1},
    {2, 1, 4, 3, 6, 5, 8, 7},
    {4, 3, 2, 1, 8, 7, 6, 5},
};

const size_t kMaxExtension = 16;

// The format of the path's extension in the table, 0 when it has none or
// an unknown one. The extension is lowered with the system's ANSI rules.
template <size_t N>
DWORD FormatOfPath(const char* path, const ExtensionFormat (&table)[N])
{
    if (!path)
        return 0;
    const char* dot = strrchr(path, '.');
    if (!dot || strpbrk(dot, "\\/") || strlen(dot) >= kMaxExtension)
        return 0;
    char extension[kMaxExtension];
    strcpy(extension, dot);
    CharLowerA(extension);
    for (const ExtensionFormat& entry : table) {
        if (lstrcmpiA(extension, entry.extension) == 0)
            return entry.formatId;
    }
    return 0;
}

// A new image of the PSD file's composite, or null.
CxImage* LoadPsd(const char* path, PsdReader& reader)
{
    if (reader.Load(path) != 0)
        return nullptr;
    HBITMAP bitmap = reader.Detach();
    if (!bitmap)
        return nullptr;
    CxImage* image = new (std::nothrow) CxImage;
    if (image && !image->CreateFromHBITMAP(bitmap)) {
        delete image;
        image = nullptr;
    }
    DeleteObject(bitmap);
    return image;
}

// A new image of the file decoded with the format id (JPEG turned by its
// EXIF orientation), or null.
CxImage* DecodeFile(const char* path, DWORD formatId)
{
    KBuffer bytes;
    if (!bytes.LoadFile(path))
        return nullptr;
    CxImage* image =
        new (std::nothrow) CxImage(const_cast<BYTE*>(bytes.GetData()), bytes.GetSize(), formatId);
    if (image && !image->IsValid()) {
        delete image;
        return nullptr;
    }
    if (image && formatId == CXIMAGE_FORMAT_JPG)
        ApplyExifOrientation(*image, ReadJpegExifOrientation(path));
    return image;
}

}  // namespace

DWORD KImageFormatOfPath(const char* filePath)
{
    return FormatOfPath(filePath, kLoadFormats);
}

bool KImage::Load(const char* filePath, const KType::RPoint2D& where)
{
    DWORD format = KImageFormatOfPath(filePath);
    if (format == 0) {
        formatId = 0;
        return false;
    }
    if (strlen(filePath) >= sizeof(path))
        return false;
    formatId = format;
    origin = where;
    Clear();
    infoText.Empty();
    if (format == KIMAGE_FORMAT_PSD) {
        PsdReader reader;
        image = LoadPsd(filePath, reader);
        if (!image)
            return false;
        SetSizeInfo(reader.GetWidth(), reader.GetHeight(), 3 * reader.GetBitsPerChannel());
        const char* modeName = PsdReader::ColourModeName(reader.GetColourMode());
        if (modeName) {
            infoText.Append(" [ ");
            infoText.Append(modeName);
            infoText.Append(" ]");
        }
    } else {
        image = DecodeFile(filePath, format);
        if (!image)
            return false;
        SetSizeInfo(image->GetWidth(), image->GetHeight(), image->GetBpp());
    }
    return SetPath(filePath);
}

CxImage* KImage::LoadThumbnail(const char* filePath, int type)
{
    DWORD format = type < 0 ? KImageFormatOfPath(filePath) : static_cast<DWORD>(type);
    if (format == 0 || !filePath)
        return nullptr;
    if (format == KIMAGE_FORMAT_PSD) {
        PsdReader reader;
        return LoadPsd(filePath, reader);
    }
    return DecodeFile(filePath, format);
}

bool KImage::SaveAs(const char* filePath, BYTE quality)
{
    DWORD format = FormatOfPath(filePath, kSaveFormats);
    if (!image || format == 0)
        return false;
    switch (format) {
    case CXIMAGE_FORMAT_GIF:
    case CXIMAGE_FORMAT_PCX: {
        if (image->GetBpp() <= 8)
            return image->Save(filePath, format);
        CxImage reduced(*image);
        return reduced.IsValid() && reduced.DecreaseBpp(8, true) &&
               reduced.Save(filePath, format);
    }
    case CXIMAGE_FORMAT_BMP:
    case CXIMAGE_FORMAT_JPG:
    case CXIMAGE_FORMAT_TIF:
    case CXIMAGE_FORMAT_TGA:
    case CXIMAGE_FORMAT_PNG:
        image->SetJpegQuality(quality);
        return image->Save(filePath, format);
    default:
        return false;  // MNG, WMF/EMF and PSD are never written
    }
}

bool KImage::DecodeFrame(int32_t frame)
{
    if (!image)
        return false;
    Clear();
    if (formatId == KIMAGE_FORMAT_PSD) {
        PsdReader reader;
        image = LoadPsd(path, reader);
        return image != nullptr;
    }
    CxImage* decoded = new (std::nothrow) CxImage(formatId);
    if (!decoded)
        return false;
    decoded->SetFrame(frame);
    bool ok = fileBytes.LoadFile(path) &&
              decoded->Decode(const_cast<BYTE*>(fileBytes.GetData()), fileBytes.GetSize(),
                              formatId) &&
              decoded->IsValid();
    fileBytes.Free();
    if (!ok) {
        delete decoded;
        return false;
    }
    image = decoded;
    return true;
}

bool KImage::RotateExifOrientation(int step)
{
    if (formatId != CXIMAGE_FORMAT_JPG || step < 0 || step > 3)
        return false;
    int orientation = ReadJpegExifOrientation(path);
    if (orientation < 1 || orientation > 8)
        orientation = 1;
    return WriteJpegExifOrientation(path, kOrientationSteps[step][orientation - 1]);
}

KString KImageExifSummary(const CxExifRecord& exif)
{
    KString text;
    if (exif.cameraMake[0]) {
        text.Append(" ");
        text.Append(exif.cameraModel);
    }
    KString part;
    part.Format(" %dx%d", exif.width, exif.height);
    text.Append(part);
    if (exif.flashUsed >= 0)
        text.Append(exif.flashUsed > 0 ? " Flashed" : " ");

    KString bracket;
    static const char* const kProgramLabels[] = {nullptr, " M:", " A/P:)", " A:", " S:"};
    if (exif.exposureProgram >= 1 && exif.exposureProgram <= 4)
        bracket.Append(kProgramLabels[exif.exposureProgram]);
    if (exif.apertureFNumber != 0.0f) {
        part.Format(" f/%3.1f ,", exif.apertureFNumber);
        bracket.Append(part);
    }
    if (exif.exposureTime != 0.0f) {
        if (exif.exposureTime > 0.5f)
            part.Format(" %6.3fs ", exif.exposureTime);
        else
            part.Format(" 1/%ds", static_cast<int>(floor(1.0 / exif.exposureTime + 0.5)));
        bracket.Append(part);
    }
    if (!bracket.IsEmpty()) {
        text.Append("[");
        text.Append(bracket);
        text.Append("]");
    }
    if (exif.dateTime[0]) {
        text.Append(" ");
        text.Append(exif.dateTime);
    }
    return text;
}

KString KImage::GetInfoText(const char* filePath)
{
    KString text;
    FILE* file = OpenWin32File(filePath, "rb");
    if (!file)
        return text;
    CxImageJPG jpeg;
    bool valid = jpeg.DecodeExif(file);
    fclose(file);
    if (valid)
        text = KImageExifSummary(jpeg.GetExifRecord());
    return text;
}
