// JEntity and JGroup: the filled or outlined polygon entities of the
// vector picture, in world coordinates, and the groups that own them.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "graphics/jobject.h"
#include "graphics/kcanvas.h"

class JEntity : public JObject
{
public:
    enum Flags { FlagFilled = 1, FlagClosed = 2 };

    JEntity();
    JEntity(const JEntity&) = delete;
    JEntity& operator=(const JEntity&) = delete;

    // Width, colour index, flags, then the polylines; false when the bytes
    // are short (what was read so far stays, the caller discards it).
    bool Read(KBuffer& buffer) override;
    // The box of all points and the dot scale; false (box kept) without
    // points.
    bool UpdateBox();
    // The colour of colourIndex in the process-wide CAD colour table.
    void UpdateColour();
    // Draws through the canvas at the given scale (device pixels per world
    // unit), classified against the process-wide trim window.
    void Draw(KCanvas& canvas, float scale);

    float dotScale;       // at or below this scale the entity is one pixel
    float width;          // line width in world units
    BYTE colourIndex;     // CAD colour index
    COLORREF colour;
    KPolylineList polylines;
    BYTE flags;
    uint32_t pointCount;  // points of all polylines
    KWorldRect box;       // zero until the first UpdateBox with points
};

class JGroup : public JObject
{
public:
    JGroup() {}
    JGroup(const JGroup&) = delete;
    JGroup& operator=(const JGroup&) = delete;
    ~JGroup() override;

    // The entity count, then the entities; false when the bytes are short.
    bool Read(KBuffer& buffer) override;
    // Deletes every entity.
    void Clear();

    OList<JEntity*> entities;
};
