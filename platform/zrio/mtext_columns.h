// The column data of an MTEXT: the embedded object of R2018 files, or the
// ACAD_MTEXT_COLUMN_INFO extended data that R2007 to R2013 files carry.
#pragma once
#include "platform/zrio/win32.h"

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/mtext_layout.h"

namespace zr {

// Sets the columns of `format` from the groups an MTEXT keeps as read;
// leaves them none when it has no column data.
void ReadMTextColumns(const RawGroups& raw, MTextFormat* format);

}  // namespace zr
