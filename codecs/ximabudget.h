// The budget every decoder applies before it allocates a picture: a file
// of a few hundred bytes must not make a decoder fill gigabytes or work for
// seconds. A picture is refused when it has more pixels than any decoder
// makes, or when the bytes left in the file cannot plausibly encode it.
#pragma once
#include <stdint.h>

class CxFile;

// No decoder makes a picture of more pixels than this (16384 x 16384),
// whatever the file holds.
const uint64_t CXIMAGE_MAX_PIXELS = (uint64_t)1 << 28;

// A file may end early, a download cut short: the rows it holds are shown
// and the rest stays blank. Its picture must still need at most this many
// times what its bytes can encode; a larger claim is a damaged size.
const uint64_t CXIMAGE_TRUNCATION_ALLOWANCE = 16;

// The most bytes of decoded pixel data that one byte of a coding gives:
// uncompressed rows 1; PackBits 64 (two bytes give 128); the run-length
// codings of BMP, TGA and PCX at most 128 (two bytes give 255 pixels); LZW
// with codes of up to 12 bits about 2731 (a code gives at most 4096
// pixels); zlib about 1032; JPEG 1024 (a block of 64 pixels in each channel
// costs at least one bit); JPEG-2000 4096 (an empty code block of 64 x 64
// pixels costs a few bits of its packet header).
const uint64_t CXIMAGE_EXPANSION_RAW = 1;
const uint64_t CXIMAGE_EXPANSION_PACKBITS = 64;
const uint64_t CXIMAGE_EXPANSION_RUNS = 128;
const uint64_t CXIMAGE_EXPANSION_LZW = 2731;
const uint64_t CXIMAGE_EXPANSION_ZLIB = 1032;
const uint64_t CXIMAGE_EXPANSION_JPEG = 1024;
const uint64_t CXIMAGE_EXPANSION_WAVELET = 4096;
// Codings that can say "the rest is blank" in a few bytes (the deltas and
// end code of BMP's run-length coding, CCITT fax): only the pixel count is
// checked.
const uint64_t CXIMAGE_EXPANSION_UNBOUNDED = UINT64_MAX;

// The bytes of a picture's pixel data at `bitsPerPixel` bits a pixel, each
// row packed into whole bytes.
uint64_t CxPackedPictureBytes(uint64_t width, uint64_t height, uint64_t bitsPerPixel);

// Whether `fileBytes` bytes coded with the given expansion can hold
// `dataBytes` bytes of decoded data.
bool CxDataCanHold(uint64_t dataBytes, uint64_t fileBytes, uint64_t maxExpansion);

enum CxPictureVerdict {
    CX_PICTURE_FITS,
    CX_PICTURE_TOO_LARGE,           // more pixels than CXIMAGE_MAX_PIXELS
    CX_PICTURE_TOO_LARGE_FOR_DATA   // needs more than the allowance times the data
};

// What a decoder may still make from the bytes left in its file: each
// picture or frame it makes is spent from it, so that many frames of one
// file cannot add up to more than the file can encode.
class CxPixelBudget {
public:
    CxPixelBudget(uint64_t remainingBytes, uint64_t maxExpansion);

    // Spends a picture of width x height pixels of `bitsPerPixel` bits;
    // nothing is spent when the verdict is a refusal.
    CxPictureVerdict Spend(uint64_t width, uint64_t height, uint64_t bitsPerPixel);

private:
    uint64_t m_bytesLeft;   // decoded bytes the file can still plausibly give
};

// The verdict on one picture of width x height pixels of `bitsPerPixel`
// bits whose data is coded in the `remainingBytes` bytes left in the file.
CxPictureVerdict CxCheckPicture(uint64_t width, uint64_t height, uint64_t bitsPerPixel,
                                uint64_t remainingBytes, uint64_t maxExpansion);

// The bytes from the stream's position to its end (0 when unknown).
uint64_t CxRemainingBytes(CxFile* stream);

// The refusal text of a verdict (empty for CX_PICTURE_FITS).
const char* CxPictureVerdictText(CxPictureVerdict verdict);
