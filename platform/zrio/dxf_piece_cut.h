// Where the bytes of a DXF file may be cut into pieces that worker threads
// parse apart: before a "0" group that starts a record of its own, not a
// VERTEX, ATTRIB or SEQEND that belongs to the entity before it. The cut is
// found by what the bytes look like, without reading the groups before it:
// in a sound ASCII file only a code line reads "0" before a line of text,
// and a binary file's groups are told by their look alone. A cut that is
// not a group start after all is found when the groups are read (the
// group reader joins the pieces again).
#pragma once
#include <stddef.h>

#include "platform/zrio/dxf_groups.h"

namespace zr {

const size_t kNoCut = size_t(-1);

// The first cut at or after `from` whose lines (or bytes) lie whole within
// data[0, size); kNoCut when none does. `*resume` is where to look again
// when more bytes follow.
size_t NextCut(const char* data, size_t size, size_t from, const DxfFormat& format, size_t* resume);

}  // namespace zr
