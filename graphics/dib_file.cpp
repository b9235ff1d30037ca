// CDib as BMP files: writing, reading and serialising.
#include "graphics/dib.h"

#include <cstdlib>
#include <cstring>

#include "platform/base/file_replace.h"
#include "graphics/bmp_file.h"
#include "graphics/dib_format.h"
#include "platform/classlib/archive.h"
#include "platform/classlib/file.h"

BYTE* CDib::BmpFileImage() const
{
    BYTE* image = CopyToBmpFile();
    if (image && m_nResolution > 0) {
        BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(image + kBmpFileHeaderSize);
        const LONG perMetre = static_cast<LONG>(m_nResolution * 1000 / 25.4 + 1);
        header->biXPelsPerMeter = perMetre;
        header->biYPelsPerMeter = perMetre;
    }
    return image;
}

BOOL CDib::WriteBmp(CFile* file) const
{
    BYTE* image = BmpFileImage();
    if (!image || !file) {
        free(image);
        return FALSE;
    }
    BOOL written = TRUE;
    try {
        file->Write(image, kBmpFileHeaderSize);
        file->Write(image + kBmpFileHeaderSize, BmpFileSizeField(image) - kBmpFileHeaderSize);
    } catch (CException* error) {
        error->Delete();
        written = FALSE;
    }
    free(image);
    return written;
}

BOOL CDib::ReadBmp(CFile* file)
{
    DWORD size = 0;
    BYTE* image = ReadBmpFileImage(file, size);
    if (!image)
        return FALSE;
    HGLOBAL dib = CopyToGlobalHandle(image + kBmpFileHeaderSize, size - kBmpFileHeaderSize);
    free(image);
    if (!dib)
        return FALSE;
    return Adopt(dib);
}

BOOL CDib::Save(const char* path) const
{
    BYTE* image = BmpFileImage();
    if (!image)
        return FALSE;
    const bool saved = ReplaceFileWithBytes(path, image, BmpFileSizeField(image)) == ReplaceFileDone;
    free(image);
    return saved;
}

void CDib::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    const BOOL done = ar.IsStoring() ? WriteBmp(ar.GetFile()) : ReadBmp(ar.GetFile());
    if (!done)
        throw new CArchiveException(CArchiveException::genericException);
}
