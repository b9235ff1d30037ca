// Metafiles for the metafile decoder's tests and mutation series: pictures
// that use most kinds of record (pens, brushes, fonts and text, bitmaps,
// regions, paths, transforms), as GDI writes them.
#pragma once
#include <string>

namespace codectest {

// The 22-byte placeable header of a Windows metafile whose picture is
// right x bottom units of unitsPerInch.
std::string PlaceableHeader(int right, int bottom, unsigned unitsPerInch);

// An enhanced metafile of about 100 x 60 pixels.
std::string RichEnhancedMetafile();

// A placeable Windows metafile of the same picture.
std::string RichPlaceableMetafile();

}  // namespace codectest
