// Taking a picture apart for the GIF and JPEG writers: a private copy of
// it, and its pixel rows without padding, top row first.
#pragma once
#include <windows.h>
#include <vector>

class CDib;

// A copy of the given picture, or of the writer's own one when none is
// given, into target; false when there is neither or it cannot be made into
// a bitmap.
bool CopyPictureInto(const CDib* given, const CDib* own, CDib& target);
// A copy of a packed DIB of the given size into target; false when the
// bytes do not hold a whole uncompressed packed DIB.
bool CopyPackedDibInto(const void* packedDib, DWORD size, CDib& target);

// The rows of an 8- or 24-bit picture, width x bytes-per-pixel bytes each,
// top row first; empty when the picture has another depth.
std::vector<BYTE> TopDownRows(const CDib& picture);
