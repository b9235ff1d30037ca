#include "drawing/single_image.h"

#include <string.h>

#include "core/file_utils.h"
#include "graphics/kbmp.h"
#include "platform/base/byte_reader.h"

namespace {

// The fields between the two offsets and the image: name NUL, time, size,
// reserved, width, height.
const uint32_t kRecordFieldBytes = 16 + 1 + 8 + 4 + 4 + 4 + 4;
const uint32_t kImageTagBmp = 1;
// Tags below this mean a BMP file image follows.
const uint32_t kFirstOtherImageTag = 2;
const size_t kBmpFileHeaderBytes = 14;

}  // namespace

bool GetFileStamp(const char* path, FILETIME& time, uint32_t& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (strpbrk(path, "*?") || !GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &time);
    size = data.nFileSizeLow;
    return true;
}

TSingleImage::~TSingleImage()
{
    delete image;
}

bool TSingleImage::Matches(const char* path, const CString& fileName, int wantedWidth, int wantedHeight) const
{
    if (!image || !image->data || width != static_cast<uint32_t>(wantedWidth) ||
        height != static_cast<uint32_t>(wantedHeight) || name.CompareNoCase(fileName) != 0)
        return false;
    FILETIME now;
    uint32_t nowSize = 0;
    return GetFileStamp(path, now, nowSize) && CompareFileTime(&now, &time) == 0 && nowSize == size;
}

bool TSingleImage::Set(const char* path, const KBMP& thumbnail)
{
    name = GetFileNameExt(path);
    time = FILETIME{0, 0};
    if (!GetFileStamp(path, time, size))
        size = 0;
    if (!image)
        image = new KBMP;
    m_file.reset();
    return image->Copy(thumbnail);
}

bool TSingleImage::Read(CByteReader& reader, const TLibFileBytes& file)
{
    const uint64_t start = reader.Position();
    const uint64_t imageOffset = reader.U64LE();
    const uint64_t next = reader.U64LE();
    if (!reader.Ok() || next <= start || next > reader.Size())
        return false;
    const uint8_t* text = reader.Here();
    const size_t span = static_cast<size_t>(next - reader.Position());
    const void* nul = memchr(text, 0, span < MAX_PATH ? span : MAX_PATH);
    if (!nul)
        return false;
    const size_t nameLength = static_cast<const uint8_t*>(nul) - text;
    name = CString(reinterpret_cast<const char*>(text), static_cast<int>(nameLength));
    reader.Skip(nameLength + 1);
    time.dwLowDateTime = reader.U32LE();
    time.dwHighDateTime = reader.U32LE();
    size = reader.U32LE();
    reserved = reader.U32LE();
    width = height = 0;
    if (reader.Position() < imageOffset) {
        width = reader.U32LE();
        height = reader.U32LE();
    }
    if (!reader.Ok() || imageOffset < reader.Position() || next < 4 || imageOffset > next - 4)
        return false;
    reader.Seek(static_cast<size_t>(imageOffset));
    const uint32_t tag = reader.U32LE();
    const size_t imageBytes = static_cast<size_t>(next - reader.Position());
    delete image;
    image = nullptr;
    m_file.reset();
    if (tag < kFirstOtherImageTag && imageBytes >= kBmpFileHeaderBytes) {
        const uint8_t* bmp = reader.Here();
        const uint32_t bmpSize = GetU32LE(bmp + 2);
        if (bmpSize <= imageBytes) {
            image = new KBMP;
            if (image->Attach(const_cast<BYTE*>(bmp), true)) {
                m_file = file;
                if (width == 0 && height == 0) {
                    width = static_cast<uint32_t>(image->GetWidth());
                    height = static_cast<uint32_t>(image->GetHeight());
                }
                image->boxWidth = static_cast<int>(width);
                image->boxHeight = static_cast<int>(height);
            } else {
                delete image;
                image = nullptr;
            }
        }
    }
    return reader.Seek(static_cast<size_t>(next));
}

bool TSingleImage::Write(std::vector<uint8_t>& out, uint64_t position, const char* folder, bool force) const
{
    if (!image || !image->data)
        return false;
    if (!force && !used && !FileExists(CString(folder) + name))
        return false;
    const uint32_t bmpSize = image->GetFileSize();
    const uint64_t imageOffset = position + kRecordFieldBytes + name.GetLength();
    const uint64_t next = imageOffset + 4 + bmpSize;
    const size_t start = out.size();
    out.resize(start + (next - position));
    uint8_t* p = out.data() + start;
    PutU64LE(p, imageOffset);
    PutU64LE(p + 8, next);
    memcpy(p + 16, name.GetString(), name.GetLength() + 1);
    p += 16 + name.GetLength() + 1;
    PutU32LE(p, time.dwLowDateTime);
    PutU32LE(p + 4, time.dwHighDateTime);
    PutU32LE(p + 8, size);
    PutU32LE(p + 12, 0);
    PutU32LE(p + 16, width);
    PutU32LE(p + 20, height);
    PutU32LE(p + 24, kImageTagBmp);
    memcpy(p + 28, image->data, bmpSize);
    return true;
}
