// CDib: one picture held as a packed DIB in movable global memory, with the
// palette and the DIB section made from it, so that it can be drawn, drawn
// into, converted between colour depths, turned and written as a BMP file.
#pragma once
#include <windows.h>

#include "platform/classlib/dc.h"
#include "platform/classlib/gdiobj.h"
#include "platform/classlib/object.h"

class CFile;

class CDib : public CObject {
    DECLARE_SERIAL(CDib)

public:
    CDib();
    ~CDib() override;

    // A new zero-filled picture (1, 4, 8, 24 or 32 bits; the colour table
    // all black) replacing the old one. TRUE when its bitmap was made.
    BOOL Create(int width, int height, int bits);
    // A copy of a packed DIB; the caller's block is only read.
    BOOL CreateFromPackedDib(const void* packedDib);
    // Takes a movable packed DIB; the picture owns it from then on.
    BOOL Attach(HGLOBAL dib);
    // A copy of the pixels of a DIB section.
    BOOL CreateFromBitmap(CBitmap* bitmap);
    // A bitmap resource of the resource module: a packed DIB for RT_BITMAP,
    // a whole BMP file image (beginning with "BM") for other types.
    BOOL LoadFromResource(LPCSTR name, LPCSTR type = RT_BITMAP);
    BOOL LoadFromResource(UINT id, LPCSTR type = RT_BITMAP);

    // Converts to the depth, letting GDI map the colours (8 bits: an octree
    // palette of 236 colours). TRUE at once when the depth is the same.
    BOOL ChangeBitCount(int bits);
    // Converts to the depth; up to 8 bits through an octree palette of
    // 2^bits colours. The picture stays as it was on failure.
    BOOL SetBitCount(int bits);

    // Counter-clockwise quarter turns.
    BOOL Rotate90();
    BOOL Rotate180();
    BOOL Rotate270();

    // 0 when there is no picture.
    int GetWidth() const;
    int GetHeight() const;
    int GetBitCount() const;
    BYTE* GetBits() const;
    HGLOBAL GetHandle() const { return m_hDib; }
    CPalette* GetPalette() const { return m_pPalette; }

    // A memory device context holding the picture's bitmap and palette, for
    // drawing into the picture; EndMemDC reads the drawing back into the
    // packed DIB, DrawAndEndMemDC copies it to target without doing so.
    CDC* BeginMemDC(CDC* reference);
    BOOL EndMemDC();
    BOOL DrawAndEndMemDC(CDC* target, int x, int y, DWORD rop);

    BOOL Draw(CDC* target, int x, int y, DWORD rop) const;
    BOOL StretchDraw(CDC* target, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc,
                     int wSrc, int hSrc, DWORD rop) const;
    // Fills the whole picture with the colour.
    BOOL Clear(COLORREF colour);

    // A malloc'ed BMP file image (file header and packed DIB) that the
    // caller frees; null for a picture without an info header.
    BYTE* CopyToBmpFile() const;

    // The picture as a BMP file (info headers only), the resolution, when
    // set, in both pixels-per-metre fields. False on a file exception.
    BOOL WriteBmp(CFile* file) const;
    // A BMP file with an info header from the file's position; a damaged or
    // short file gives false and the picture stays as it was.
    BOOL ReadBmp(CFile* file);
    // Writes the BMP file (to a temporary file renamed over path).
    BOOL Save(const char* path) const;
    // The picture as a BMP file in the archive's file; a picture that cannot
    // be written or read throws a CArchiveException.
    void Serialize(CArchive& ar) override;

    // The packed DIB.
    HGLOBAL m_hDib;
    // The DIB section made from it, also held by m_pBitmap.
    HBITMAP m_hBitmap;
    CPalette* m_pPalette;
    CBitmap* m_pBitmap;
    CDC* m_pMemDC;
    HGDIOBJ m_hOldBitmap;
    HPALETTE m_hOldPalette;
    // Dots per inch written into BMP files, 0 when not set.
    int m_nResolution;

private:
    // Frees the old picture and takes the new block (null: no picture).
    BOOL Adopt(HGLOBAL dib);
    void FreePicture();
    void CloseMemDC();
    BOOL Rotate(int quarterTurns);
    // CopyToBmpFile with the resolution written in.
    BYTE* BmpFileImage() const;
};
