// The thumbnail of a raster file: decoded at the smallest size that serves
// (a JPEG by its decoder's own scaling; PNG and TIFF rows averaged down as
// they are decoded, so the whole picture is never held) and averaged down
// the rest of the way.
#pragma once
#include <windows.h>
#include <stdint.h>

// The BMP file image of the raster file's thumbnail for a boxWidth x
// boxHeight box (shrunk with its proportions kept, never enlarged, at least
// 1 x 1), made with malloc for KBMP::Attach; null when the file cannot be
// decoded. With exifPreview a JPEG's small EXIF picture is used when it has
// one. Safe on any thread.
BYTE* MakeRasterThumbnail(const char* path, int32_t fileKind, int boxWidth, int boxHeight, bool exifPreview);

// True for a file kind that MakeRasterThumbnail can decode.
bool IsRasterThumbnailKind(int32_t fileKind);
