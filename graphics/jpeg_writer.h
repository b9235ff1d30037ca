// CJpeg: writes a picture as a baseline JPEG file through libjpeg.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"

class CJpeg {
public:
    CJpeg();
    virtual ~CJpeg();

    // Writes width x height pixels of three bytes (red, green, blue), top
    // row first, with the density in dots per inch.
    bool WriteRgb(const char* path, const BYTE* rgb, int width, int height, bool colour,
                  int quality, int density);

    // The last failure, "No Error" until one happens.
    CString m_strError;

private:
    CJpeg(const CJpeg&) = delete;
    CJpeg& operator=(const CJpeg&) = delete;
};
