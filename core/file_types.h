// The table of supported file kinds: each extension with the colour the
// file list paints its rows in and a type code. Codes 0 to 3 are drawings
// (DWG, DXF, DWT, DWF) handled by the drawing library; higher codes are
// raster images handed to the image decoders.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "platform/classlib/collections_array.h"
#include "platform/classlib/cstring.h"

enum DrawingFileKind : int32_t {
    FILEKIND_DWG = 0,
    FILEKIND_DXF = 1,
    FILEKIND_DWT = 2,
    FILEKIND_DWF = 3,
    FILEKIND_BMP = 4,
    FILEKIND_JPEG = 5,
    FILEKIND_GIF = 6,
    FILEKIND_PCX = 7,
    FILEKIND_TIFF = 8,
    FILEKIND_PNG = 9,
    FILEKIND_MNG = 10,
    FILEKIND_ICO = 11,
    FILEKIND_TGA = 12,
    FILEKIND_WBMP = 13,
    FILEKIND_METAFILE = 14,
    FILEKIND_PSD = 17,
};

// The highest type code that is a drawing.
const int32_t FILEKIND_LAST_DRAWING = FILEKIND_DWF;

// Kinds up to FILEKIND_LAST_DRAWING are drawings, the others raster images;
// the kind -1 of no file counts as a drawing.
inline bool IsDrawingKind(int32_t kind)
{
    return kind <= FILEKIND_LAST_DRAWING;
}

// One row: the extension in upper case with its dot (".DWG").
struct CDrawingFileInfo {
    CString extension;
    COLORREF colour;
    int32_t type;

    bool IsDrawing() const { return IsDrawingKind(type); }
};

class CDrawingFileType
{
public:
    // Built with every kind.
    CDrawingFileType();
    CDrawingFileType(const CDrawingFileType&) = delete;
    CDrawingFileType& operator=(const CDrawingFileType&) = delete;
    virtual ~CDrawingFileType();

    // Refills the table: the four drawing kinds, and the raster kinds too
    // unless vectorOnly. Rows found before are no longer valid.
    void Build(bool vectorOnly);
    // Appends one row; false when memory runs out.
    bool Add(const char* extension, COLORREF colour, int32_t type);
    // Replaces the rows by copies of other's, or appends copies of them.
    void Assign(const CDrawingFileType& other);
    void AppendAll(const CDrawingFileType& other);

    // The first row whose extension equals extension (dot included),
    // regardless of case; null when none does.
    const CDrawingFileInfo* Find(const char* extension) const;
    int GetCount() const { return (int)m_rows.GetSize(); }
    // The row at a position, null outside 0 .. count - 1.
    const CDrawingFileInfo* GetAt(int index) const;

    // The image-decoder format id of a raster type code; false for the
    // drawing kinds and unknown codes.
    static bool GetRasterFormat(int32_t type, int& format);

private:
    void RemoveAll();

    // The owned rows (CDrawingFileInfo*) in table order; each row stays at
    // its address until Build.
    CPtrArray m_rows;
};

// The one table of the process, built with every kind before start-up.
extern CDrawingFileType DrawingFileType;

// The row of the path's extension (from the last dot of its file-name
// part) in the global table, or null when the kind is not supported.
const CDrawingFileInfo* GetDrawingFileInfo(const char* path);
