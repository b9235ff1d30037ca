#include "graphics/jpeg_markers.h"

#include <string.h>

#include <new>

#include <ole2.h>
#include <olectl.h>

#include "codecs/ximage.h"
#include "graphics/kimage.h"
#include "graphics/win32_file.h"

const BYTE kJpegApp1Markers[] = {1, 0xE1};
const BYTE kJpegFrameMarkers[] = {13,   0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6,
                                  0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF};

namespace {

const BYTE kApp1 = 0xE1;
const BYTE kStartOfScan = 0xDA;
const BYTE kEndOfImage = 0xD9;
const uint32_t kMinExifBody = 31;
const uint32_t kExifHeaderBytes = 6;
const uint32_t kIfdEntryBytes = 12;
const WORD kThumbnailOffsetTag = 513;
const WORD kThumbnailLengthTag = 514;
const WORD kTypeShort = 3;
const BYTE kPictureLoaded = 6;

bool InList(BYTE marker, const BYTE* markers)
{
    for (BYTE i = 1; i <= markers[0]; ++i) {
        if (markers[i] == marker)
            return true;
    }
    return false;
}

uint16_t BigEndian16(const BYTE* data)
{
    return static_cast<uint16_t>((data[0] << 8) | data[1]);
}

void WriteExif16(BYTE* data, uint16_t value, bool littleEndian)
{
    if (littleEndian) {
        data[0] = static_cast<BYTE>(value & 0xFF);
        data[1] = static_cast<BYTE>(value >> 8);
    } else {
        data[0] = static_cast<BYTE>(value >> 8);
        data[1] = static_cast<BYTE>(value & 0xFF);
    }
}

// The TIFF header of an EXIF block given as an APP1 body or a whole JPEG.
bool LocateTiffHeader(const BYTE*& data, uint32_t& length, bool& littleEndian)
{
    if (!data || length == 0)
        return false;
    if (data[0] == 0xFF && !FindJpegMarker(data, length, kJpegApp1Markers))
        return false;
    return CheckExifHeader(data, length, littleEndian) && length >= 8;
}

// Offset of the entry count of IFD0 within the TIFF block, or 0 when it
// does not lie within the block.
uint32_t Ifd0Offset(const BYTE* tiff, uint32_t length, bool littleEndian)
{
    uint32_t offset = ReadExif32(tiff + 4, littleEndian);
    if (offset < 8 || static_cast<uint64_t>(offset) + 2 > length)
        return 0;
    return offset;
}

// The value of an IFD entry of the given type, or -1 for other types.
int64_t EntryValue(const BYTE* entry, bool littleEndian)
{
    uint16_t type = ReadExif16(entry + 2, littleEndian);
    const BYTE* value = entry + 8;
    switch (type) {
    case 1:
    case 6:
        return value[0];
    case 3:
    case 8:
        return ReadExif16(value, littleEndian);
    case 4:
    case 9:
        return ReadExif32(value, littleEndian);
    default:
        return -1;
    }
}

bool ReadAll(FILE* file, void* buffer, size_t size)
{
    return fread(buffer, 1, size, file) == size;
}

}  // namespace

uint16_t ReadExif16(const BYTE* data, bool littleEndian)
{
    if (littleEndian)
        return static_cast<uint16_t>(data[0] | (data[1] << 8));
    return BigEndian16(data);
}

uint32_t ReadExif32(const BYTE* data, bool littleEndian)
{
    if (littleEndian)
        return static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
               (static_cast<uint32_t>(data[2]) << 16) | (static_cast<uint32_t>(data[3]) << 24);
    return (static_cast<uint32_t>(data[0]) << 24) | (static_cast<uint32_t>(data[1]) << 16) |
           (static_cast<uint32_t>(data[2]) << 8) | static_cast<uint32_t>(data[3]);
}

bool FindJpegMarker(const BYTE*& data, uint32_t& length, const BYTE* markers)
{
    if (!data || length < 8 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    uint64_t position = 2;
    while (position + 4 <= length) {
        const BYTE* segment = data + position;
        if (segment[0] != 0xFF)
            return false;
        BYTE marker = segment[1];
        if (marker == kStartOfScan || marker == kEndOfImage)
            return false;
        uint32_t segmentLength = BigEndian16(segment + 2);
        if (segmentLength < 2 || position + 2 + segmentLength > length)
            return false;
        if (InList(marker, markers)) {
            data = segment + 4;
            length = segmentLength - 2;
            return true;
        }
        position += 2 + segmentLength;
    }
    return false;
}

bool CheckExifHeader(const BYTE*& data, uint32_t& length, bool& littleEndian)
{
    if (!data || length < kMinExifBody || memcmp(data, "Exif\0", 5) != 0)
        return false;
    if (data[6] == 'I')
        littleEndian = true;
    else if (data[6] == 'M')
        littleEndian = false;
    else
        return false;
    data += kExifHeaderBytes;
    length -= kExifHeaderBytes;
    return true;
}

int ExifOrientationTag(BYTE* segment, uint32_t length, uint16_t newValue, bool* patched)
{
    if (patched)
        *patched = false;
    const BYTE* tiff = segment;
    bool littleEndian = true;
    if (!LocateTiffHeader(tiff, length, littleEndian))
        return 0;
    uint32_t ifd = Ifd0Offset(tiff, length, littleEndian);
    if (ifd == 0)
        return 0;
    uint32_t count = ReadExif16(tiff + ifd, littleEndian);
    for (uint32_t i = 0; i < count; ++i) {
        uint64_t entryOffset = static_cast<uint64_t>(ifd) + 2 + i * kIfdEntryBytes;
        if (entryOffset + kIfdEntryBytes > length)
            return 0;
        // The block lies inside segment: write through a non-const pointer.
        BYTE* entry = segment + (tiff - segment) + entryOffset;
        if (ReadExif16(entry, littleEndian) != kExifOrientationTag ||
            ReadExif32(entry + 4, littleEndian) != 1)
            continue;
        int64_t value = EntryValue(entry, littleEndian);
        int orientation = value < 0 ? 0 : static_cast<int>(value & 0xFFFF);
        if (newValue != 0) {
            WriteExif16(entry + 2, kTypeShort, littleEndian);
            WriteExif16(entry + 8, newValue, littleEndian);
            if (patched)
                *patched = true;
        }
        return orientation;
    }
    return 0;
}

bool FindExifThumbnail(const BYTE*& data, uint32_t& length)
{
    const BYTE* tiff = data;
    uint32_t tiffLength = length;
    bool littleEndian = true;
    if (!LocateTiffHeader(tiff, tiffLength, littleEndian))
        return false;
    uint32_t ifd0 = Ifd0Offset(tiff, tiffLength, littleEndian);
    if (ifd0 == 0)
        return false;
    uint64_t next = ifd0 + 2 + static_cast<uint64_t>(ReadExif16(tiff + ifd0, littleEndian)) *
                                   kIfdEntryBytes;
    if (next + 4 > tiffLength)
        return false;
    uint32_t ifd1 = ReadExif32(tiff + next, littleEndian);
    if (ifd1 == 0 || static_cast<uint64_t>(ifd1) + 2 > tiffLength)
        return false;
    uint32_t count = ReadExif16(tiff + ifd1, littleEndian);
    uint32_t offset = 0;
    uint32_t size = 0;
    for (uint32_t i = 0; i < count && (offset == 0 || size == 0); ++i) {
        uint64_t entryOffset = static_cast<uint64_t>(ifd1) + 2 + i * kIfdEntryBytes;
        if (entryOffset + kIfdEntryBytes > tiffLength)
            return false;
        const BYTE* entry = tiff + entryOffset;
        uint16_t tag = ReadExif16(entry, littleEndian);
        uint16_t type = ReadExif16(entry + 2, littleEndian);
        bool wordType = type == 3 || type == 8 || type == 4 || type == 9;
        if ((tag != kThumbnailOffsetTag && tag != kThumbnailLengthTag) || !wordType ||
            ReadExif32(entry + 4, littleEndian) != 1)
            continue;
        uint32_t value = static_cast<uint32_t>(EntryValue(entry, littleEndian));
        if (tag == kThumbnailOffsetTag)
            offset = value;
        else
            size = value;
    }
    if (offset == 0 || size == 0 || static_cast<uint64_t>(offset) + size > tiffLength)
        return false;
    data = tiff + offset;
    length = size;
    return true;
}

BYTE* ReadJpegSegment(FILE* file, BYTE marker, uint32_t& length)
{
    BYTE head[4];
    if (!file || fseek(file, 0, SEEK_SET) != 0 || !ReadAll(file, head, 2) || head[0] != 0xFF ||
        head[1] != 0xD8)
        return nullptr;
    for (;;) {
        if (!ReadAll(file, head, 4) || head[0] != 0xFF || head[1] == kStartOfScan ||
            head[1] == kEndOfImage)
            return nullptr;
        uint32_t segmentLength = BigEndian16(head + 2);
        if (segmentLength < 2)
            return nullptr;
        uint32_t bodyLength = segmentLength - 2;
        if (head[1] != marker) {
            if (fseek(file, bodyLength, SEEK_CUR) != 0)
                return nullptr;
            continue;
        }
        if (bodyLength == 0)
            return nullptr;
        BYTE* body = new (std::nothrow) BYTE[bodyLength];
        if (!body || !ReadAll(file, body, bodyLength)) {
            delete[] body;
            return nullptr;
        }
        length = bodyLength;
        return body;
    }
}

int ReadJpegExifOrientation(const char* path)
{
    FILE* file = OpenWin32File(path, "rb");
    if (!file)
        return 0;
    uint32_t length = 0;
    BYTE* body = ReadJpegSegment(file, kApp1, length);
    fclose(file);
    int orientation = body ? ExifOrientationTag(body, length, 0) : 0;
    delete[] body;
    return orientation;
}

bool WriteJpegExifOrientation(const char* path, int value)
{
    if (value <= 0 || value > 0xFFFF)
        return false;
    FILE* file = OpenWin32File(path, "r+b");
    if (!file)
        return false;
    uint32_t length = 0;
    bool written = false;
    BYTE* body = ReadJpegSegment(file, kApp1, length);
    long bodyEnd = body ? ftell(file) : -1;
    bool patched = false;
    if (body)
        ExifOrientationTag(body, length, static_cast<uint16_t>(value), &patched);
    // Only the segment body goes back, over its own place.
    if (patched && bodyEnd >= static_cast<long>(length) &&
        fseek(file, bodyEnd - static_cast<long>(length), SEEK_SET) == 0)
        written = fwrite(body, 1, length, file) == length && fflush(file) == 0;
    delete[] body;
    if (fclose(file) != 0)
        written = false;
    return written;
}

bool LoadPictureFromJpegBytes(HGLOBAL block, uint32_t size, JpegThumbInfo& record)
{
    BYTE* data = static_cast<BYTE*>(GlobalLock(block));
    if (!data) {
        GlobalFree(block);
        return false;
    }
    int orientation = ExifOrientationTag(data, size, 0);
    if (orientation != 0)
        record.orientation = static_cast<BYTE>(orientation);
    const BYTE* frame = data;
    uint32_t frameLength = size;
    if (FindJpegMarker(frame, frameLength, kJpegFrameMarkers) && frameLength >= 5)
        record.size = (static_cast<uint32_t>(frame[1]) << 24) |
                      (static_cast<uint32_t>(frame[2]) << 16) |
                      (static_cast<uint32_t>(frame[3]) << 8) | frame[4];
    GlobalUnlock(block);

    // The stream owns the block from here and frees it when released.
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return false;
    }
    IPicture* picture = nullptr;
    HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
    bool ok = false;
    if (SUCCEEDED(loaded) && picture) {
        OLE_HANDLE handle = 0;
        short type = PICTYPE_NONE;
        if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
            SUCCEEDED(picture->get_Handle(&handle)) && handle) {
            // The picture deletes its own bitmap: keep a copy.
            HANDLE copy = CopyImage(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle)),
                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
            if (copy) {
                record.bitmap = static_cast<HBITMAP>(copy);
                record.kind = kPictureLoaded;
                ok = true;
            }
        }
        picture->Release();
    }
    stream->Release();
    return ok;
}

bool ReadJpegThumbnail(FILE* file, JpegThumbInfo& record)
{
    record.bitmap = nullptr;
    record.size = 0;
    record.orientation = 0;
    record.kind = 0;
    uint32_t length = 0;
    BYTE* body = ReadJpegSegment(file, kApp1, length);
    if (!body)
        return false;
    record.orientation = static_cast<BYTE>(ExifOrientationTag(body, length, 0));
    const BYTE* thumbnail = body;
    uint32_t thumbnailLength = length;
    bool loaded = false;
    if (FindExifThumbnail(thumbnail, thumbnailLength)) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, thumbnailLength);
        BYTE* copy = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
        if (copy) {
            memcpy(copy, thumbnail, thumbnailLength);
            GlobalUnlock(block);
            loaded = LoadPictureFromJpegBytes(block, thumbnailLength, record);
        } else if (block) {
            GlobalFree(block);
        }
    }
    delete[] body;
    return loaded;
}

CxImage* LoadJpegOriented(const char* path)
{
    FILE* file = OpenWin32File(path, "rb");
    if (!file)
        return nullptr;
    JpegThumbInfo record;
    bool read = ReadJpegThumbnail(file, record);
    fclose(file);
    if (!read)
        return nullptr;
    CxImage* image = new (std::nothrow) CxImage;
    if (image && !image->CreateFromHBITMAP(record.bitmap)) {
        delete image;
        image = nullptr;
    }
    if (image)
        ApplyExifOrientation(*image, record.orientation);
    DeleteObject(record.bitmap);
    return image;
}
