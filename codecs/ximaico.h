// The codec of format id 6: reads one image of a Windows icon or cursor
// file (the frame asked for), BMP-style or PNG-compressed, and turns its
// AND mask into transparency; writes single-image icons.
#pragma once
#include "codecs/ximage.h"

class CxImageICO : public CxImage {
public:
    CxImageICO() : CxImage(CXIMAGE_FORMAT_ICO) {}

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream);

private:
    bool DecodePng(CxFile* stream);
    bool ReadPixels(CxFile* stream, WORD bitCount);
    void ApplyMask(const BYTE* mask, DWORD rowBytes, WORD bitCount);
    void MaskTrueColour(const BYTE* mask, DWORD rowBytes);
    void MaskPalette(const BYTE* mask, DWORD rowBytes);
};
