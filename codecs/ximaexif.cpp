#include "codecs/ximaexif.h"

#include <ctype.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "platform/base/byte_reader.h"

namespace {

const int kMaxLinkDepth = 8;        // directories reached through links
const int kMaxFormat = 12;
const int kBytesPerFormat[kMaxFormat + 1] = { 0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8 };
const DWORD kTiffHeaderBytes = 8;
const DWORD kExifHeaderBytes = 6;   // "Exif" and two zero bytes
const DWORD kEntryBytes = 12;

// EXIF tags.
enum {
    TAG_MAKE = 0x010F,
    TAG_MODEL = 0x0110,
    TAG_ORIENTATION = 0x0112,
    TAG_X_RESOLUTION = 0x011A,
    TAG_Y_RESOLUTION = 0x011B,
    TAG_RESOLUTION_UNIT = 0x0128,
    TAG_THUMBNAIL_OFFSET = 0x0201,
    TAG_THUMBNAIL_LENGTH = 0x0202,
    TAG_EXPOSURETIME = 0x829A,
    TAG_FNUMBER = 0x829D,
    TAG_EXIF_OFFSET = 0x8769,
    TAG_EXPOSURE_PROGRAM = 0x8822,
    TAG_ISO_EQUIVALENT = 0x8827,
    TAG_EXIF_VERSION = 0x9000,
    TAG_DATETIME_ORIGINAL = 0x9003,
    TAG_COMPRESSION_LEVEL = 0x9102,
    TAG_SHUTTERSPEED = 0x9201,
    TAG_APERTURE = 0x9202,
    TAG_BRIGHTNESS = 0x9203,
    TAG_EXPOSURE_BIAS = 0x9204,
    TAG_MAXAPERTURE = 0x9205,
    TAG_SUBJECT_DISTANCE = 0x9206,
    TAG_METERING_MODE = 0x9207,
    TAG_LIGHT_SOURCE = 0x9208,
    TAG_FLASH = 0x9209,
    TAG_FOCALLENGTH = 0x920A,
    TAG_USERCOMMENT = 0x9286,
    TAG_EXIF_IMAGEWIDTH = 0xA002,
    TAG_EXIF_IMAGELENGTH = 0xA003,
    TAG_INTEROP_OFFSET = 0xA005,
    TAG_FOCALPLANEXRES = 0xA20E,
    TAG_FOCALPLANEYRES = 0xA20F,
    TAG_FOCALPLANEUNITS = 0xA210
};

const BYTE kJfifHeader[18] = { 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00,
                               0x01, 0x01, 0x01, 0x01, 0x2C, 0x01, 0x2C, 0x00, 0x00 };

// A resolution unit code as the factor that turns a per-unit value into a
// per-inch one when the value is divided by it; false for unknown codes.
bool UnitFactor(int code, float* factor)
{
    switch (code) {
    case 1:
    case 2: *factor = 1.0f; return true;
    case 3: *factor = 0.3937007874f; return true;
    case 4: *factor = 0.03937007874f; return true;
    case 5: *factor = 0.00003937007874f; return true;
    default: return false;
    }
}

int32_t ToInt(double value)
{
    if (!(value > -2147483648.0))
        return value != value ? 0 : INT32_MIN;
    if (value >= 2147483647.0)
        return INT32_MAX;
    return (int32_t)value;
}

// Copies at most `limit` characters and at most `available` bytes of a
// possibly unterminated text, always terminating the copy.
void CopyText(char* target, const BYTE* source, DWORD available, DWORD limit)
{
    DWORD count = 0;
    while (count < limit && count < available && source[count])
        ++count;
    memcpy(target, source, count);
    target[count] = 0;
}

}  // namespace

CxExifInfo::CxExifInfo(CxExifRecord* record)
{
    m_ownsRecord = record == NULL;
    m_record = record ? record : (CxExifRecord*)calloc(1, sizeof(CxExifRecord));
    m_lastError[0] = 0;
    m_exifImageWidth = 0;
    m_byteOrder = ByteOrder::LittleEndian;
    memset(m_sections, 0, sizeof(m_sections));
    m_sectionsRead = 0;
}

CxExifInfo::~CxExifInfo()
{
    for (CxExifSection& section : m_sections)
        free(section.data);
    if (m_ownsRecord)
        free(m_record);
}

bool CxExifInfo::Fail(const char* message)
{
    strncpy(m_lastError, message, sizeof(m_lastError) - 1);
    m_lastError[sizeof(m_lastError) - 1] = 0;
    return false;
}

bool CxExifInfo::DecodeExif(CxFile* stream, int readMode)
{
    if (!stream || !m_record)
        return false;
    if (stream->GetC() != 0xFF || stream->GetC() != EXIF_M_SOI)
        return false;
    return ReadSections(stream, readMode);
}

void CxExifInfo::DropLastSection()
{
    --m_sectionsRead;
    free(m_sections[m_sectionsRead].data);
    memset(&m_sections[m_sectionsRead], 0, sizeof(CxExifSection));
}

bool CxExifInfo::ReadSections(CxFile* stream, int readMode)
{
    bool commentTaken = false;
    for (;;) {
        if (m_sectionsRead >= EXIF_MAX_SECTIONS)
            return Fail("Too many sections in jpg file");
        int marker = 0;
        for (int padding = 0; padding < 7; ++padding) {
            marker = stream->GetC();
            if (marker != 0xFF)
                break;
            if (padding >= 6) {
                fputs("too many padding bytes\n", stdout);
                return false;
            }
        }
        BYTE lengthBytes[2];
        if (stream->Read(lengthBytes, 1, 2) != 2 || GetU16BE(lengthBytes) < 2)
            return Fail("invalid marker");
        int length = GetU16BE(lengthBytes);
        BYTE* data = (BYTE*)malloc((size_t)length);
        if (!data)
            return Fail("Could not allocate memory");
        memcpy(data, lengthBytes, 2);
        if (stream->Read(data + 2, 1, (DWORD)length - 2) != (DWORD)length - 2) {
            free(data);
            return Fail("Premature end of file?");
        }
        CxExifSection& section = m_sections[m_sectionsRead++];
        section.data = data;
        section.type = marker;
        section.size = (DWORD)length;

        switch (marker) {
        case EXIF_M_SOS:
            if ((readMode & EXIF_READ_IMAGE) && !ReadRestOfImage(stream))
                return false;
            return true;
        case EXIF_M_EOI:
            fputs("No image in jpeg!\n", stdout);
            return false;
        case EXIF_M_COM:
            if (commentTaken || !(readMode & EXIF_READ_EXIF)) {
                DropLastSection();
            } else {
                ProcessComment(data, (DWORD)length);
                commentTaken = true;
            }
            break;
        case EXIF_M_JFIF:
            DropLastSection();
            break;
        case EXIF_M_EXIF:
            if ((readMode & EXIF_READ_EXIF) && length - 2 >= 4 && memcmp(data + 2, "Exif", 4) == 0)
                m_record->isExif = ProcessExifSegment(data + 2, (DWORD)length - 2);
            else
                DropLastSection();
            break;
        case 0xC0: case 0xC1: case 0xC2: case 0xC3: case 0xC5: case 0xC6: case 0xC7:
        case 0xC9: case 0xCA: case 0xCB: case 0xCD: case 0xCE: case 0xCF:
            ProcessFrameHeader(data, (DWORD)length, marker);
            break;
        default:
            break;
        }
    }
}

bool CxExifInfo::ReadRestOfImage(CxFile* stream)
{
    if (m_sectionsRead >= EXIF_MAX_SECTIONS)
        return Fail("Too many sections in jpg file");
    int32_t position = stream->Tell();
    stream->Seek(0, SEEK_END);
    int32_t end = stream->Tell();
    stream->Seek(position, SEEK_SET);
    DWORD size = end > position ? (DWORD)(end - position) : 0;
    BYTE* data = (BYTE*)malloc(size ? size : 1);
    if (!data)
        return Fail("could not allocate data for entire image");
    if (stream->Read(data, 1, size) != size) {
        free(data);
        return Fail("could not read the rest of the image");
    }
    CxExifSection& section = m_sections[m_sectionsRead++];
    section.data = data;
    section.type = EXIF_M_PSEUDO;
    section.size = size;
    return true;
}

bool CxExifInfo::ProcessExifSegment(const BYTE* segment, DWORD length)
{
    m_record->flashUsed = 0;
    m_record->comments[0] = 0;
    m_exifImageWidth = 0;

    if (length < kExifHeaderBytes + kTiffHeaderBytes ||
        memcmp(segment, "Exif\0\0", kExifHeaderBytes) != 0)
        return Fail("Incorrect Exif header");
    if (memcmp(segment + 6, "II", 2) == 0)
        m_byteOrder = ByteOrder::LittleEndian;
    else if (memcmp(segment + 6, "MM", 2) == 0)
        m_byteOrder = ByteOrder::BigEndian;
    else
        return Fail("Invalid Exif alignment marker.");
    TiffBlock block;
    block.base = segment + kExifHeaderBytes;
    block.length = length - kExifHeaderBytes;
    block.directoriesRead = 0;
    CByteReader header(block.base, block.length);
    header.Skip(2);
    if (header.U16(m_byteOrder) != 42)
        return Fail("Invalid Exif start (1)");
    DWORD firstOffset = header.U32(m_byteOrder);
    if (!ProcessDirectory(block, kTiffHeaderBytes, 0))
        return false;
    if (firstOffset > kTiffHeaderBytes && !ProcessDirectory(block, firstOffset, 0))
        return false;

    if (m_record->focalPlaneXRes != 0)
        m_record->ccdWidth = (float)(m_exifImageWidth * m_record->focalPlaneUnits /
                                     m_record->focalPlaneXRes);
    return true;
}

// Reads the directory at `offset` inside the TIFF block. A directory that
// was read already, or one past the link depth or count limit, is skipped,
// so that links that loop back end.
bool CxExifInfo::ProcessDirectory(TiffBlock& block, DWORD offset, int depth)
{
    const int visitedLimit = (int)(sizeof(block.visited) / sizeof(block.visited[0]));
    if (depth > kMaxLinkDepth || block.directoriesRead >= visitedLimit)
        return true;
    for (int i = 0; i < block.directoriesRead; ++i) {
        if (block.visited[i] == offset)
            return true;
    }
    block.visited[block.directoriesRead++] = offset;

    CByteReader directory(block.base, block.length);
    directory.Seek(offset);
    DWORD entries = directory.U16(m_byteOrder);
    if (!directory.Has((size_t)kEntryBytes * entries))
        return Fail("Illegally sized directory");

    DWORD thumbnail[2] = { 0, 0 };  // offset, length
    for (DWORD i = 0; i < entries; ++i) {
        CByteReader entry(directory.Span(kEntryBytes), kEntryBytes);
        if (!ProcessEntry(block, entry, depth, thumbnail))
            return false;
    }

    if (directory.Has(4)) {
        DWORD next = directory.U32(m_byteOrder);
        if (next != 0 && !FollowLink(block, next, depth))
            return false;
    }

    if (thumbnail[0] && thumbnail[1] &&
        (uint64_t)thumbnail[0] + thumbnail[1] <= block.length) {
        m_record->thumbnailPointer = (BYTE*)block.base + thumbnail[0];
        m_record->thumbnailSize = thumbnail[1];
    }
    return true;
}

// A link to another directory: the target must lie inside the block; the
// linked directory's own result does not matter.
bool CxExifInfo::FollowLink(TiffBlock& block, DWORD offset, int depth)
{
    if (offset > block.length)
        return Fail("Illegal subdirectory link");
    ProcessDirectory(block, offset, depth + 1);
    return true;
}

bool CxExifInfo::ProcessEntry(TiffBlock& block, CByteReader& entry, int depth, DWORD thumbnail[2])
{
    int tag = entry.U16(m_byteOrder);
    int format = entry.U16(m_byteOrder);
    DWORD components = entry.U32(m_byteOrder);
    const BYTE* value = entry.Span(4);
    if (format > kMaxFormat)
        return Fail("Illegal format code in EXIF dir");
    uint64_t bytes = (uint64_t)components * kBytesPerFormat[format];
    if (bytes > 4) {
        CByteReader whole(block.base, block.length);
        whole.Seek(GetU32(value, m_byteOrder));
        value = whole.Span((size_t)bytes);
        if (!value)
            return Fail("Illegal pointer offset value in EXIF.");
    }
    DWORD available = (DWORD)bytes;

    switch (tag) {
    case TAG_MAKE:
        CopyText(m_record->cameraMake, value, available, 31);
        return true;
    case TAG_MODEL:
        CopyText(m_record->cameraModel, value, available, 39);
        return true;
    case TAG_EXIF_VERSION:
        CopyText(m_record->version, value, available, 4);
        return true;
    case TAG_DATETIME_ORIGINAL:
        CopyText(m_record->dateTime, value, available, 19);
        return true;
    case TAG_USERCOMMENT:
        ApplyUserComment(value, available);
        return true;
    case TAG_EXIF_OFFSET:
    case TAG_INTEROP_OFFSET: {
        // The value holds at least four readable bytes: the entry's own,
        // or a checked range of more than four.
        DWORD target = GetU32(value, m_byteOrder);
        if (target > kTiffHeaderBytes)
            return FollowLink(block, target, depth);
        return true;
    }
    default:
        break;
    }
    if (components == 0)
        return true;  // no number to read
    double number = ConvertValue(value, format);
    if (tag == TAG_THUMBNAIL_OFFSET)
        thumbnail[0] = (DWORD)ToInt(number);
    else if (tag == TAG_THUMBNAIL_LENGTH)
        thumbnail[1] = (DWORD)ToInt(number);
    else
        ApplyNumberTag(tag, number);
    return true;
}

void CxExifInfo::ApplyNumberTag(int tag, double value)
{
    CxExifRecord& record = *m_record;
    switch (tag) {
    case TAG_ORIENTATION:
        record.orientation = ToInt(value);
        if (record.orientation < 1 || record.orientation > 8) {
            record.orientation = 0;
            Fail("Undefined rotation value");
        }
        break;
    case TAG_X_RESOLUTION: record.xResolution = (float)value; break;
    case TAG_Y_RESOLUTION: record.yResolution = (float)value; break;
    case TAG_RESOLUTION_UNIT: UnitFactor(ToInt(value), &record.resolutionUnit); break;
    case TAG_EXPOSURETIME: record.exposureTime = (float)value; break;
    case TAG_FNUMBER: record.apertureFNumber = (float)value; break;
    case TAG_EXPOSURE_PROGRAM: record.exposureProgram = ToInt(value); break;
    case TAG_ISO_EQUIVALENT:
        record.isoEquivalent = ToInt(value);
        if (record.isoEquivalent < 50)
            record.isoEquivalent = ToInt(record.isoEquivalent * 200.0);
        break;
    case TAG_COMPRESSION_LEVEL: record.compressionLevel = ToInt(value); break;
    case TAG_SHUTTERSPEED:
        if (record.exposureTime == 0)
            record.exposureTime = (float)(1.0 / pow(2.0, value));
        break;
    case TAG_APERTURE:
    case TAG_MAXAPERTURE:
        if (record.apertureFNumber == 0)
            record.apertureFNumber = (float)pow(2.0, value / 2.0);
        break;
    case TAG_BRIGHTNESS: record.brightness = (float)value; break;
    case TAG_EXPOSURE_BIAS: record.exposureBias = (float)value; break;
    case TAG_SUBJECT_DISTANCE: record.distance = (float)value; break;
    case TAG_METERING_MODE: record.meteringMode = ToInt(value); break;
    case TAG_LIGHT_SOURCE: record.whiteBalance = ToInt(value); break;
    case TAG_FLASH: record.flashUsed = (ToInt(value) & 7) ? 1 : 0; break;
    case TAG_FOCALLENGTH: record.focalLength = (float)value; break;
    case TAG_EXIF_IMAGEWIDTH:
    case TAG_EXIF_IMAGELENGTH:
        if (m_exifImageWidth < ToInt(value))
            m_exifImageWidth = ToInt(value);
        break;
    case TAG_FOCALPLANEXRES: record.focalPlaneXRes = (float)value; break;
    case TAG_FOCALPLANEYRES: record.focalPlaneYRes = (float)value; break;
    case TAG_FOCALPLANEUNITS: UnitFactor(ToInt(value), &record.focalPlaneUnits); break;
    default: break;
    }
}

// Trailing spaces are cut; a value that begins "ASCII" has its text after
// the zero or space padding of its 8-byte character-code prefix.
void CxExifInfo::ApplyUserComment(const BYTE* value, DWORD bytes)
{
    const DWORD limit = 199;
    char* text = (char*)malloc(bytes + 1);
    if (!text)
        return;
    memcpy(text, value, bytes);
    text[bytes] = 0;
    for (DWORD i = bytes; i > 0 && text[i - 1] == ' '; --i)
        text[i - 1] = 0;
    if (bytes >= 5 && memcmp(text, "ASCII", 5) == 0) {
        for (DWORD at = 5; at < 10 && at < bytes; ++at) {
            if (text[at] != 0 && text[at] != ' ') {
                CopyText(m_record->comments, (const BYTE*)text + at, bytes - at, limit);
                break;
            }
        }
    } else {
        CopyText(m_record->comments, (const BYTE*)text, bytes, limit);
    }
    free(text);
}

double CxExifInfo::ConvertValue(const BYTE* value, int format) const
{
    switch (format) {
    case 1: return *value;
    case 3: return GetU16(value, m_byteOrder);
    case 4: return GetU32(value, m_byteOrder);
    case 5:
    case 10: {
        int32_t numerator = (int32_t)GetU32(value, m_byteOrder);
        int32_t denominator = (int32_t)GetU32(value + 4, m_byteOrder);
        return denominator == 0 ? 0 : (double)numerator / denominator;
    }
    case 6: return (signed char)*value;
    case 8: return (int16_t)GetU16(value, m_byteOrder);
    case 9: return (int32_t)GetU32(value, m_byteOrder);
    case 11: {
        uint32_t bits = GetU32(value, m_byteOrder);
        float number;
        memcpy(&number, &bits, sizeof(number));
        return number;
    }
    case 12: {
        uint64_t bits = GetU64(value, m_byteOrder);
        double number;
        memcpy(&number, &bits, sizeof(number));
        return number;
    }
    default: return 0;
    }
}

void CxExifInfo::ProcessComment(const BYTE* data, DWORD length)
{
    DWORD count = length < (DWORD)EXIF_MAX_COMMENT ? length : (DWORD)EXIF_MAX_COMMENT;
    DWORD out = 0;
    for (DWORD i = 2; i < count; ++i) {
        BYTE c = data[i];
        if (c == '\r' && i + 1 < count && data[i + 1] == '\n')
            continue;
        m_record->comments[out++] = (isprint(c) || c == '\n' || c == '\t') ? (char)c : '?';
    }
    m_record->comments[out] = 0;
}

void CxExifInfo::ProcessFrameHeader(const BYTE* data, DWORD length, int marker)
{
    if (length < 8)
        return;
    m_record->height = GetU16BE(data + 3);
    m_record->width = GetU16BE(data + 5);
    m_record->isColor = data[7] == 3 ? 1 : 0;
    m_record->process = marker;
}

bool CxExifInfo::EncodeExif(CxFile* stream)
{
    if (!stream || !FindSection(EXIF_M_SOS))
        return Fail("Can't write exif : didn't read all");
    stream->PutC(0xFF);
    stream->PutC(EXIF_M_SOI);
    if (m_sections[0].type != EXIF_M_EXIF && m_sections[0].type != EXIF_M_JFIF)
        stream->Write(kJfifHeader, sizeof(kJfifHeader), 1);
    for (int i = 0; i < m_sectionsRead - 1; ++i) {
        stream->PutC(0xFF);
        stream->PutC((unsigned char)m_sections[i].type);
        stream->Write(m_sections[i].data, m_sections[i].size, 1);
    }
    const CxExifSection& last = m_sections[m_sectionsRead - 1];
    stream->Write(last.data, last.size, 1);
    return true;
}

void CxExifInfo::KeepExifAndComment()
{
    CxExifSection exif = { NULL, 0, 0 };
    CxExifSection comment = { NULL, 0, 0 };
    for (int i = 0; i < m_sectionsRead; ++i) {
        CxExifSection& section = m_sections[i];
        if (section.type == EXIF_M_EXIF && !exif.data)
            exif = section;
        else if (section.type == EXIF_M_COM && !comment.data)
            comment = section;
        else
            free(section.data);
    }
    memset(m_sections, 0, sizeof(m_sections));
    m_sectionsRead = 0;
    if (exif.data)
        m_sections[m_sectionsRead++] = exif;
    if (comment.data)
        m_sections[m_sectionsRead++] = comment;
}

CxExifSection* CxExifInfo::FindSection(int type)
{
    for (int i = 0; i < m_sectionsRead - 1; ++i) {
        if (m_sections[i].type == type)
            return &m_sections[i];
    }
    return NULL;
}
