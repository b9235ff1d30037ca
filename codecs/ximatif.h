// The codec of format id 7: TIFF through libtiff over a CxFile. Decoding
// reads one page (the image's frame number) and reports the page count as
// the frame count; the codec option of format 7 carries the file's
// compression, which encoding uses again. Encoding with append keeps the
// file open on this object, so that further calls add pages.
#pragma once
#include "codecs/ximage.h"
#include "codecs/xtiffio.h"


// The grey levels of a file's sample size, black to white (white to black
// when whiteIsZero), into the first entries of a palette of `colours`
// entries, even when the image holds them at a larger depth.
void CxTiffGreyPalette(RGBQUAD* palette, DWORD colours, uint16_t bitsPerSample, bool whiteIsZero);

class CxImageTIF : public CxImage {
public:
    CxImageTIF() : CxImage(CXIMAGE_FORMAT_TIF), m_tif(NULL), m_multipage(false), m_pages(0)
    {
        m_libtiffError[0] = 0;
    }
    ~CxImageTIF() override;
    CxImageTIF(const CxImageTIF&) = delete;
    CxImageTIF& operator=(const CxImageTIF&) = delete;

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream, bool append);
    bool Encode(CxFile* stream) { return Encode(stream, false); }
    // Writes the tags and pixels of one page.
    bool EncodeBody(TIFF* tif, bool multipage, int page, int pageCount);

private:
    // The tags of a page that its pixels are read by.
    struct Page {
        uint32_t width = 0;
        uint32_t height = 0;
        uint32_t rowsPerStrip = 0xFFFFFFFF;
        uint16_t samples = 1;
        uint16_t bitsPerSample = 1;
        uint16_t photometric = 0;
        uint16_t planar = 1;        // 1 contiguous samples, 2 one plane per sample
        bool premultiplied = false; // the colours are multiplied by the alpha sample
    };

    // fileBytes: the stream's size, the budget of the page's data.
    bool DecodePage(TIFF* tif, uint64_t fileBytes);
    bool FailWithLibtiffError(const char* otherwise);
    bool DecodeRgba(TIFF* tif, DWORD width, DWORD height);
    bool DecodeSamples(TIFF* tif, const Page& page, CxRowSink* sink);
    bool ReadBand(TIFF* tif, const Page& page, uint32_t ys, uint32_t rows, uint16_t plane,
                  size_t lineBytes, BYTE* band, BYTE* tile);
    bool SetPaletteFromFile(TIFF* tif, uint16_t bitsPerSample, uint16_t photometric);
    bool PutPackedRow(const BYTE* line, size_t lineBytes, DWORD dibRow, const Page& page);
    void PutSamples(const uint32_t* samples, DWORD dibRow, const Page& page);
    int SetPhotometric();
    bool WritePixels(TIFF* tif, uint16_t samples);
    void CloseWriter();

    TIFF* m_tif;
    bool m_multipage;
    int32_t m_pages;
    char m_libtiffError[CX_TIFF_ERROR_LENGTH];   // libtiff's last error while decoding
};
