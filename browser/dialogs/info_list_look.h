// The look of the read-only information lists (shortcut list, EXIF
// viewer): full-row selection, movable columns, tips for cut texts, and a
// background a shade darker than the list's own.
#pragma once
#include "platform/classlib/classlib.h"

// The colour with each channel darkened by 5 (a channel of 5 or less
// becomes 0).
COLORREF DarkenBy5(COLORREF colour);

// Styles and colours of the list, then its left-aligned columns in order
// (heading, width in pixels).
struct InfoListColumn {
    const char* heading;
    int width;
};
void ApplyInfoListLook(CListCtrl& list, const InfoListColumn* columns, int columnCount);

// Appends a row of two texts; the row's index.
int AppendInfoRow(CListCtrl& list, const char* first, const char* second);
