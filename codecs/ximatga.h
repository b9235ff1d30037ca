// The codec of format id 8: Truevision TGA, colour-mapped, true-colour and
// grey, uncompressed or run-length (8, 15, 16, 24 and 32 bits per pixel,
// 16-bit grey being grey with alpha; any orientation); written uncompressed
// at 8, 24 or 32 bits.
#pragma once
#include <vector>

#include "codecs/ximage.h"

class CxImageTGA : public CxImage {
public:
    CxImageTGA() : CxImage(CXIMAGE_FORMAT_TGA) {}

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream);

private:
    // A run-length packet that runs past the end of a row continues on
    // the next one.
    struct RleCarry {
        int header = -1;    // packet header of what is left; -1: none
        BYTE value[4];      // the pixel of a run packet
    };

    bool ReadColourMap(CxFile* stream, DWORD first, DWORD length, int entryBits);
    // Reads `count` pixels of the file's depth into row `dibRow` from
    // column `first`; false when the stream ran short.
    bool ReadRawPixels(CxFile* stream, DWORD dibRow, DWORD first, DWORD count);
    void ReadRleRow(CxFile* stream, DWORD dibRow, RleCarry& carry);
    void PutPixel(DWORD x, DWORD dibRow, const BYTE* value);

    int m_fileDepth = 0;
    bool m_greyAlpha = false;   // 16-bit grey: a grey level and an alpha value
    std::vector<BYTE> m_line;
};
