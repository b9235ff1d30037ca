#include "codecs/ximawmf_playback.h"

#include <math.h>
#include <string.h>

#include "codecs/ximawmf_shapes.h"
#include "platform/base/byte_reader.h"

namespace {

const size_t kRecordHeadBytes = 8;       // type and size
const DWORD kStockObjectFlag = 0x80000000;
const DWORD kLastStockObject = DC_PEN;

// Records that make an object into a slot of the handle table; the slot
// number follows the record's type and size.
bool MakesObject(DWORD type)
{
    switch (type) {
    case EMR_CREATEPEN:
    case EMR_CREATEBRUSHINDIRECT:
    case EMR_CREATEPALETTE:
    case EMR_EXTCREATEFONTINDIRECTW:
    case EMR_EXTCREATEPEN:
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
    case EMR_CREATECOLORSPACE:
    case EMR_CREATECOLORSPACEW:
        return true;
    default:
        return false;
    }
}

// Where a record that uses an object names its slot (0 for records that
// use none); `stockAllowed` tells whether a stock object (a flagged number)
// may stand there.
size_t ObjectSlotOffset(DWORD type, bool* stockAllowed)
{
    *stockAllowed = false;
    switch (type) {
    case EMR_SELECTOBJECT:
        *stockAllowed = true;
        return 8;
    case EMR_DELETEOBJECT:  // stock objects are never deleted
    case EMR_SELECTPALETTE:
    case EMR_SETCOLORSPACE:
    case EMR_DELETECOLORSPACE:
    case EMR_RESIZEPALETTE:
    case EMR_SETPALETTEENTRIES:
        return 8;
    case EMR_FILLRGN:
    case EMR_FRAMERGN:
        return 28;  // the brush, after the bounds and the region's size
    default:
        return 0;
    }
}

bool StrokesPath(DWORD type)
{
    return type == EMR_STROKEPATH || type == EMR_STROKEANDFILLPATH || type == EMR_WIDENPATH;
}

bool DrawsText(DWORD type)
{
    return type == EMR_EXTTEXTOUTA || type == EMR_EXTTEXTOUTW || type == EMR_POLYTEXTOUTA ||
           type == EMR_POLYTEXTOUTW || type == EMR_SMALLTEXTOUT;
}

DWORD SlotOf(const ENHMETARECORD* record)
{
    return record->nSize >= kRecordHeadBytes + 4 ? GetU32LE((const BYTE*)record + 8) : 0;
}

// The length a logical size becomes in device pixels at the given scale,
// brought down to `limit`: the logical size that gives the limit (0 when
// even one logical unit is larger), or `logical` itself when it is within.
LONG LimitedSize(LONG logical, double scale, LONG limit)
{
    double device = fabs((double)logical) * scale;
    if (!(device > limit))
        return logical;
    LONG smaller = (LONG)floor(limit / scale);
    return logical < 0 ? -smaller : smaller;
}

// A copy of the DC's current pen at most `limit` device pixels wide (one
// pixel wide when a logical unit is wider), or null when it is not wider.
HPEN NarrowerPen(HDC dc, double scale, LONG limit)
{
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    int bytes = pen ? GetObjectW(pen, 0, NULL) : 0;
    if (bytes == (int)sizeof(LOGPEN)) {
        LOGPEN logical;
        if (!GetObjectW(pen, sizeof(logical), &logical))
            return NULL;
        LONG width = LimitedSize(logical.lopnWidth.x, scale, limit);
        if (width == logical.lopnWidth.x)
            return NULL;
        logical.lopnWidth.x = width;  // 0: one pixel
        return CreatePenIndirect(&logical);
    }
    if (bytes < (int)sizeof(EXTLOGPEN) - (int)sizeof(DWORD))
        return NULL;
    std::vector<BYTE> buffer((size_t)bytes + sizeof(DWORD), 0);
    EXTLOGPEN* extended = (EXTLOGPEN*)buffer.data();
    if (!GetObjectW(pen, bytes, extended) ||
        (extended->elpPenStyle & PS_TYPE_MASK) != PS_GEOMETRIC)
        return NULL;
    LONG width = LimitedSize((LONG)extended->elpWidth, scale, limit);
    if (width == (LONG)extended->elpWidth)
        return NULL;
    LOGBRUSH brush = { extended->elpBrushStyle, extended->elpColor, extended->elpHatch };
    DWORD style = extended->elpPenStyle;
    if (width == 0) {
        // A cosmetic pen is one pixel wide whatever the transform.
        style = PS_COSMETIC | (style & PS_STYLE_MASK);
        width = 1;
        brush.lbStyle = BS_SOLID;
    }
    bool userStyle = (style & PS_STYLE_MASK) == PS_USERSTYLE;
    return ExtCreatePen(style, (DWORD)width, &brush, userStyle ? extended->elpNumEntries : 0,
                        userStyle ? extended->elpStyleEntry : NULL);
}

// A copy of the DC's current font at most `limit` device pixels tall and
// wide, or null when it is not larger. `tooLarge` is set when even a font
// one logical unit tall would be larger.
HFONT SmallerFont(HDC dc, double scale, LONG limit, bool* tooLarge)
{
    *tooLarge = false;
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    LOGFONTW logical;
    if (!font || GetObjectW(font, sizeof(logical), &logical) != (int)sizeof(logical))
        return NULL;
    LONG height = LimitedSize(logical.lfHeight, scale, limit);
    LONG width = LimitedSize(logical.lfWidth, scale, limit);
    if (height == logical.lfHeight && width == logical.lfWidth)
        return NULL;
    // A height of 0 asks for the default size, not a small one.
    if (height == 0 || (width == 0 && logical.lfWidth != 0)) {
        *tooLarge = true;
        return NULL;
    }
    logical.lfHeight = height;
    logical.lfWidth = width;
    return CreateFontIndirectW(&logical);
}

}  // namespace

CxMetafilePlayback::CxMetafilePlayback(LONG width, LONG height)
    : m_width(width), m_height(height), m_start(GetTickCount()), m_records(0), m_tooLong(false)
{
}

bool CxMetafilePlayback::Play(HDC dc, HENHMETAFILE metafile, const RECT& area)
{
    EnumEnhMetaFile(dc, metafile, PlayRecord, this, &area);
    DeleteLeftObjects();
    return !m_tooLong;
}

int CALLBACK CxMetafilePlayback::PlayRecord(HDC dc, HANDLETABLE* handles,
                                            const ENHMETARECORD* record, int count,
                                            LPARAM parameter)
{
    return ((CxMetafilePlayback*)parameter)->PlayOne(dc, handles, record, count);
}

// Plays one record unless it is damaged (a shape too short for its points,
// a shape far outside the picture, a bitmap outside its record, an object
// slot outside the table or already in use); ends the playback when it has
// taken too long.
int CxMetafilePlayback::PlayOne(HDC dc, HANDLETABLE* handles, const ENHMETARECORD* record,
                                int count)
{
    if (++m_records > kMaxRecords || GetTickCount() - m_start > kTimeLimitMs) {
        m_tooLong = true;
        return 0;
    }
    if (!record || record->nSize < kRecordHeadBytes)
        return 1;
    DWORD slot = 0;
    if (MakesObject(record->iType)) {
        if (!MakesObjectAt(record, handles, count, &slot) ||
            !CxEmfRecordIsPlayable(dc, record, m_width, m_height))
            return 1;
        PlayEnhMetaFileRecord(dc, handles, record, (UINT)count);
        if (handles->objectHandle[slot])
            m_made.push_back(handles->objectHandle[slot]);
        return 1;
    }
    bool stockAllowed = false;
    if (size_t at = ObjectSlotOffset(record->iType, &stockAllowed)) {
        if (record->nSize < at + 4)
            return 1;
        slot = GetU32LE((const BYTE*)record + at);
        bool stock = stockAllowed && (slot & kStockObjectFlag) &&
                     (slot & ~kStockObjectFlag) <= kLastStockObject;
        if (!stock && (slot == 0 || slot >= (DWORD)count))
            return 1;
    }
    if (!CxEmfRecordIsPlayable(dc, record, m_width, m_height))
        return 1;
    PlayWithinLimits(dc, handles, record, count);
    return 1;
}

bool CxMetafilePlayback::MakesObjectAt(const ENHMETARECORD* record, HANDLETABLE* handles,
                                       int count, DWORD* slot) const
{
    *slot = SlotOf(record);
    // Slot 0 is the metafile's own; a slot in use would lose its object.
    return *slot > 0 && *slot < (DWORD)count && !handles->objectHandle[*slot];
}

// Plays a record with the DC's pen and font brought within their limits
// for the record's time: a stroke with a pen thousands of pixels wide, or
// text in glyphs thousands of pixels tall, costs GDI seconds. Text that no
// font within the limit can draw is not drawn.
bool CxMetafilePlayback::PlayWithinLimits(HDC dc, HANDLETABLE* handles,
                                          const ENHMETARECORD* record, int count)
{
    HGDIOBJ substitute = NULL;
    if (CxEmfRecordIsShape(record) || StrokesPath(record->iType)) {
        substitute = NarrowerPen(dc, CxEmfDeviceScale(dc), kMaxPenPixels);
    } else if (DrawsText(record->iType)) {
        bool tooLarge = false;
        substitute = SmallerFont(dc, CxEmfDeviceScale(dc), kMaxFontPixels, &tooLarge);
        if (tooLarge)
            return false;
    }
    HGDIOBJ original = substitute ? SelectObject(dc, substitute) : NULL;
    BOOL played = PlayEnhMetaFileRecord(dc, handles, record, (UINT)count);
    if (substitute) {
        SelectObject(dc, original);
        DeleteObject(substitute);
    }
    return played != FALSE;
}

// Objects of the metafile still alive once it has played (deselected by
// then: playing restores the DC's own objects).
void CxMetafilePlayback::DeleteLeftObjects()
{
    for (HGDIOBJ object : m_made) {
        if (GetObjectType(object))
            DeleteObject(object);
    }
    m_made.clear();
}
