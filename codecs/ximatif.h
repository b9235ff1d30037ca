// The codec of format id 7: TIFF through libtiff over a CxFile. Decoding
// reads one page (the image's frame number) and reports the page count as
// the frame count; the codec option of format 7 carries the file's
// compression, which encoding uses again. Encoding with append keeps the
// file open on this object, so that further calls add pages.
#pragma once
#include "codecs/ximage.h"

typedef struct tiff TIFF;

// The grey levels of a file's sample size, black to white (white to black
// when whiteIsZero), into the first entries of a palette of `colours`
// entries, even when the image holds them at a larger depth.
void CxTiffGreyPalette(RGBQUAD* palette, DWORD colours, uint16_t bitsPerSample, bool whiteIsZero);

class CxImageTIF : public CxImage {
public:
    CxImageTIF() : CxImage(CXIMAGE_FORMAT_TIF), m_tif(NULL), m_multipage(false), m_pages(0) {}
    ~CxImageTIF() override;
    CxImageTIF(const CxImageTIF&) = delete;
    CxImageTIF& operator=(const CxImageTIF&) = delete;

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream, bool append);
    bool Encode(CxFile* stream) { return Encode(stream, false); }
    // Writes the tags and pixels of one page.
    bool EncodeBody(TIFF* tif, bool multipage, int page, int pageCount);

private:
    bool DecodePage(TIFF* tif);
    bool DecodeRgba(TIFF* tif, DWORD width, DWORD height, uint16_t samples);
    bool DecodeIndexed(TIFF* tif, DWORD width, DWORD height, uint16_t samples,
                       uint16_t bitsPerSample, uint16_t photometric, uint32_t rowsPerStrip);
    bool SetPaletteFromFile(TIFF* tif, uint16_t bitsPerSample, uint16_t photometric);
    bool PutRow(BYTE* line, size_t lineBytes, DWORD dibRow, uint16_t samples,
                uint16_t bitsPerSample);
    // 2-bit samples into the nibbles of a 4-bit row.
    void PutTwoBitRow(const BYTE* line, size_t lineBytes, DWORD dibRow);
    void PutLabRow(const BYTE* line, size_t lineBytes, DWORD dibRow, uint16_t samples);
    int SetPhotometric();
    bool WritePixels(TIFF* tif, uint16_t samples);
    void CloseWriter();

    TIFF* m_tif;
    bool m_multipage;
    int32_t m_pages;
};
