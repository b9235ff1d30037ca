// The codec of format id 11: turns a placeable Windows metafile or an
// enhanced metafile into a raster image by playing it through GDI into a
// screen-compatible bitmap on the window colour. Decoding only.
#pragma once
#include "codecs/ximage.h"

class CxImageWMF : public CxImage {
public:
    // The placeable header in front of a Windows metafile.
    struct PlaceableHeader {
        int16_t left, top, right, bottom;   // bounding box in metafile units
        WORD unitsPerInch;
    };

    // Output larger than this in either direction is scaled down.
    static const int64_t kMaxSide = 4000;

    CxImageWMF() : CxImage(CXIMAGE_FORMAT_WMF) {}

    // A wanted width or height that is not 0 replaces the measured one.
    bool Decode(CxFile* stream, LONG wantedWidth = 0, LONG wantedHeight = 0);
    bool Encode(CxFile* stream);

    // Key, checksum and units per inch of the 22 header bytes.
    static bool CheckPlaceableHeader(const BYTE* bytes);
    // Keeps both sides within kMaxSide, keeping the aspect ratio.
    static void LimitMetafileSize(int64_t& width, int64_t& height);

private:
    HENHMETAFILE ReadPlaceableWmf(CxFile* stream, PlaceableHeader* placeable);
    HENHMETAFILE ReadEnhMetafile(CxFile* stream, ENHMETAHEADER* header);
    bool Render(HENHMETAFILE metafile, DWORD width, DWORD height);
};
