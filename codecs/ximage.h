// CxImage: the raster image of the program. An image is a Windows DIB held
// in one block (40-byte BITMAPINFOHEADER, palette, bottom-up pixel rows
// padded to 4 bytes), an information block, and optional selection mask
// and alpha plane (width x height bytes each, row 0 at the bottom).
//
// Every format codec derives from CxImage and only adds Decode(CxFile*) and
// Encode(CxFile*); CxImage dispatches by format id through the codec table
// (codecs/ximacodecs.cpp). No operation throws: failures return false (or
// null) and leave their message in GetLastError().
//
// One image is used by one thread at a time; there is no lock.
#pragma once
#include <windows.h>
#include <stdint.h>
#include <stdio.h>

#include "codecs/xfile.h"

enum ImageFormatId {
    CXIMAGE_FORMAT_UNKNOWN = 0,  // decoding tries every decoder
    CXIMAGE_FORMAT_BMP = 1,
    CXIMAGE_FORMAT_GIF = 2,
    CXIMAGE_FORMAT_JPG = 3,
    CXIMAGE_FORMAT_PNG = 4,
    CXIMAGE_FORMAT_MNG = 5,      // MNG and JNG
    CXIMAGE_FORMAT_ICO = 6,
    CXIMAGE_FORMAT_TIF = 7,
    CXIMAGE_FORMAT_TGA = 8,
    CXIMAGE_FORMAT_PCX = 9,
    CXIMAGE_FORMAT_WBMP = 10,
    CXIMAGE_FORMAT_WMF = 11,     // WMF and EMF
    CXIMAGE_FORMAT_JP2 = 12,
    CXIMAGE_FORMAT_JPC = 13,
    CXIMAGE_FORMAT_PGX = 14,
    CXIMAGE_FORMAT_PNM = 15,
    CXIMAGE_FORMAT_RAS = 16,
    CMAX_IMAGE_FORMATS = 17
};

// Limit of Create: (width x height x bpp) >> 8 may not exceed this.
const uint64_t CXIMAGE_MAX_MEMORY = 256000000;
// The DIB block never exceeds this, whatever the limit above allows: its
// sizes are 32-bit fields and streams address 31 bits.
const uint64_t CXIMAGE_MAX_DIB_BYTES = 0x7FFFFFFF;

const int CXIMAGE_ERROR_LENGTH = 256;

class CxImage;

// A palette colour stored red, green, blue (as in PCX and GIF files).
struct CxRgbTriple {
    BYTE red;
    BYTE green;
    BYTE blue;
};

// The selection box: rows from bottom (inclusive) to top (exclusive),
// columns from left (inclusive) to right (exclusive).
struct CxSelectionBox {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Takes a picture's rows as its decoder makes them, in place of the image
// keeping them all: a thumbnail reduces each row as it comes, so a large
// picture never exists whole. Decoders that can make their rows in order
// (PNG without interlacing, TIFF read by strips) ask the image's sink, when
// it has one; every other decoder, and a sink that declines, decodes the
// picture whole as usual.
class CxRowSink {
public:
    // Before any row: true when the sink takes the rows of a width x height
    // picture.
    virtual bool WantsRows(DWORD width, DWORD height) = 0;
    // The next row, from the top: `row` is an image one row high in the
    // picture's depth and palette (valid during the call).
    virtual void TakeRow(const CxImage& row) = 0;

protected:
    ~CxRowSink() {}
};

struct CxImageInfo {
    DWORD effWidth;            // bytes per pixel row, padded to 4
    BYTE* firstRow;            // first pixel row inside the DIB block
    CxImage* ghost;            // the image whose buffers this one borrows
    DWORD type;                // ImageFormatId
    char lastError[CXIMAGE_ERROR_LENGTH];
    int32_t progress;          // 0 to 100, written by long operations
    int32_t escape;            // non-zero: stop; -1 asks decoders for the size only
    int32_t transIndex;        // -1 = none
    RGBQUAD transColor;
    BYTE jpegQuality;
    BYTE jpegScale;
    int32_t frame;             // frame that the next decode reads
    int32_t numFrames;         // frame count found by the last decode
    DWORD frameDelay;
    int32_t xDpi;
    int32_t yDpi;
    CxSelectionBox selectionBox;
    BYTE alphaMax;
    int32_t xOffset;
    int32_t yOffset;
    DWORD codecOptions[CMAX_IMAGE_FORMATS];
    RGBQUAD nearestColor;      // nearest-colour cache: last colour looked up,
    BYTE nearestIndex;         // its palette index,
    BYTE nearestValid;         // and whether the two are valid
    CxRowSink* rowSink;        // borrowed; null: decoders keep every row
};

class CxImage {
public:
    explicit CxImage(DWORD type = CXIMAGE_FORMAT_UNKNOWN);
    CxImage(DWORD width, DWORD height, DWORD bpp, DWORD type = CXIMAGE_FORMAT_UNKNOWN);
    CxImage(const CxImage& source, bool copyPixels = true, bool copySelection = true,
            bool copyAlpha = true);
    // Decodes the bytes (borrowed, not kept); a failure leaves an empty image.
    CxImage(BYTE* buffer, DWORD size, DWORD type);
    virtual ~CxImage();
    CxImage& operator=(const CxImage&) = delete;

    // Life.
    void* Create(DWORD width, DWORD height, DWORD bpp, DWORD type = CXIMAGE_FORMAT_UNKNOWN);
    bool Destroy();
    bool Copy(const CxImage& source, bool copyPixels = true, bool copySelection = true,
              bool copyAlpha = true);
    bool Transfer(CxImage& from);
    void Ghost(CxImage* from);
    void CopyInfo(const CxImage& source);

    // Decoding and encoding (codecs/ximadispatch.cpp).
    bool Decode(CxFile* stream, DWORD type);
    bool Decode(BYTE* buffer, DWORD size, DWORD type);
    bool Encode(CxFile* stream, DWORD type);
    bool Encode(FILE* file, DWORD type);
    // Writes a temporary file beside the target and renames it over the
    // target only when the whole encoding succeeded. Win32 (ANSI) path.
    bool Save(const char* fileName, DWORD type);
    // True (refuse) when the stream is null or the image empty.
    bool EncodeSafeCheck(CxFile* stream);
    const char* GetLastError() const { return info.lastError; }

    // Used by the codec table: take a decoder's result, or an encoder's
    // failure message.
    bool AcceptDecoded(CxImage& codec, bool decoded);
    bool AcceptEncoded(const CxImage& codec, bool encoded);

    // GDI (codecs/ximagdi.cpp).
    HBITMAP MakeBitmap(HDC dc = NULL);
    bool CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette = NULL);
    int Stretch(HDC dc, int x, int y, int width, int height, DWORD rop = SRCCOPY);

    // Accessors.
    void* GetDIB() const { return dib; }
    DWORD GetWidth() const { return header.biWidth; }
    DWORD GetHeight() const { return header.biHeight; }
    WORD GetBpp() const { return header.biBitCount; }
    DWORD GetEffWidth() const { return info.effWidth; }
    DWORD GetNumColors() const { return header.biClrUsed; }
    DWORD GetType() const { return info.type; }
    bool IsValid() const { return dib != NULL; }
    bool IsIndexed() const { return header.biClrUsed != 0; }
    BYTE GetColorType() const;
    BYTE* GetBits(DWORD row = 0) const;
    DWORD GetSize() const;
    int32_t GetXDPI() const { return info.xDpi; }
    int32_t GetYDPI() const { return info.yDpi; }
    void SetXDPI(int32_t dpi);
    void SetYDPI(int32_t dpi);
    BYTE GetJpegQuality() const { return info.jpegQuality; }
    void SetJpegQuality(BYTE quality) { info.jpegQuality = quality; }
    BYTE GetJpegScale() const { return info.jpegScale; }
    void SetJpegScale(BYTE scale) { info.jpegScale = scale; }
    // The next decode hands its rows to the sink where it can, and the
    // image then holds only the last row (see CxRowSink).
    void SetRowSink(CxRowSink* sink) { info.rowSink = sink; }
    void SetFrame(int32_t frame) { info.frame = frame; }
    int32_t GetFrame() const { return info.frame; }
    int32_t GetNumFrames() const { return info.numFrames; }
    DWORD GetFrameDelay() const { return info.frameDelay; }
    void SetOffset(int32_t x, int32_t y) { info.xOffset = x; info.yOffset = y; }
    void GetOffset(int32_t* x, int32_t* y) const;
    DWORD GetCodecOption(DWORD format = CXIMAGE_FORMAT_UNKNOWN) const;
    bool SetCodecOption(DWORD option, DWORD format = CXIMAGE_FORMAT_UNKNOWN);
    int32_t GetTransIndex() const { return info.transIndex; }
    void SetTransIndex(int32_t index) { info.transIndex = index; }
    bool IsTransparent() const { return info.transIndex >= 0; }
    void SetTransColor(RGBQUAD color);
    RGBQUAD GetTransColor() const;
    int32_t GetProgress() const { return info.progress; }
    int32_t GetEscape() const { return info.escape; }
    void SetEscape(int32_t escape) { info.escape = escape; }
    BYTE GetAlphaMax() const { return info.alphaMax; }
    void SetAlphaMax(BYTE value) { info.alphaMax = value; }

    // Palette (codecs/ximapal.cpp).
    DWORD GetPaletteSize() const;
    RGBQUAD* GetPalette() const;
    RGBQUAD GetPaletteColor(BYTE index) const;
    bool GetPaletteRGB(BYTE index, BYTE* red, BYTE* green, BYTE* blue) const;
    void SetPaletteColor(BYTE index, BYTE red, BYTE green, BYTE blue, BYTE alpha = 0);
    void SetPaletteColor(BYTE index, RGBQUAD color);
    void SetPalette(const RGBQUAD* entries, DWORD count = 256);
    void SetPalette(DWORD count, const BYTE* red, const BYTE* green = NULL,
                    const BYTE* blue = NULL);
    void SetPalette(const CxRgbTriple* triples, DWORD count = 256);
    void SetGrayPalette();
    bool IsGrayScale() const;
    void SetStdPalette();
    void SetClrImportant(DWORD count);
    void SwapIndex(BYTE a, BYTE b);
    BYTE GetNearestIndex(RGBQUAD color);
    static RGBQUAD RGBtoRGBQUAD(COLORREF color);
    void RGBtoBGR(BYTE* buffer, int length) const;
    static int CompareColors(const void* a, const void* b);

    // Pixels (codecs/ximapixel.cpp).
    bool IsInside(int32_t x, int32_t y) const;
    void Clear(BYTE value = 0);
    BYTE GetPixelIndex(int32_t x, int32_t y) const;
    BYTE BlindGetPixelIndex(int32_t x, int32_t y) const;
    void SetPixelIndex(int32_t x, int32_t y, BYTE index);
    RGBQUAD GetPixelColor(int32_t x, int32_t y, bool withAlpha = true) const;
    void SetPixelColor(int32_t x, int32_t y, RGBQUAD color, bool setAlpha = false);
    void SetPixelColor(int32_t x, int32_t y, COLORREF color);
    BYTE* GetPixelPointer(int32_t x, int32_t y) const;
    void Bitfield2RGB(const BYTE* source, DWORD firstMask, DWORD secondMask, DWORD thirdMask,
                      BYTE bits);

    // Alpha plane and selection mask (codecs/ximapixel.cpp).
    bool AlphaIsValid() const { return alpha != NULL; }
    void AlphaCreate();
    void AlphaDelete();
    bool AlphaCopy(const CxImage& source);
    void AlphaSet(int32_t x, int32_t y, BYTE value);
    BYTE AlphaGet(int32_t x, int32_t y) const;
    BYTE BlindAlphaGet(int32_t x, int32_t y) const;
    bool AlphaPaletteIsValid() const;
    bool AlphaFlip();
    bool AlphaMirror();
    BYTE* AlphaGetPointer() const { return alpha; }
    bool SelectionIsValid() const { return selection != NULL; }
    bool SelectionDelete();
    bool SelectionIsInside(int32_t x, int32_t y) const;
    bool SelectionCopy(const CxImage& source);
    BYTE* SelectionGetPointer() const { return selection; }
    CxSelectionBox GetSelectionBox() const { return info.selectionBox; }

    // Transforms and colour reduction (codecs/ximatran.cpp).
    bool Flip();
    bool Mirror();
    bool RotateLeft(CxImage* destination = NULL);
    bool RotateRight(CxImage* destination = NULL);
    bool Rotate180(CxImage* destination = NULL);
    bool Negative();
    bool DecreaseBpp(DWORD bits, bool errorDiffusion, const RGBQUAD* palette = NULL,
                     DWORD importantColors = 0);

protected:
    void Startup(DWORD type);
    // For a decoder about to make a width x height picture: the sink that
    // takes its rows instead, or null.
    CxRowSink* RowSinkFor(DWORD width, DWORD height) const;
    // Copies the message (at most 255 characters) into the last-error text
    // and returns false, so that a codec can write `return Fail("...")`.
    bool Fail(const char* message);
    // Before a decoder allocates a picture of width x height pixels of
    // `bitsPerPixel` bits, coded in the `remainingBytes` bytes left in its
    // file with the given expansion (codecs/ximabudget.h): false with
    // "image too large" or "image too large for its data" when the budget
    // refuses it.
    bool CheckPictureBudget(uint64_t remainingBytes, uint64_t width, uint64_t height,
                            uint64_t bitsPerPixel, uint64_t maxExpansion);
    // Pixel bytes of one plane (selection or alpha): width x height, or 0
    // when that does not fit in memory.
    size_t PlaneBytes() const;

    void* dib;                  // the DIB block, null when empty
    BITMAPINFOHEADER header;    // copy of the block's header
    CxImageInfo info;
    BYTE* selection;            // null: everything selected
    BYTE* alpha;                // null: opaque

private:
    bool FailUnavailable(const char* direction, const char* format);
    bool CopyPlane(BYTE*& plane, const BYTE* source);
    bool MakeTransformTarget(CxImage& result, DWORD width, DWORD height);
    bool RotateResult(CxImage& result, CxImage* destination);
    bool Rotate90(bool left, CxImage* destination);
    void SpreadError(int32_t x, int32_t y, const int error[3], int weight);
    void SetPaletteRgb(DWORD count, const BYTE* red, const BYTE* green, const BYTE* blue,
                       size_t stride);
};
