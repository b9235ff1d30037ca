// The C library headers come before <windows.h>, whose min and max
// macros they cannot take.
#include <math.h>
#include "graphics/jentity.h"

#include "graphics/cad_color_table.h"
#include "graphics/kbuffer.h"
#include "graphics/ktrim_window.h"

namespace {

// Bytes of the smallest entity (width, colour index, flags, polyline
// count) and of a polyline's point count and of one point.
const uint32_t kMinEntityBytes = 10;
const uint32_t kCountBytes = 4;
const uint32_t kPointBytes = 8;
const float kDotSize = 1.49f;

bool ReadPolyline(KBuffer& buffer, KPointBuffer& points)
{
    uint32_t count = 0;
    if (!buffer.ReadUInt32(count) || count > buffer.GetRemaining() / kPointBytes)
        return false;
    if (count == 0)
        return true;
    if (!points.Alloc(count))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        if (!buffer.ReadFloat(points[i].x) || !buffer.ReadFloat(points[i].y))
            return false;
    }
    return true;
}

}  // namespace

JEntity::JEntity()
    : dotScale(0.0f),
      width(0.0f),
      colourIndex(7),
      colour(0),
      flags(0),
      pointCount(0),
      box{0.0f, 0.0f, 0.0f, 0.0f}
{
}

bool JEntity::Read(KBuffer& buffer)
{
    uint32_t count = 0;
    pointCount = 0;
    if (!buffer.ReadFloat(width) || !buffer.ReadUInt8(colourIndex) || !buffer.ReadUInt8(flags) ||
        !buffer.ReadUInt32(count) || count > buffer.GetRemaining() / kCountBytes)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        KPointBuffer* points = polylines.AppendNew();
        if (!points || !ReadPolyline(buffer, *points))
            return false;
        pointCount += points->GetCount();
    }
    return true;
}

bool JEntity::UpdateBox()
{
    bool first = true;
    KWorldRect bounds = {0.0f, 0.0f, 0.0f, 0.0f};
    for (KPointBuffer* points = polylines.First(); points; points = polylines.Next()) {
        for (uint32_t i = 0; i < points->GetCount(); ++i) {
            const KType::RPoint2D& p = (*points)[i];
            if (first) {
                bounds = KWorldRect{p.x, p.y, p.x, p.y};
                first = false;
                continue;
            }
            bounds.left = fminf(bounds.left, p.x);
            bounds.right = fmaxf(bounds.right, p.x);
            bounds.top = fmaxf(bounds.top, p.y);
            bounds.bottom = fminf(bounds.bottom, p.y);
        }
    }
    if (first)
        return false;
    box = bounds;
    float extent = fmaxf(box.right - box.left, box.top - box.bottom);
    if (extent > 0.0f)
        dotScale = kDotSize / extent;
    return true;
}

void JEntity::UpdateColour()
{
    colour = g_CadColorTable.GetColor(colourIndex);
}

void JEntity::Draw(KCanvas& canvas, float scale)
{
    if (scale <= dotScale) {
        canvas.SetPixel(box.left, box.top, colour);
        return;
    }
    if (g_TrimWindow.Classify(box) == -1)
        return;
    bool filled = (flags & FlagFilled) != 0;
    canvas.SetPenColor(colour);
    if (filled || width == 0.0f)
        canvas.SetPenWidth(1);
    else
        canvas.SetPenWidth(static_cast<int>(nearbyintf(width * scale)));
    if (polylines.GetCount() >= 2) {
        canvas.SetBrushColor(colour);
        canvas.DrawPolyPolygon(polylines, pointCount);
        return;
    }
    KPointBuffer* points = polylines.GetHead();
    if (!points)
        return;
    if (filled)
        canvas.SetBrushColor(colour);
    canvas.DrawPoly(*points, (flags & FlagClosed) != 0, filled);
}

JGroup::~JGroup()
{
    Clear();
}

void JGroup::Clear()
{
    for (JEntity** entity = entities.First(); entity; entity = entities.Next())
        delete *entity;
    entities.RemoveAll();
}

bool JGroup::Read(KBuffer& buffer)
{
    uint32_t count = 0;
    if (!buffer.ReadUInt32(count) || count > buffer.GetRemaining() / kMinEntityBytes)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        JEntity* entity = new (std::nothrow) JEntity;
        if (!entity)
            return false;
        if (!entities.Append(entity)) {
            delete entity;
            return false;
        }
        if (!entity->Read(buffer))
            return false;
    }
    return true;
}
