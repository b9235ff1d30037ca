// The codec of format id 10: wireless bitmaps of type 0 (black and white,
// one bit per pixel, a set bit white). Width and height are multi-byte
// integers (seven bits a byte, the high bit saying another byte follows).
#pragma once
#include "codecs/ximage.h"

class CxImageWBMP : public CxImage {
public:
    CxImageWBMP() : CxImage(CXIMAGE_FORMAT_WBMP) {}

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream);
};
