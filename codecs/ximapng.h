// The codec of format id 4: PNG through libpng over a CxFile. Every PNG
// colour type decodes to a 1-, 4-, 8- or 24-bit image: palette transparency
// goes into the palette's reserved bytes, a real alpha channel into the
// alpha plane, and other transparency is composed onto the file's
// background colour (or grey 192). The codec option of format 4 is the
// interlace choice: 1 after decoding an interlaced file, and encoding
// writes Adam7 interlace when it is 1.
#pragma once
#include "codecs/ximage.h"

class CxImagePNG : public CxImage {
public:
    CxImagePNG() : CxImage(CXIMAGE_FORMAT_PNG) {}

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream);
};
