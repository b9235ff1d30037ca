#include "drawing/library/single_image.h"

#include <string.h>

#include "core/file_utils.h"
#include "drawing/library/library_source.h"
#include "graphics/bmp_file.h"
#include "graphics/kbmp.h"
#include "platform/base/byte_reader.h"

namespace {

// The fields between the two offsets and the image: name NUL, time, size,
// reserved, width, height.
const uint32_t kRecordFieldBytes = 16 + 1 + 8 + 4 + 4 + 4 + 4;
const uint32_t kImageTagBmp = 1;
// Tags below this mean a BMP file image follows.
const uint32_t kFirstOtherImageTag = 2;
// The tag, the BMP file header and the info header's width and height.
const uint32_t kImageHeadBytes = 4 + 14 + 12;
const uint32_t kSmallestBmpBytes = 14 + 40;
// Enough for the fields of any record (names are shorter than MAX_PATH)
// and, mostly, the head of its image.
const uint32_t kRecordWindowBytes = 16 + MAX_PATH + 24 + kImageHeadBytes;

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
    if (!HasImage() || width != static_cast<uint32_t>(wantedWidth) || height != static_cast<uint32_t>(wantedHeight) ||
        name.CompareNoCase(fileName) != 0)
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
    m_source.reset();
    if (!image)
        image = new KBMP;
    return image->Copy(thumbnail);
}

bool TSingleImage::GetImage(KBMP& out)
{
    if (image)
        return out.Copy(*image);
    if (!m_source)
        return false;
    const BYTE* block = m_source->At(m_imageOffset, m_imageSize);
    // Lend checks the whole BMP file image.
    if (block && BmpFileSizeField(block) == m_imageSize && out.Lend(block, m_source))
        return true;
    m_source.reset();
    return false;
}

bool TSingleImage::Read(const std::shared_ptr<CLibrarySource>& source, uint64_t& position)
{
    const uint64_t start = position;
    if (start >= source->Size())
        return false;
    uint8_t window[kRecordWindowBytes];
    const uint64_t left = source->Size() - start;
    const uint32_t windowBytes = left < kRecordWindowBytes ? static_cast<uint32_t>(left) : kRecordWindowBytes;
    if (!source->ReadAt(start, window, windowBytes))
        return false;
    CByteReader reader(window, windowBytes);
    const uint64_t imageOffset = reader.U64LE();
    const uint64_t next = reader.U64LE();
    if (!reader.Ok() || next <= start || next > source->Size())
        return false;
    const uint8_t* text = reader.Here();
    const uint64_t spanLeft = next - start - reader.Position();
    const size_t searched = spanLeft < reader.Remaining() ? static_cast<size_t>(spanLeft) : reader.Remaining();
    const void* nul = memchr(text, 0, searched < MAX_PATH ? searched : MAX_PATH);
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
    if (start + reader.Position() < imageOffset) {
        width = reader.U32LE();
        height = reader.U32LE();
    }
    if (!reader.Ok() || imageOffset < start + reader.Position() || next < kImageHeadBytes ||
        imageOffset > next - kImageHeadBytes)
        return false;

    delete image;
    image = nullptr;
    m_source.reset();
    uint8_t head[kImageHeadBytes];
    const bool inWindow = imageOffset + kImageHeadBytes <= start + windowBytes;
    if (inWindow)
        memcpy(head, window + (imageOffset - start), kImageHeadBytes);
    if (inWindow || source->ReadAt(imageOffset, head, kImageHeadBytes)) {
        const uint32_t tag = GetU32LE(head);
        const uint32_t bmpSize = GetU32LE(head + 6);
        if (tag < kFirstOtherImageTag && head[4] == 'B' && head[5] == 'M' && bmpSize >= kSmallestBmpBytes &&
            bmpSize <= next - imageOffset - 4) {
            m_source = source;
            m_imageOffset = imageOffset + 4;
            m_imageSize = bmpSize;
            if (width == 0 && height == 0) {
                width = GetU32LE(head + 4 + 18);
                height = GetU32LE(head + 4 + 22);
            }
        }
    }
    position = next;
    return true;
}

bool TSingleImage::Write(std::vector<uint8_t>& out, uint64_t position, const char* folder, bool force) const
{
    if (!HasImage())
        return false;
    if (!force && !used && !FileExists(CString(folder) + name))
        return false;
    const uint32_t bmpSize = image ? image->GetFileSize() : m_imageSize;
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
    bool copied = true;
    if (image)
        memcpy(p + 28, image->data, bmpSize);
    else
        copied = m_source->ReadAt(m_imageOffset, p + 28, bmpSize) && IsWholeBmpFileImage(p + 28, bmpSize);
    if (!copied)
        out.resize(start);
    return copied;
}
