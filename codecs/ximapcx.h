// The codec of format id 9: run-length encoded PCX files of 1 to 4 planes
// (monochrome, 16-colour planar, 2-, 4- and 8-bit packed, 24-bit RGB and
// 32-bit RGB with alpha); written as PCX version 5.
#pragma once
#include "codecs/ximage.h"

class CxImagePCX : public CxImage {
public:
    CxImagePCX() : CxImage(CXIMAGE_FORMAT_PCX) {}

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream);

private:
    struct FileLayout;
    bool DecodeLines(CxFile* stream, const FileLayout& layout);
    void PutTrueColourLine(const FileLayout& layout, const BYTE* line, DWORD dibRow);
    bool ReadTrailingPalette(CxFile* stream);
    // Each collects the run-length data; false when memory ran out.
    bool EncodeTrueColour(CxFile* data);
    bool EncodePaletteBytes(CxFile* data);
    bool EncodePlanes(CxFile* data, DWORD bytesPerLine, int planeCount);
};
