#include "graphics/bmp_file.h"

#include <cstdlib>
#include <cstring>

#include "graphics/dib_format.h"
#include "platform/base/byte_reader.h"
#include "platform/classlib/exceptions.h"
#include "platform/classlib/file.h"

namespace {

// Reading from a class-library file, which throws its exceptions.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Bytes read, fewer at the end of the data.
    virtual UINT Read(void* buffer, UINT count) = 0;
    // Bytes left to read.
    virtual ULONGLONG Remaining() const = 0;
};

class FileSource : public ByteSource {
public:
    explicit FileSource(CFile* file) : m_file(file) {}
    UINT Read(void* buffer, UINT count) override { return m_file->Read(buffer, count); }
    ULONGLONG Remaining() const override
    {
        ULONGLONG length = m_file->GetLength();
        ULONGLONG position = m_file->GetPosition();
        return length > position ? length - position : 0;
    }

private:
    CFile* m_file;
};

// Puts the rows right after the colour table when the file left a gap.
bool CloseGap(BYTE* image, DWORD size)
{
    BYTE* dib = image + kBmpFileHeaderSize;
    const DWORD tableEnd = kBmpFileHeaderSize + DibHeaderSize(dib) + DibPaletteSize(dib);
    const DWORD offset = GetU32LE(image + 10);
    if (offset == tableEnd)
        return true;
    const DWORD rows = DibAlignedImageSize(DibWidth(dib), DibHeight(dib), DibBitCount(dib));
    if (offset < tableEnd || offset > size || size - offset < rows)
        return false;
    memmove(image + tableEnd, image + offset, rows);
    PutU32LE(image + 10, tableEnd);
    return true;
}

void RepairInfoHeader(BITMAPINFOHEADER* header)
{
    if (header->biClrUsed == 0 && header->biBitCount <= 8 && header->biBitCount > 0)
        header->biClrUsed = 1u << header->biBitCount;
    DibFillImageSize(header);
}

BYTE* ReadImage(ByteSource& source, DWORD& size)
{
    size = 0;
    BYTE fileHeader[kBmpFileHeaderSize];
    if (source.Read(fileHeader, kBmpFileHeaderSize) != kBmpFileHeaderSize)
        return nullptr;
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return nullptr;
    const DWORD fileSize = BmpFileSizeField(fileHeader);
    if (fileSize < kBmpFileHeaderSize + sizeof(BITMAPINFOHEADER) ||
        fileSize - kBmpFileHeaderSize > source.Remaining())
        return nullptr;
    BYTE* image = static_cast<BYTE*>(malloc(fileSize));
    if (!image)
        return nullptr;
    memcpy(image, fileHeader, kBmpFileHeaderSize);
    const UINT rest = fileSize - kBmpFileHeaderSize;
    if (source.Read(image + kBmpFileHeaderSize, rest) != rest ||
        !DibIsInfoHeader(image + kBmpFileHeaderSize) || !CloseGap(image, fileSize)) {
        free(image);
        return nullptr;
    }
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(image + kBmpFileHeaderSize);
    // The colour count is checked as the file gives it, then made explicit.
    if (!IsWholeBmpFileImage(image, fileSize)) {
        free(image);
        return nullptr;
    }
    RepairInfoHeader(header);
    size = fileSize;
    return image;
}

BYTE* ReadImageCatching(ByteSource& source, DWORD& size)
{
    try {
        return ReadImage(source, size);
    } catch (CException* error) {
        error->Delete();
        size = 0;
        return nullptr;
    }
}

}  // namespace

DWORD BmpFileSizeField(const BYTE* image)
{
    return GetU32LE(image + 2);
}

bool IsWholeBmpFileImage(const BYTE* image, size_t size)
{
    if (!image || size < kBmpFileHeaderSize + sizeof(BITMAPINFOHEADER))
        return false;
    const DWORD fileSize = BmpFileSizeField(image);
    if (image[0] != 'B' || image[1] != 'M' || fileSize > size ||
        fileSize < kBmpFileHeaderSize + sizeof(BITMAPINFOHEADER))
        return false;
    const BYTE* dib = image + kBmpFileHeaderSize;
    return DibIsInfoHeader(dib) && DibFitsIn(dib, fileSize - kBmpFileHeaderSize);
}

BYTE* ReadBmpFileImage(CFile* file, DWORD& size)
{
    size = 0;
    if (!file)
        return nullptr;
    FileSource source(file);
    return ReadImageCatching(source, size);
}

BYTE* MakeBmpFileImage24(int width, int height, const BYTE* rows, size_t stride, bool topDown)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const DWORD offset = kBmpFileHeaderSize + sizeof(BITMAPINFOHEADER);
    const DWORD image = DibAlignedImageSize(width, height, 24);
    if (rowBytes > stride || image == 0 || image > 0xFFFFFFFFu - offset)
        return nullptr;
    BYTE* file = static_cast<BYTE*>(malloc(offset + image));
    if (!file)
        return nullptr;
    MakeBmpFileHeader(file, offset + image, offset);
    BITMAPINFOHEADER header = MakeInfoHeader(width, height, 24);
    header.biSizeImage = image;
    memcpy(file + kBmpFileHeaderSize, &header, sizeof(header));
    BYTE* out = file + offset;
    for (int y = 0; y < height; ++y, out += rowBytes) {
        const int source = topDown ? height - 1 - y : y;
        memcpy(out, rows + stride * static_cast<size_t>(source), rowBytes);
    }
    return file;
}
