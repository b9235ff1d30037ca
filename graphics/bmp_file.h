// Whole BMP file images (the 14-byte file header followed by a packed DIB
// with an info header): checking one in memory and reading one from a
// class-library file, every size checked against the data.
#pragma once
#include <windows.h>

class CFile;

// True when the block holds a whole usable file image: "BM", a file-size
// field within the block, an info header, and the colour table and the
// pixel rows within the file size.
bool IsWholeBmpFileImage(const BYTE* image, size_t size);

// The file-size field (bfSize) of a file image.
DWORD BmpFileSizeField(const BYTE* image);

// Reads one file image from the file's current position into a
// malloc'ed block (its size in size), with the pixel rows moved to follow
// the colour table when the file leaves a gap, a colour count of 0 written
// as 2, 16 or 256 at 1, 4 or 8 bits and a missing image size filled in.
// Null when the data is short, damaged or not a BMP with an info header,
// or on a class-library exception (which is deleted here).
BYTE* ReadBmpFileImage(CFile* file, DWORD& size);

// A new file image (malloc) of a 24-bit picture of width x height pixels
// whose rows lie `stride` bytes apart at `rows`, from the top when topDown:
// stored bottom-up with an info header, as CDib stores its pictures. Null
// when memory runs out or the sizes do not fit a BMP file.
BYTE* MakeBmpFileImage24(int width, int height, const BYTE* rows, size_t stride, bool topDown);
