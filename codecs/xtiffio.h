// libtiff over a CxFile: TIFFOpenEx opens a libtiff handle whose reads,
// writes and seeks go to the stream. Closing the handle (TIFFClose) leaves
// the stream open; its owner closes it.
#pragma once
#include <stdint.h>

#include "codecs/xfile.h"

typedef struct tiff TIFF;

// The size of the buffer that keeps libtiff's last error.
const int CX_TIFF_ERROR_LENGTH = 256;

// mode as for TIFFOpen ("r", "w", "a", ...); null when libtiff refuses.
// The text of libtiff's last error for the handle goes into errorText (a
// buffer of CX_TIFF_ERROR_LENGTH characters, emptied first) when one is
// given; other messages are dropped. Append mode needs a stream that can be
// read as well as written.
TIFF* TIFFOpenEx(CxFile* stream, const char* mode, char* errorText = NULL);

// The seek procedure handed to libtiff: (offset, whence) on the stream;
// returns the new absolute position, or 0xFFFFFFFF... (all ones) on failure.
uint64_t CxTiffSeekProc(void* stream, uint64_t offset, int whence);
