// CGif: writes a picture as a GIF87a file with a 256-colour global table.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"

class CDib;

class CGif {
public:
    CGif();
    virtual ~CGif();

    // Writes the picture (reduced to 8 bits through an octree palette when
    // it is deeper); a null dib writes the writer's own picture. True on
    // success; the error text tells a failure.
    bool SaveDib(const char* path, CDib* dib);
    bool SaveDibBuffer(const char* path, const void* packedDib, DWORD size);

    // Writes width x height 8-bit pixels, packed top row first, with the
    // 256-entry colour table given as three arrays.
    bool Write(const char* path, const BYTE* pixels, int width, int height, int background,
               const BYTE red[256], const BYTE green[256], const BYTE blue[256]);

    // The writer's own picture, used when none is given; owned.
    CDib* m_pDib;
    // The last failure, "No Error" until one happens.
    CString m_strError;

private:
    CGif(const CGif&) = delete;
    CGif& operator=(const CGif&) = delete;

    bool SaveCopy(const char* path, CDib& copy);
};
