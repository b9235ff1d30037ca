#include "codecs/ximawmf.h"

#include <stdlib.h>
#include <string.h>

#include <vector>

#include "codecs/ximawmf_playback.h"
#include "codecs/ximawmf_shapes.h"
#include "platform/base/byte_reader.h"

namespace {

const DWORD kPlaceableKey = 0x9AC6CDD7;
const DWORD kPlaceableBytes = 22;
const DWORD kMetaHeaderBytes = 18;
const WORD kMaxUnitsPerInch = 2540;
const LONG kExtentLimit = 6554;
const DWORD kMinEmfHeaderBytes = 88;
const DWORD kEmfEof = 14;  // EMR_EOF
const WORD kMetaEscape = 0x0626;
// A comment escape that carries part of an enhanced metafile starts its
// data ("WMFC") after the escape's function and byte count.
const size_t kEmbeddedIdOffset = 10;
const DWORD kEmbeddedEnhanced = 0x43464D57;
// Bounds up to twice (and 16 pixels more than) the frame's size are taken
// as they are.
const int64_t kBoundsToleranceFactor = 2;
const int64_t kBoundsTolerancePixels = 16;
// META_SETRELABS: a record that GDI takes and does nothing with.
const WORD kMetaNoEffect = 0x0105;
// Where the header keeps the number of palette entries (nPalEntries).
const size_t kEmfPaletteCountOffset = 68;
// The header's pixel format fields (cbPixelFormat, offPixelFormat and
// bOpenGL), in headers long enough to have them.
const size_t kEmfPixelFormatOffset = 88;
const size_t kEmfPixelFormatEnd = 100;
// A logical palette counts its entries in a 16-bit field.
const uint64_t kMaxPaletteEntries = 0xFFFF;

std::vector<BYTE> ReadBytes(CxFile* stream, uint64_t count, bool& ok)
{
    std::vector<BYTE> bytes;
    ok = false;
    if (count == 0 || count > 0x7FFFFFFF)
        return bytes;
    try {
        bytes.resize((size_t)count);
    } catch (...) {
        return bytes;
    }
    ok = stream->Read(bytes.data(), 1, (DWORD)count) == count;
    return bytes;
}

// Where the bitmap of a Windows metafile record starts (after its type,
// size and fixed fields), and where its usage field is; 0 for records
// without one.
size_t WindowsBitmapStart(WORD function, size_t* usage)
{
    *usage = 0;
    switch (function) {
    case 0x0940:  // META_DIBBITBLT
        return 22;
    case 0x0B41:  // META_DIBSTRETCHBLT
        return 26;
    case 0x0F43:  // META_STRETCHDIB
        *usage = 10;
        return 28;
    case 0x0D33:  // META_SETDIBTODEV
        *usage = 6;
        return 24;
    case 0x0142:  // META_DIBCREATEPATTERNBRUSH
        *usage = 8;
        return 10;
    default:
        return 0;
    }
}

// Whether the bitmap a record carries (header, colour table and rows, one
// after the other) lies inside the record; records without one hold. GDI
// reads such a bitmap by its header, wherever the record ends.
bool WindowsBitmapHolds(const BYTE* record, size_t size)
{
    WORD function = GetU16LE(record + 4);
    size_t usageAt = 0;
    size_t start = WindowsBitmapStart(function, &usageAt);
    // The transfers without a source have no room for a bitmap header.
    if (start == 0 || size < start + 4)
        return true;
    uint32_t usage = usageAt ? GetU16LE(record + usageAt) : DIB_RGB_COLORS;
    if (function == 0x0142 && GetU16LE(record + 6) == BS_PATTERN) {
        // A device-dependent bitmap: its rows follow a 10-byte header.
        const BYTE* bitmap = record + start;
        uint64_t rows = (uint64_t)GetU16LE(bitmap + 6) * GetU16LE(bitmap + 4);
        return size >= start + 10 && rows * bitmap[8] <= size - start - 10;
    }
    CxDibLayout layout;
    if (!CxReadDibLayout(record + start, size - start, usage, &layout))
        return false;
    uint64_t left = size - start;
    if (layout.headerBytes > left)
        return false;
    return layout.compressed ? layout.headerBytes < left
                             : layout.rowBytes * layout.rows <= left - layout.headerBytes;
}

// How many object-table slots a record uses (its first parameters); 0 for
// records that use none.
int WindowsObjectsUsed(WORD function)
{
    switch (function) {
    case 0x012D:  // META_SELECTOBJECT
    case 0x01F0:  // META_DELETEOBJECT
    case 0x0234:  // META_SELECTPALETTE
    case 0x012A:  // META_INVERTREGION
    case 0x012B:  // META_PAINTREGION
    case 0x012C:  // META_SELECTCLIPREGION
        return 1;
    case 0x0228:  // META_FILLREGION
    case 0x0429:  // META_FRAMEREGION
        return 2;
    default:
        return 0;
    }
}

// Whether the object slots a record uses lie inside the table.
bool WindowsObjectsHold(const BYTE* record, size_t size, WORD objects)
{
    int used = WindowsObjectsUsed(GetU16LE(record + 4));
    if (size < 6 + 2 * (size_t)used)
        return false;
    for (int i = 0; i < used; ++i) {
        if (GetU16LE(record + 6 + 2 * i) >= objects)
            return false;
    }
    return true;
}

// Whether the characters of a text record lie inside it (their count
// comes first in META_TEXTOUT, after the position in META_EXTTEXTOUT,
// whose clipping rectangle follows when its options name one).
bool WindowsTextHolds(const BYTE* record, size_t size)
{
    WORD function = GetU16LE(record + 4);
    if (function == 0x0521) {  // META_TEXTOUT
        size_t chars = size >= 8 ? GetU16LE(record + 6) : 0;
        return size >= 8 && 8 + (chars + 1) / 2 * 2 + 4 <= size;
    }
    if (function != 0x0A32)  // META_EXTTEXTOUT
        return true;
    if (size < 14)
        return false;
    size_t chars = GetU16LE(record + 10);
    size_t rectangle = (GetU16LE(record + 12) & (ETO_OPAQUE | ETO_CLIPPED)) ? 8 : 0;
    return 14 + rectangle + (chars + 1) / 2 * 2 <= size;
}

// The slots of a Windows metafile's object table as its records fill and
// empty them: an object made when every slot is taken would have no slot
// to be deleted from, and would stay behind.
class WindowsObjectTable {
public:
    explicit WindowsObjectTable(WORD size) : m_used(size, false) {}

    // False for a record that makes an object when no slot is free.
    bool Play(const BYTE* record, size_t size)
    {
        WORD function = GetU16LE(record + 4);
        if (function == 0x01F0 && size >= 8) {  // META_DELETEOBJECT
            WORD slot = GetU16LE(record + 6);
            if (slot < m_used.size())
                m_used[slot] = false;
            return true;
        }
        if (!MakesObject(function))
            return true;
        for (size_t slot = 0; slot < m_used.size(); ++slot) {
            if (!m_used[slot]) {
                m_used[slot] = true;
                return true;
            }
        }
        return false;
    }

private:
    static bool MakesObject(WORD function)
    {
        switch (function) {
        case 0x02FA:  // META_CREATEPENINDIRECT
        case 0x02FC:  // META_CREATEBRUSHINDIRECT
        case 0x02FB:  // META_CREATEFONTINDIRECT
        case 0x00F7:  // META_CREATEPALETTE
        case 0x01F9:  // META_CREATEPATTERNBRUSH
        case 0x0142:  // META_DIBCREATEPATTERNBRUSH
        case 0x06FF:  // META_CREATEREGION
            return true;
        default:
            return false;
        }
    }

    std::vector<bool> m_used;
};

// Every record of a Windows metafile lies inside it and the last one is
// the end record, before GDI is given the bytes. An enhanced metafile
// carried in the comments of a Windows one would be taken instead of the
// records around it, without the checks an enhanced metafile gets here:
// its comments are made plain ones, so that the records themselves play.
// A record whose bitmap or text does not lie inside it, that uses an
// object slot outside the table, or makes an object when the table is
// full, is made one without effect.
bool WindowsRecordsHold(std::vector<BYTE>& bytes)
{
    CByteReader records(bytes.data(), bytes.size());
    records.Skip(2);
    size_t headerBytes = records.U16LE() * 2u;  // the header's size, given in words
    records.Skip(6);
    WORD objects = records.U16LE();  // the size of the object table
    WindowsObjectTable table(objects);
    if (headerBytes < kMetaHeaderBytes || !records.Seek(headerBytes))
        return false;
    while (records.Has(6)) {
        size_t start = records.Position();
        uint64_t size = (uint64_t)records.U32LE() * 2;
        WORD function = records.U16LE();
        if (size < 6 || !records.Seek(start) || !records.Skip(size))
            return false;
        if (function == 0)
            return true;
        if (function == kMetaEscape && size >= kEmbeddedIdOffset + 4 &&
            GetU16LE(&bytes[start + 6]) == MFCOMMENT &&
            GetU32LE(&bytes[start + kEmbeddedIdOffset]) == kEmbeddedEnhanced)
            PutU32LE(&bytes[start + kEmbeddedIdOffset], 0);
        if (!WindowsBitmapHolds(&bytes[start], (size_t)size) ||
            !WindowsObjectsHold(&bytes[start], (size_t)size, objects) ||
            !WindowsTextHolds(&bytes[start], (size_t)size) ||
            !table.Play(&bytes[start], (size_t)size))
            PutU16LE(&bytes[start + 4], kMetaNoEffect);
    }
    return false;
}

// The palette the header announces is the one the end-of-file record
// (starting at eofStart) holds: no more entries than it stores inside
// itself, and no more than a palette takes.
bool PaletteHolds(const std::vector<BYTE>& bytes, size_t eofStart)
{
    uint64_t announced = GetU32LE(bytes.data() + kEmfPaletteCountOffset);
    if (announced == 0)
        return true;
    CByteReader eof(bytes.data() + eofStart, bytes.size() - eofStart);
    eof.Skip(4);
    uint64_t eofSize = eof.U32LE();
    uint64_t stored = eof.U32LE();
    uint64_t offset = eof.U32LE();
    return eof.Ok() && announced <= stored && announced <= kMaxPaletteEntries &&
           offset + stored * sizeof(PALETTEENTRY) <= eofSize;
}

// The same for an enhanced metafile: a header record with the signature,
// records of whole 32-bit words, the end-of-file record last (its start
// goes to eofStart).
bool EnhancedRecordsHold(const std::vector<BYTE>& bytes, size_t* eofStart)
{
    if (bytes.size() < kMinEmfHeaderBytes || GetU32LE(bytes.data()) != EMR_HEADER ||
        GetU32LE(bytes.data() + 40) != ENHMETA_SIGNATURE)
        return false;
    uint64_t total = GetU32LE(bytes.data() + 48);
    if (total > bytes.size() || total < kMinEmfHeaderBytes)
        return false;
    CByteReader records(bytes.data(), (size_t)total);
    while (records.Has(8)) {
        size_t start = records.Position();
        DWORD type = records.U32LE();
        DWORD size = records.U32LE();
        if (size < 8 || size % 4 || !records.Seek(start) || !records.Skip(size))
            return false;
        if (type == kEmfEof) {
            *eofStart = start;
            return records.AtEnd();
        }
    }
    return false;
}

// One side of the picture: the bounds' side, unless the frame (in
// hundredths of a millimetre on the reference device) says it is far
// smaller: a damaged bounds field must not ask for a picture thousands of
// pixels large, and GDI for the work of drawing it.
int64_t EnhancedSide(int64_t bounds, int64_t frame, int64_t devicePixels, int64_t millimetres)
{
    if (devicePixels <= 0 || millimetres <= 0)
        return bounds;
    int64_t framed = frame * devicePixels / (millimetres * 100);
    return framed > 0 && bounds > kBoundsToleranceFactor * framed + kBoundsTolerancePixels
               ? framed : bounds;
}

void EnhancedSize(const ENHMETAHEADER& header, int64_t* width, int64_t* height)
{
    *width = EnhancedSide(llabs((int64_t)header.rclBounds.right - header.rclBounds.left),
                          llabs((int64_t)header.rclFrame.right - header.rclFrame.left),
                          header.szlDevice.cx, header.szlMillimeters.cx);
    *height = EnhancedSide(llabs((int64_t)header.rclBounds.bottom - header.rclBounds.top),
                           llabs((int64_t)header.rclFrame.bottom - header.rclFrame.top),
                           header.szlDevice.cy, header.szlMillimeters.cy);
}

}  // namespace

bool CxImageWMF::CheckPlaceableHeader(const BYTE* bytes)
{
    WORD checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= GetU16LE(bytes + 2 * i);
    WORD unitsPerInch = GetU16LE(bytes + 14);
    return GetU32LE(bytes) == kPlaceableKey && checksum == GetU16LE(bytes + 20) &&
           unitsPerInch != 0 && unitsPerInch <= kMaxUnitsPerInch;
}

void CxImageWMF::LimitMetafileSize(int64_t& width, int64_t& height)
{
    if (width > kMaxSide) {
        height = height * kMaxSide / width;
        width = kMaxSide;
    }
    if (height > kMaxSide) {
        width = width * kMaxSide / height;
        height = kMaxSide;
    }
}

HENHMETAFILE CxImageWMF::ReadPlaceableWmf(CxFile* stream, PlaceableHeader* placeable)
{
    int32_t start = stream->Tell();
    BYTE head[kPlaceableBytes + kMetaHeaderBytes];
    if (stream->Read(head, 1, sizeof(head)) != sizeof(head) || !CheckPlaceableHeader(head))
        return NULL;
    const BYTE* meta = head + kPlaceableBytes;
    WORD type = GetU16LE(meta);
    if (type != 1 && type != 2)
        return NULL;
    uint64_t bytes = (uint64_t)GetU32LE(meta + 6) * 2;
    if (bytes > (uint64_t)stream->Size() ||
        !stream->Seek(start + (int32_t)kPlaceableBytes, SEEK_SET))
        return NULL;
    bool ok;
    std::vector<BYTE> data = ReadBytes(stream, bytes, ok);
    if (!ok || data.size() < kMetaHeaderBytes || !WindowsRecordsHold(data))
        return NULL;

    placeable->left = (int16_t)GetU16LE(head + 6);
    placeable->top = (int16_t)GetU16LE(head + 8);
    placeable->right = (int16_t)GetU16LE(head + 10);
    placeable->bottom = (int16_t)GetU16LE(head + 12);
    placeable->unitsPerInch = GetU16LE(head + 14);

    HDC screen = GetDC(NULL);
    METAFILEPICT picture;
    picture.mm = MM_ANISOTROPIC;
    picture.xExt = (placeable->right - placeable->left) * GetDeviceCaps(screen, LOGPIXELSX) /
                   placeable->unitsPerInch;
    picture.yExt = (placeable->bottom - placeable->top) * GetDeviceCaps(screen, LOGPIXELSY) /
                   placeable->unitsPerInch;
    picture.hMF = NULL;
    while (picture.xExt > 0 && picture.yExt > 0 && picture.xExt < kExtentLimit &&
           picture.yExt < kExtentLimit) {
        picture.xExt *= 10;
        picture.yExt *= 10;
    }
    HENHMETAFILE metafile = SetWinMetaFileBits((UINT)data.size(), data.data(), screen, &picture);
    if (!metafile) {
        picture.mm = MM_TEXT;
        metafile = SetWinMetaFileBits((UINT)data.size(), data.data(), screen, &picture);
    }
    ReleaseDC(NULL, screen);
    return metafile;
}

HENHMETAFILE CxImageWMF::ReadEnhMetafile(CxFile* stream, ENHMETAHEADER* header)
{
    int64_t left = (int64_t)stream->Size() - stream->Tell();
    if (left <= 0)
        return NULL;
    bool ok;
    std::vector<BYTE> data = ReadBytes(stream, (uint64_t)left, ok);
    size_t eofStart = 0;
    if (!ok || !EnhancedRecordsHold(data, &eofStart))
        return NULL;
    // A palette the end record does not hold is a damaged count: the
    // picture is played without it.
    if (!PaletteHolds(data, eofStart))
        PutU32LE(&data[kEmfPaletteCountOffset], 0);
    // A pixel format in the header makes playing set up OpenGL on the DC,
    // for tens of seconds; a bitmap's DC has no use for one.
    if (GetU32LE(data.data() + 4) >= kEmfPixelFormatEnd) {
        for (size_t at = kEmfPixelFormatOffset; at < kEmfPixelFormatEnd; at += 4)
            PutU32LE(&data[at], 0);
    }
    HENHMETAFILE metafile = SetEnhMetaFileBits((UINT)data.size(), data.data());
    if (!metafile)
        return NULL;
    if (!GetEnhMetaFileHeader(metafile, sizeof(*header), header)) {
        DeleteEnhMetaFile(metafile);
        return NULL;
    }
    return metafile;
}

bool CxImageWMF::Decode(CxFile* stream, LONG wantedWidth, LONG wantedHeight)
{
    if (!stream)
        return false;
    int32_t start = stream->Tell();
    int64_t width, height;
    PlaceableHeader placeable;
    HENHMETAFILE metafile = ReadPlaceableWmf(stream, &placeable);
    if (metafile) {
        HDC screen = GetDC(NULL);
        width = (int64_t)abs(placeable.right - placeable.left) *
                GetDeviceCaps(screen, LOGPIXELSX) / placeable.unitsPerInch;
        height = (int64_t)abs(placeable.bottom - placeable.top) *
                 GetDeviceCaps(screen, LOGPIXELSY) / placeable.unitsPerInch;
        ReleaseDC(NULL, screen);
    } else {
        ENHMETAHEADER header;
        if (!stream->Seek(start, SEEK_SET) || !(metafile = ReadEnhMetafile(stream, &header)))
            return Fail("corrupted WMF");
        EnhancedSize(header, &width, &height);
    }
    if (info.escape) {
        DeleteEnhMetaFile(metafile);
        return Fail("Cancelled");
    }
    if (width == 0 || height == 0) {
        DeleteEnhMetaFile(metafile);
        return Fail("empty WMF");
    }
    if (wantedWidth)
        width = wantedWidth;
    if (wantedHeight)
        height = wantedHeight;
    LimitMetafileSize(width, height);
    if (width <= 0 || height <= 0) {
        DeleteEnhMetaFile(metafile);
        return Fail("empty WMF");
    }
    return Render(metafile, (DWORD)width, (DWORD)height);
}

// Plays the metafile (and deletes it) into a bitmap of the given size
// filled with the window colour, then takes the bitmap's pixels.
bool CxImageWMF::Render(HENHMETAFILE metafile, DWORD width, DWORD height)
{
    CxMetafilePlayback playback((LONG)width, (LONG)height);
    HDC screen = GetDC(NULL);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, (int)width, (int)height);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(NULL, screen);
    if (!bitmap || !dc) {
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
        DeleteEnhMetaFile(metafile);
        return Fail("Can't render WMF");
    }
    int bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT area = { 0, 0, (LONG)width, (LONG)height };
    COLORREF oldBackground = SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, NULL, 0, NULL);
    SetBkColor(dc, oldBackground);

    HPALETTE palette = NULL, oldPalette = NULL;
    UINT entries = GetEnhMetaFilePaletteEntries(metafile, 0, NULL);
    bool failed = false;
    if (entries > 0 && entries != GDI_ERROR) {
        LOGPALETTE* logical = (LOGPALETTE*)GlobalAlloc(
            GPTR, sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
        if (logical) {
            logical->palVersion = 0x300;
            logical->palNumEntries = (WORD)entries;
            GetEnhMetaFilePaletteEntries(metafile, entries, logical->palPalEntry);
            palette = CreatePalette(logical);
            GlobalFree(logical);
            if (palette) {
                oldPalette = SelectPalette(dc, palette, FALSE);
                RealizePalette(dc);
            }
        } else {
            failed = true;
        }
    }
    if (!failed)
        playback.Play(dc, metafile, area);
    if (oldPalette)
        SelectPalette(dc, oldPalette, FALSE);
    if (palette)
        DeleteObject(palette);
    SelectObject(dc, oldBitmap);
    DeleteEnhMetaFile(metafile);

    bool taken = false;
    if (failed || info.escape) {
        Fail("Cancelled");
    } else if (playback.TooLong()) {
        Fail("metafile takes too long to draw");
    } else if (Create(width, height, bitsPerPixel, CXIMAGE_FORMAT_WMF)) {
        taken = GetDIBits(dc, bitmap, 0, height, GetBits(), (BITMAPINFO*)GetDIB(),
                          DIB_RGB_COLORS) != 0;
        if (!taken)
            Fail("Can't render WMF");
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
    return taken;
}

bool CxImageWMF::Encode(CxFile* stream)
{
    if (stream)
        Fail("Save WMF not supported");
    return false;
}
