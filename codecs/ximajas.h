// The codec of format ids 12 to 16: JPEG-2000 files (JP2) and code streams
// (JPC) through OpenJPEG, and PGX, PNM (P1 to P6, up to 16 bits) and Sun
// raster files read and written here. Every format is read into sample
// planes (components); decoding recognises the format by its first bytes,
// whatever format id it was asked for, and then moves the planes into the
// image:
// - three planes of one size and precision 8 become a 24-bit image;
// - two planes of one layout are grey with alpha, four colour with alpha;
// - otherwise each plane is a frame of its own, decoded as a grey image;
// - a picture whose first plane has another precision than 1, 4 or 8 is
//   first brought to three 8-bit planes (grey is repeated in all three).
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "codecs/ximage.h"

// One sample plane, rows from the top of the picture. The JPEG-2000 reader
// brings subsampled planes to the first plane's size and turns sYCC (and
// three planes with subsampled chroma) into red, green and blue.
struct CxJasComponent {
    DWORD width = 0;
    DWORD height = 0;
    int precision = 8;      // bits per sample
    bool isSigned = false;
    std::vector<int32_t> samples;
};

typedef std::vector<CxJasComponent> CxJasPicture;

class CxImageJAS : public CxImage {
public:
    CxImageJAS() : CxImage(CXIMAGE_FORMAT_UNKNOWN) {}

    // type: the format id the image gets (0 from the try-every-decoder road).
    bool Decode(CxFile* stream, DWORD type);
    bool Encode(CxFile* stream, DWORD format);

    // The JPEG-2000 rate of a JPEG quality: the share of the uncompressed
    // size that the code stream may take (quality 90 gives 0.9).
    static float EncodeRate(BYTE quality);

private:
    bool ToImage(CxJasPicture& picture, DWORD type);
    bool ToImageWithAlpha(CxJasPicture& picture, DWORD type);
    bool FrameToImage(const CxJasComponent& component, DWORD type);
    bool FromImage(CxJasPicture& picture);
};

// The readers and writers of the formats, over the picture's planes. Each
// returns NULL on success, else its message.
const char* CxReadJpeg2000(CxFile* stream, bool codeStream, CxJasPicture& picture);
const char* CxWriteJpeg2000(CxFile* stream, bool codeStream, const CxJasPicture& picture,
                            float rate);
const char* CxReadPnm(const std::string& bytes, CxJasPicture& picture);
const char* CxWritePnm(CxFile* stream, const CxJasPicture& picture);
const char* CxReadPgx(const std::string& bytes, CxJasPicture& picture);
const char* CxWritePgx(CxFile* stream, const CxJasPicture& picture);
const char* CxReadRas(const std::string& bytes, CxJasPicture& picture);
const char* CxWriteRas(CxFile* stream, const CxJasPicture& picture);

// Reads the decimal digits at `at` (moving past them) into `value`; false
// when there is no digit or the number does not fit in 32 bits.
bool CxJasReadDecimal(const std::string& bytes, size_t& at, uint32_t& value);

// Planes of width x height samples may be allocated only when this holds:
// the same memory limit as CxImage::Create for a 24-bit image, and no more
// pixels than any decoder makes (codecs/ximabudget.h).
bool CxJasSizeAllowed(uint64_t width, uint64_t height, uint64_t planes);

// The codec-table rows of formats 12 to 16: decoding with the format asked
// for (0 when every decoder is tried), encoding as that format.
bool CxDecodeJas(CxImage& image, CxFile* stream, DWORD type);
bool CxEncodeJas(CxImage& image, CxFile* stream, DWORD type);
