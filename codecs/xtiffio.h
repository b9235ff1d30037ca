// libtiff over a CxFile: TIFFOpenEx opens a libtiff handle whose reads,
// writes and seeks go to the stream. Closing the handle (TIFFClose) leaves
// the stream open; its owner closes it.
#pragma once
#include <stdint.h>

#include "codecs/xfile.h"

typedef struct tiff TIFF;

// mode as for TIFFOpen ("r", "w", "a", ...); null when libtiff refuses.
// libtiff's error and warning messages for the handle are dropped. Append
// mode needs a stream that can be read as well as written.
TIFF* TIFFOpenEx(CxFile* stream, const char* mode);

// The seek procedure handed to libtiff: (offset, whence) on the stream;
// returns the new absolute position, or 0xFFFFFFFF... (all ones) on failure.
uint64_t CxTiffSeekProc(void* stream, uint64_t offset, int whence);
