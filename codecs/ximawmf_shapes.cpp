#include "codecs/ximawmf_shapes.h"

#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "platform/base/byte_reader.h"

namespace {

const size_t kRecordHeadBytes = 8;   // type and size
const size_t kBoundsBytes = 16;      // the rclBounds that many records start with
const int64_t kFarFactor = 16;
const int64_t kFarMinimum = 4096;
// No bitmap in a record is wider or taller than this.
const int64_t kMaxBitmapSide = 1 << 16;

// The logical box of the points seen so far.
struct LogicalBox {
    bool empty = true;
    int64_t left = 0, top = 0, right = 0, bottom = 0;

    void Add(int64_t x, int64_t y)
    {
        if (empty) {
            left = right = x;
            top = bottom = y;
            empty = false;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

// `count` points of 32-bit (or 16-bit) coordinates at the reader.
bool AddPoints(CByteReader& points, uint64_t count, bool sixteenBit, LogicalBox& box)
{
    size_t pointBytes = sixteenBit ? 4 : 8;
    if (count > points.Remaining() / pointBytes)
        return false;
    for (uint64_t i = 0; i < count; ++i) {
        int64_t x = sixteenBit ? points.I16LE() : points.I32LE();
        int64_t y = sixteenBit ? points.I16LE() : points.I32LE();
        box.Add(x, y);
    }
    return true;
}

bool AddRectangle(CByteReader& fields, LogicalBox& box)
{
    int64_t left = fields.I32LE(), top = fields.I32LE();
    int64_t right = fields.I32LE(), bottom = fields.I32LE();
    if (!fields.Ok())
        return false;
    box.Add(left, top);
    box.Add(right, bottom);
    return true;
}

// A point list after the bounds: count, then the points.
bool AddPointList(CByteReader& fields, bool sixteenBit, LogicalBox& box)
{
    fields.Skip(kBoundsBytes);
    uint32_t count = fields.U32LE();
    return fields.Ok() && AddPoints(fields, count, sixteenBit, box);
}

// Several polygons after the bounds: their number, the point count, the
// count of each polygon, then the points.
bool AddPolyPolygon(CByteReader& fields, bool sixteenBit, LogicalBox& box)
{
    fields.Skip(kBoundsBytes);
    uint32_t polygons = fields.U32LE();
    uint32_t count = fields.U32LE();
    return fields.Ok() && fields.Skip((size_t)polygons * 4) &&
           AddPoints(fields, count, sixteenBit, box);
}

// The target of a bitmap record: x, y after the bounds, and its size.
bool AddTarget(CByteReader& fields, size_t sizeOffset, LogicalBox& box)
{
    fields.Skip(kBoundsBytes);
    int64_t x = fields.I32LE(), y = fields.I32LE();
    if (!fields.Seek(kRecordHeadBytes + sizeOffset))
        return false;
    int64_t width = fields.I32LE(), height = fields.I32LE();
    if (!fields.Ok())
        return false;
    box.Add(x, y);
    box.Add(x + width, y + height);
    return true;
}

// The points of a record that draws a shape into the box; false when the
// record is too short for them, or (with isShape false) draws no shape.
bool LogicalShape(const ENHMETARECORD* record, LogicalBox& box, bool& isShape)
{
    isShape = true;
    CByteReader fields((const uint8_t*)record, record->nSize);
    fields.Skip(kRecordHeadBytes);
    switch (record->iType) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
    case EMR_POLYDRAW:
        return AddPointList(fields, false, box);
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
    case EMR_POLYDRAW16:
        return AddPointList(fields, true, box);
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
        return AddPolyPolygon(fields, false, box);
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16:
        return AddPolyPolygon(fields, true, box);
    case EMR_SETPIXELV:
    case EMR_MOVETOEX:
    case EMR_LINETO:
    case EMR_EXTFLOODFILL:
        return AddPoints(fields, 1, false, box);
    case EMR_ELLIPSE:
    case EMR_RECTANGLE:
    case EMR_ROUNDRECT:
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_ARCTO:
    case EMR_INTERSECTCLIPRECT:
    case EMR_EXCLUDECLIPRECT:
        return AddRectangle(fields, box);
    case EMR_ANGLEARC: {
        int64_t x = fields.I32LE(), y = fields.I32LE();
        int64_t radius = fields.U32LE();
        if (!fields.Ok())
            return false;
        box.Add(x - radius, y - radius);
        box.Add(x + radius, y + radius);
        return true;
    }
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
        return AddTarget(fields, kBoundsBytes + 8, box);
    case EMR_STRETCHDIBITS:
        return AddTarget(fields, kBoundsBytes + 48, box);
    default:
        isShape = false;
        return false;
    }
}

LONG ClampToLong(double value)
{
    if (!(value > -2147483648.0))
        return INT32_MIN;
    return value >= 2147483647.0 ? INT32_MAX : (LONG)value;
}

// The DC's mapping from logical to device units, computed here in doubles:
// GDI's integer mapping of a point would overflow for the very shapes
// looked for. The world transform comes first, then the window-to-viewport
// mapping.
struct DeviceMapping {
    XFORM world;
    POINT windowOrigin, viewportOrigin;
    double scaleX, scaleY;

    bool Read(HDC dc)
    {
        SIZE windowExtent, viewportExtent;
        if (!GetWorldTransform(dc, &world) || !GetWindowOrgEx(dc, &windowOrigin) ||
            !GetViewportOrgEx(dc, &viewportOrigin) || !GetWindowExtEx(dc, &windowExtent) ||
            !GetViewportExtEx(dc, &viewportExtent) || windowExtent.cx == 0 ||
            windowExtent.cy == 0)
            return false;
        scaleX = (double)viewportExtent.cx / windowExtent.cx;
        scaleY = (double)viewportExtent.cy / windowExtent.cy;
        return true;
    }

    void Map(double x, double y, double& deviceX, double& deviceY) const
    {
        double pageX = x * world.eM11 + y * world.eM21 + world.eDx;
        double pageY = x * world.eM12 + y * world.eM22 + world.eDy;
        deviceX = (pageX - windowOrigin.x) * scaleX + viewportOrigin.x;
        deviceY = (pageY - windowOrigin.y) * scaleY + viewportOrigin.y;
    }
};

// The device box of a logical box mapped through the DC's current
// transform.
bool DeviceBox(HDC dc, const LogicalBox& logical, RECT* box)
{
    DeviceMapping mapping;
    if (!mapping.Read(dc))
        return false;
    // The corners of the logical box, so that a rotated transform still
    // gives a device box around every point.
    double xs[2] = { (double)logical.left, (double)logical.right };
    double ys[2] = { (double)logical.top, (double)logical.bottom };
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int corner = 0; corner < 4; ++corner) {
        double deviceX, deviceY;
        mapping.Map(xs[corner & 1], ys[corner >> 1], deviceX, deviceY);
        minX = corner ? std::min(minX, deviceX) : deviceX;
        maxX = corner ? std::max(maxX, deviceX) : deviceX;
        minY = corner ? std::min(minY, deviceY) : deviceY;
        maxY = corner ? std::max(maxY, deviceY) : deviceY;
    }
    box->left = ClampToLong(minX);
    box->top = ClampToLong(minY);
    box->right = ClampToLong(maxX);
    box->bottom = ClampToLong(maxY);
    return true;
}

// Whether a device box reaches farther from the picture than a shape that
// GDI clips in reasonable time.
bool IsFarOutside(const RECT& box, LONG width, LONG height)
{
    int64_t margin = std::max<int64_t>(kFarFactor * std::max<int64_t>(width, height), kFarMinimum);
    return box.left < -margin || box.top < -margin || (int64_t)box.right > width + margin ||
           (int64_t)box.bottom > height + margin;
}

// Where a record keeps a bitmap: the offsets of its usage field and of
// its four fields bitmap-header offset, header size, bits offset, bits
// size; for a transfer's source or mask, also the offsets of the part of
// it that is drawn: x, y, width and height (the destination's for
// transfers that do not stretch), and of the transform from those
// coordinates to the bitmap's pixels (0 when there is none).
struct BitmapFields {
    size_t usage;
    size_t header;
    size_t x = 0, y = 0, width = 0, height = 0;
    size_t transform = 0;
};

// The bitmaps of the records that carry them (a transfer's source and
// mask, a brush's pattern); false for other records.
int RecordBitmaps(DWORD type, BitmapFields fields[2])
{
    switch (type) {
    case EMR_BITBLT:
        fields[0] = { 80, 84, 44, 48, 32, 36, 52 };
        return 1;
    case EMR_STRETCHBLT:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT:
        fields[0] = { 80, 84, 44, 48, 100, 104, 52 };
        return 1;
    case EMR_MASKBLT:
        fields[0] = { 80, 84, 44, 48, 32, 36, 52 };
        fields[1] = { 108, 112, 100, 104, 32, 36 };
        return 2;
    case EMR_PLGBLT:
        fields[0] = { 92, 96, 48, 52, 56, 60, 64 };
        fields[1] = { 120, 124, 112, 116, 56, 60 };
        return 2;
    case EMR_SETDIBITSTODEVICE:
    case EMR_STRETCHDIBITS:
        fields[0] = { 64, 48, 32, 36, 40, 44 };
        return 1;
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
        fields[0] = { 12, 16 };
        return 1;
    default:
        return 0;
    }
}

float FloatAt(CByteReader& fields)
{
    uint32_t word = fields.U32LE();
    float value;
    memcpy(&value, &word, sizeof(value));
    return value;
}

// Whether the part of a bitmap that a transfer draws lies inside the
// bitmap's width x rows pixels (within a pixel, for the rounding of its
// transform). GDI clips a source reaching outside to the bitmap, but a
// source wider than 2^30 pixels (twice its width no longer fits in 32
// bits) makes its stretching write the stretched rows past its own buffer.
bool SourceInside(const ENHMETARECORD* record, const BitmapFields& at, uint64_t width,
                  uint64_t rows)
{
    CByteReader fields((const uint8_t*)record, record->nSize);
    fields.Seek(at.x);
    double x = fields.I32LE(), y = fields.I32LE();
    fields.Seek(at.width);
    double extentX = fields.I32LE(), extentY = fields.I32LE();
    XFORM transform = { 1, 0, 0, 1, 0, 0 };
    if (at.transform) {
        fields.Seek(at.transform);
        transform.eM11 = FloatAt(fields);
        transform.eM12 = FloatAt(fields);
        transform.eM21 = FloatAt(fields);
        transform.eM22 = FloatAt(fields);
        transform.eDx = FloatAt(fields);
        transform.eDy = FloatAt(fields);
    }
    if (!fields.Ok())
        return false;
    const double kRounding = 1;
    for (int corner = 0; corner < 4; ++corner) {
        double cornerX = x + ((corner & 1) ? extentX : 0);
        double cornerY = y + ((corner & 2) ? extentY : 0);
        double pixelX = cornerX * transform.eM11 + cornerY * transform.eM21 + transform.eDx;
        double pixelY = cornerX * transform.eM12 + cornerY * transform.eM22 + transform.eDy;
        // Written so that a transform of infinities or NaNs fails too.
        if (!(pixelX >= -kRounding && pixelX <= width + kRounding && pixelY >= -kRounding &&
              pixelY <= rows + kRounding))
            return false;
    }
    return true;
}

// Whether a bitmap the record carries lies inside it: its header and
// colour table inside the header's bytes, its rows inside the bits'
// bytes, and the part of it a transfer draws inside the bitmap. Bitmaps
// the record does not have (offsets and sizes 0) hold.
bool BitmapHolds(const ENHMETARECORD* record, const BitmapFields& at)
{
    CByteReader fields((const uint8_t*)record, record->nSize);
    fields.Seek(at.header);
    uint64_t headerOffset = fields.U32LE(), headerBytes = fields.U32LE();
    uint64_t bitsOffset = fields.U32LE(), bitsBytes = fields.U32LE();
    fields.Seek(at.usage);
    uint32_t usage = fields.U32LE();
    if (!fields.Ok())
        return false;
    if (headerBytes == 0 && bitsBytes == 0)
        return true;
    if (headerOffset + headerBytes > record->nSize || bitsOffset + bitsBytes > record->nSize)
        return false;
    CxDibLayout layout;
    if (!CxReadDibLayout((const uint8_t*)record + headerOffset, (size_t)headerBytes, usage,
                         &layout) ||
        layout.headerBytes > headerBytes)
        return false;
    if (at.x && !SourceInside(record, at, layout.width, layout.rows))
        return false;
    if (layout.compressed)
        return bitsBytes > 0;
    uint64_t rows = layout.rows;
    if (record->iType == EMR_SETDIBITSTODEVICE) {
        fields.Seek(72);  // cScans: the rows the record holds
        rows = std::min<uint64_t>(rows, fields.U32LE());
    }
    return fields.Ok() && layout.rowBytes * rows <= bitsBytes;
}

// Whether the text of one EMRTEXT at `at` lies inside the record: its
// characters (of `charBytes` bytes) and, when it has them, its spacing
// values (two a character with ETO_PDY).
bool TextHolds(const ENHMETARECORD* record, size_t at, uint64_t charBytes)
{
    CByteReader text((const uint8_t*)record, record->nSize);
    text.Seek(at + 8);  // after the reference point
    uint64_t chars = text.U32LE(), stringOffset = text.U32LE(), options = text.U32LE();
    text.Skip(16);      // the clipping rectangle
    uint64_t dxOffset = text.U32LE();
    if (!text.Ok())
        return false;
    uint64_t dxBytes = chars * 4 * ((options & ETO_PDY) ? 2 : 1);
    return (chars == 0 || stringOffset + chars * charBytes <= record->nSize) &&
           (dxOffset == 0 || dxOffset + dxBytes <= record->nSize);
}

// Whether every text of a text record lies inside it; true for other
// records.
bool TextsHold(const ENHMETARECORD* record)
{
    const size_t kTextStart = 36, kPolyTextStart = 40, kTextBytes = 40;
    switch (record->iType) {
    case EMR_EXTTEXTOUTA:
        return TextHolds(record, kTextStart, 1);
    case EMR_EXTTEXTOUTW:
        return TextHolds(record, kTextStart, 2);
    case EMR_POLYTEXTOUTA:
    case EMR_POLYTEXTOUTW: {
        CByteReader fields((const uint8_t*)record, record->nSize);
        fields.Seek(kPolyTextStart - 4);
        uint64_t count = fields.U32LE();
        if (!fields.Ok() || kPolyTextStart + count * kTextBytes > record->nSize)
            return false;
        for (uint64_t i = 0; i < count; ++i) {
            if (!TextHolds(record, kPolyTextStart + (size_t)i * kTextBytes,
                           record->iType == EMR_POLYTEXTOUTA ? 1 : 2))
                return false;
        }
        return true;
    }
    default:
        return true;
    }
}

// Where a record keeps a region: the offset of its byte count (the
// region's header and rectangles follow at `data`); false for records
// without one.
bool RecordRegion(DWORD type, size_t* countAt, size_t* dataAt)
{
    switch (type) {
    case EMR_FILLRGN:
        *countAt = 24;
        *dataAt = 32;  // after the brush
        return true;
    case EMR_FRAMERGN:
        *countAt = 24;
        *dataAt = 40;  // after the brush and the stroke's size
        return true;
    case EMR_INVERTRGN:
    case EMR_PAINTRGN:
        *countAt = 24;
        *dataAt = 28;
        return true;
    case EMR_EXTSELECTCLIPRGN:
        *countAt = 8;
        *dataAt = 16;  // after the mode
        return true;
    default:
        return false;
    }
}

// Whether the region a record carries lies inside it: its header and as
// many rectangles as the header counts within the region's bytes. GDI
// takes the count from the header alone and reads that many rectangles.
// A clip record without a region (no bytes) holds.
bool RegionHolds(const ENHMETARECORD* record)
{
    size_t countAt, dataAt;
    if (!RecordRegion(record->iType, &countAt, &dataAt))
        return true;
    CByteReader fields((const uint8_t*)record, record->nSize);
    fields.Seek(countAt);
    uint64_t bytes = fields.U32LE();
    if (!fields.Ok() || dataAt + bytes > record->nSize)
        return false;
    if (bytes == 0)
        return record->iType == EMR_EXTSELECTCLIPRGN;
    fields.Seek(dataAt);
    uint64_t headerBytes = fields.U32LE();
    fields.Skip(4);  // the type
    uint64_t rectangles = fields.U32LE();
    return fields.Ok() && headerBytes == sizeof(RGNDATAHEADER) && headerBytes <= bytes &&
           rectangles <= (bytes - headerBytes) / sizeof(RECT);
}

}  // namespace

bool CxEmfRecordIsPlayable(HDC dc, const ENHMETARECORD* record, LONG width, LONG height)
{
    if (!record || record->nSize < kRecordHeadBytes)
        return false;
    if (!TextsHold(record) || !RegionHolds(record))
        return false;
    BitmapFields bitmaps[2];
    int bitmapCount = RecordBitmaps(record->iType, bitmaps);
    for (int i = 0; i < bitmapCount; ++i) {
        if (!BitmapHolds(record, bitmaps[i]))
            return false;
    }
    LogicalBox logical;
    bool isShape = true;
    if (!LogicalShape(record, logical, isShape))
        return !isShape;
    RECT box;
    if (logical.empty || !DeviceBox(dc, logical, &box))
        return true;
    return !IsFarOutside(box, width, height);
}

double CxEmfDeviceScale(HDC dc)
{
    DeviceMapping mapping;
    if (!mapping.Read(dc))
        return 1;
    // The longest a logical unit along either axis becomes.
    double x0, y0, x1, y1, x2, y2;
    mapping.Map(0, 0, x0, y0);
    mapping.Map(1, 0, x1, y1);
    mapping.Map(0, 1, x2, y2);
    double alongX = std::max(fabs(x1 - x0), fabs(y1 - y0));
    double alongY = std::max(fabs(x2 - x0), fabs(y2 - y0));
    return std::max(alongX, alongY);
}

bool CxEmfRecordIsShape(const ENHMETARECORD* record)
{
    LogicalBox box;
    bool isShape = true;
    LogicalShape(record, box, isShape);
    return isShape;
}

bool CxReadDibLayout(const uint8_t* bytes, size_t available, uint32_t usage, CxDibLayout* layout)
{
    CByteReader header(bytes, available);
    uint32_t size = header.U32LE();
    int64_t width, height;
    uint32_t bitCount, compression = BI_RGB, colours = 0;
    if (size == sizeof(BITMAPCOREHEADER)) {
        width = header.U16LE();
        height = header.U16LE();
        header.Skip(2);
        bitCount = header.U16LE();
    } else {
        width = header.I32LE();
        height = header.I32LE();
        header.Skip(2);
        bitCount = header.U16LE();
        compression = header.U32LE();
        header.Skip(12);
        colours = header.U32LE();
    }
    if (!header.Ok() || size < sizeof(BITMAPCOREHEADER) || size > available || width <= 0 ||
        height == 0 || width > kMaxBitmapSide || llabs(height) > kMaxBitmapSide)
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return false;
    if (colours == 0 && bitCount <= 8)
        colours = 1u << bitCount;
    if (colours > 256 && bitCount <= 8)
        return false;
    uint64_t entryBytes = usage == DIB_PAL_COLORS ? 2 : size == sizeof(BITMAPCOREHEADER) ? 3 : 4;
    uint64_t maskBytes = compression == BI_BITFIELDS && size == sizeof(BITMAPINFOHEADER) ? 12 : 0;
    layout->headerBytes = size + maskBytes + (uint64_t)colours * entryBytes;
    layout->compressed = compression != BI_RGB && compression != BI_BITFIELDS;
    layout->rowBytes = ((uint64_t)width * bitCount + 31) / 32 * 4;
    layout->width = (uint64_t)width;
    layout->rows = (uint64_t)llabs(height);
    return true;
}
