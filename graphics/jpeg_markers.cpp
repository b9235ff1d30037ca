#include "graphics/jpeg_markers.h"

#include <string.h>

#include <new>
#include <vector>

#include <ole2.h>
#include <olectl.h>

#include "codecs/ximabudget.h"
#include "codecs/ximage.h"
#include "graphics/kimage.h"
#include "graphics/win32_file.h"
#include "platform/base/file_replace.h"

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

// The TIFF header of an EXIF block given as an APP1 body or a whole JPEG.
bool LocateTiffHeader(const BYTE*& data, uint32_t& length, ByteOrder& order)
{
    if (!data || length == 0)
        return false;
    if (data[0] == 0xFF && !FindJpegMarker(data, length, kJpegApp1Markers))
        return false;
    return CheckExifHeader(data, length, order) && length >= 8;
}

// Moves to the entry count of IFD0; false when it does not lie within the
// TIFF block.
bool SeekIfd0(CByteReader& tiff, ByteOrder order)
{
    tiff.Seek(4);
    uint32_t offset = tiff.U32(order);
    return offset >= 8 && tiff.Seek(offset) && tiff.Has(2);
}

struct IfdEntry {
    const BYTE* start;
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    const BYTE* value;  // the four bytes that hold a value of one number
};

bool ReadIfdEntry(CByteReader& ifd, ByteOrder order, IfdEntry& entry)
{
    entry.start = ifd.Here();
    entry.tag = ifd.U16(order);
    entry.type = ifd.U16(order);
    entry.count = ifd.U32(order);
    entry.value = ifd.Span(4);
    return entry.value != nullptr;
}

// The value of an entry of one of the integer types, or -1 for other types.
int64_t EntryValue(const IfdEntry& entry, ByteOrder order)
{
    switch (entry.type) {
    case 1:
    case 6:
        return entry.value[0];
    case 3:
    case 8:
        return GetU16(entry.value, order);
    case 4:
    case 9:
        return GetU32(entry.value, order);
    default:
        return -1;
    }
}

bool ReadAll(FILE* file, void* buffer, size_t size)
{
    return fread(buffer, 1, size, file) == size;
}

// The bytes of a file of less than 4 GB.
bool ReadWholeFile(const char* path, std::vector<BYTE>& bytes)
{
    FILE* file = OpenWin32File(path, "rb");
    if (!file)
        return false;
    bool ok = fseek(file, 0, SEEK_END) == 0;
    long size = ok ? ftell(file) : -1;
    ok = size > 0 && static_cast<uint64_t>(size) < 0xFFFFFFFFull && fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(size));
        ok = ReadAll(file, bytes.data(), bytes.size());
    }
    fclose(file);
    return ok;
}

}  // namespace

bool FindJpegMarker(const BYTE*& data, uint32_t& length, const BYTE* markers)
{
    if (!data || length < 8 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    CByteReader jpeg(data, length);
    jpeg.Skip(2);
    while (jpeg.Has(4)) {
        if (jpeg.U8() != 0xFF)
            return false;
        BYTE marker = jpeg.U8();
        // Any number of fill bytes may come before a marker.
        while (marker == 0xFF && jpeg.Has(1))
            marker = jpeg.U8();
        if (marker == kStartOfScan || marker == kEndOfImage)
            return false;
        uint32_t segmentLength = jpeg.U16BE();
        const BYTE* body = segmentLength >= 2 ? jpeg.Span(segmentLength - 2) : nullptr;
        if (!body)
            return false;
        if (InList(marker, markers)) {
            data = body;
            length = segmentLength - 2;
            return true;
        }
    }
    return false;
}

bool CheckExifHeader(const BYTE*& data, uint32_t& length, ByteOrder& order)
{
    if (!data || length < kMinExifBody || memcmp(data, "Exif\0", 5) != 0)
        return false;
    if (data[6] == 'I')
        order = ByteOrder::LittleEndian;
    else if (data[6] == 'M')
        order = ByteOrder::BigEndian;
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
    ByteOrder order = ByteOrder::LittleEndian;
    if (!LocateTiffHeader(tiff, length, order))
        return 0;
    CByteReader ifd(tiff, length);
    if (!SeekIfd0(ifd, order))
        return 0;
    uint32_t count = ifd.U16(order);
    for (uint32_t i = 0; i < count; ++i) {
        IfdEntry entry;
        if (!ReadIfdEntry(ifd, order, entry))
            return 0;
        if (entry.tag != kExifOrientationTag || entry.count != 1)
            continue;
        int64_t value = EntryValue(entry, order);
        int orientation = value < 0 ? 0 : static_cast<int>(value & 0xFFFF);
        if (newValue != 0) {
            // The block lies inside segment: write through a non-const pointer.
            BYTE* writable = segment + (entry.start - segment);
            PutU16(writable + 2, kTypeShort, order);
            PutU16(writable + 8, newValue, order);
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
    ByteOrder order = ByteOrder::LittleEndian;
    if (!LocateTiffHeader(tiff, tiffLength, order))
        return false;
    CByteReader ifd(tiff, tiffLength);
    if (!SeekIfd0(ifd, order))
        return false;
    ifd.Skip(static_cast<size_t>(ifd.U16(order)) * kIfdEntryBytes);
    uint32_t ifd1 = ifd.U32(order);
    if (!ifd.Ok() || ifd1 == 0 || !ifd.Seek(ifd1) || !ifd.Has(2))
        return false;
    uint32_t count = ifd.U16(order);
    uint32_t offset = 0;
    uint32_t size = 0;
    for (uint32_t i = 0; i < count && (offset == 0 || size == 0); ++i) {
        IfdEntry entry;
        if (!ReadIfdEntry(ifd, order, entry))
            return false;
        bool wordType = entry.type == 3 || entry.type == 8 || entry.type == 4 || entry.type == 9;
        if ((entry.tag != kThumbnailOffsetTag && entry.tag != kThumbnailLengthTag) || !wordType ||
            entry.count != 1)
            continue;
        uint32_t value = static_cast<uint32_t>(EntryValue(entry, order));
        if (entry.tag == kThumbnailOffsetTag)
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
        uint32_t segmentLength = GetU16BE(head + 2);
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
    std::vector<BYTE> bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    bool patched = false;
    ExifOrientationTag(bytes.data(), static_cast<uint32_t>(bytes.size()), static_cast<uint16_t>(value),
                       &patched);
    // The turned photo replaces the old one only once it is whole on disk.
    return patched &&
           ReplaceFileWithBytes(path, bytes.data(), static_cast<DWORD>(bytes.size())) == ReplaceFileDone;
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
    // Only a JPEG whose frame its bytes can encode goes to the system's
    // loader, which takes other data for other formats.
    const BYTE* frame = data;
    uint32_t frameLength = size;
    bool isJpeg = FindJpegMarker(frame, frameLength, kJpegFrameMarkers) && frameLength >= 5;
    if (isJpeg)
        record.size = GetU32BE(frame + 1);  // height, then width
    GlobalUnlock(block);
    if (!isJpeg || CxCheckPicture(record.size & 0xFFFF, record.size >> 16, 24, size,
                                  CXIMAGE_EXPANSION_JPEG) != CX_PICTURE_FITS) {
        GlobalFree(block);
        return false;
    }

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
