// The proxy graphics an entity of an unknown class (or an
// ACAD_PROXY_ENTITY) carries: the picture its application last drew, as a
// metafile of drawing commands. After a header (total size, number of
// commands, 32 bits each) each command is its size (these 8 bytes
// included), its type and its data: circles, arcs, polylines, polygons,
// LWPOLYLINEs, meshes, shells, texts, and changes of colour, layer,
// linetype, lineweight, fill, of the model transform and of the clip
// boundary (pushed and popped).
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <vector>

#include "platform/zrio/entity_walker.h"

namespace zr {

// Draws the commands through the sink, in the transform t, starting from the
// entity's style; commands that cannot be read end the drawing.
void DrawProxyGraphics(const std::vector<uint8_t>& bytes, const Database& db, const Transform& t,
                       const DrawStyle& style, PrimitiveSink& sink);

}  // namespace zr
