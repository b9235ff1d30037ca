// CJpeg: writes a picture as a baseline JPEG file through libjpeg.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"

class CDib;

class CJpeg {
public:
    CJpeg();
    virtual ~CJpeg();

    // Writes the picture in colour, or grey when colour is false, at the
    // quality (0 to 100); a null dib writes the writer's own picture. The
    // density is the picture's resolution (72 when it has none) for
    // SaveDib, 72 dots per inch for SaveDibBuffer.
    bool SaveDib(const char* path, CDib* dib, bool colour, int quality);
    bool SaveDibBuffer(const char* path, const void* packedDib, DWORD size, bool colour,
                       int quality);

    // Writes width x height pixels of three bytes (red, green, blue), top
    // row first, with the density in dots per inch.
    bool WriteRgb(const char* path, const BYTE* rgb, int width, int height, bool colour,
                  int quality, int density);

    // The writer's own picture, used when none is given; owned.
    CDib* m_pDib;
    // The last failure, "No Error" until one happens.
    CString m_strError;

private:
    CJpeg(const CJpeg&) = delete;
    CJpeg& operator=(const CJpeg&) = delete;

    bool SaveCopy(const char* path, CDib& copy, bool colour, int quality, int density);
};
