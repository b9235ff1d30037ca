// The codec of format id 1: Windows and OS/2 bitmaps, and bare DIBs
// (a bitmap header without the 14-byte file header).
#pragma once
#include "codecs/ximage.h"

class CxImageBMP : public CxImage {
public:
    CxImageBMP() : CxImage(CXIMAGE_FORMAT_BMP) {}

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream);
    // Reads the bitmap header (core, info, OS/2 version 2 or a later
    // Windows header) and normalises it into an info header.
    bool ReadBitmapInfo(CxFile* stream, BITMAPINFOHEADER* info);

private:
    bool ReadPalette(CxFile* stream, DWORD count, bool coreHeader);
    bool ReadPixels(CxFile* stream, const BITMAPINFOHEADER& file, int64_t pixelStart,
                    int64_t headerStart);
    bool ReadBitfieldMasks(CxFile* stream, const BITMAPINFOHEADER& file, int64_t headerStart,
                           DWORD masks[3]);
    void DecodeRle(CxFile* stream, bool nibbles);
};
