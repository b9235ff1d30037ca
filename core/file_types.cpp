#include "core/file_types.h"

#include <new>

#include "core/global_objects.h"
#include "core/log_file.h"
#include "core/path_parts.h"

CDrawingFileType DrawingFileType __attribute__((init_priority(kGlobalRankFileTypes)));

namespace {

struct KindRow {
    const char* extension;
    COLORREF colour;
    int32_t type;
};

const KindRow kDrawingRows[] = {
    {".DWG", RGB(215, 235, 215), FILEKIND_DWG},
    {".DXF", RGB(235, 235, 200), FILEKIND_DXF},
    {".DWT", RGB(160, 235, 200), FILEKIND_DWT},
    {".DWF", RGB(227, 227, 255), FILEKIND_DWF},
};

const KindRow kRasterRows[] = {
    {".JPG", RGB(196, 225, 200), FILEKIND_JPEG},
    {".BMP", RGB(196, 224, 228), FILEKIND_BMP},
    {".GIF", RGB(177, 207, 146), FILEKIND_GIF},
    {".PSD", RGB(203, 225, 245), FILEKIND_PSD},
    {".PCX", RGB(220, 211, 175), FILEKIND_PCX},
    {".TIF", RGB(240, 215, 218), FILEKIND_TIFF},
    {".PNG", RGB(239, 214, 241), FILEKIND_PNG},
    {".MNG", RGB(222, 214, 241), FILEKIND_MNG},
    {".ICO", RGB(250, 252, 203), FILEKIND_ICO},
    {".TGA", RGB(232, 254, 201), FILEKIND_TGA},
    {".WBMP", RGB(196, 224, 228), FILEKIND_WBMP},
    {".WMF", RGB(235, 214, 182), FILEKIND_METAFILE},
    {".EMF", RGB(235, 214, 182), FILEKIND_METAFILE},
    {".JPEG", RGB(196, 225, 200), FILEKIND_JPEG},
    {".TIFF", RGB(240, 215, 218), FILEKIND_TIFF},
};

struct RasterFormat {
    int32_t type;
    int format;
};

// Format ids 1 to 11 are the image codecs'; 18 is the kernel's PSD reader.
const RasterFormat kRasterFormats[] = {
    {FILEKIND_BMP, 1},  {FILEKIND_GIF, 2},  {FILEKIND_JPEG, 3},      {FILEKIND_PNG, 4},
    {FILEKIND_MNG, 5},  {FILEKIND_ICO, 6},  {FILEKIND_TIFF, 7},      {FILEKIND_TGA, 8},
    {FILEKIND_PCX, 9},  {FILEKIND_WBMP, 10}, {FILEKIND_METAFILE, 11}, {FILEKIND_PSD, 18},
};

}  // namespace

CDrawingFileType::CDrawingFileType()
{
    Build(false);
    WriteLog(NULL, "Construct DrawingFileType");
}

CDrawingFileType::~CDrawingFileType()
{
    WriteLog(NULL, "Destroy DrawingFileType");
    RemoveAll();
}

void CDrawingFileType::RemoveAll()
{
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
        delete (CDrawingFileInfo*)m_rows[i];
    m_rows.RemoveAll();
}

void CDrawingFileType::Build(bool vectorOnly)
{
    RemoveAll();
    for (const KindRow& row : kDrawingRows)
        Add(row.extension, row.colour, row.type);
    if (!vectorOnly) {
        for (const KindRow& row : kRasterRows)
            Add(row.extension, row.colour, row.type);
    }
}

bool CDrawingFileType::Add(const char* extension, COLORREF colour, int32_t type)
{
    CDrawingFileInfo* row = new (std::nothrow) CDrawingFileInfo;
    if (!row)
        return false;
    row->extension = extension;
    row->colour = colour;
    row->type = type;
    m_rows.Add(row);
    return true;
}

void CDrawingFileType::Assign(const CDrawingFileType& other)
{
    if (&other == this)
        return;
    RemoveAll();
    AppendAll(other);
}

void CDrawingFileType::AppendAll(const CDrawingFileType& other)
{
    int count = other.GetCount();
    for (int i = 0; i < count; ++i) {
        const CDrawingFileInfo* row = other.GetAt(i);
        Add(row->extension, row->colour, row->type);
    }
}

const CDrawingFileInfo* CDrawingFileType::Find(const char* extension) const
{
    if (!extension)
        return nullptr;
    for (int i = 0; i < GetCount(); ++i) {
        const CDrawingFileInfo* row = GetAt(i);
        if (row->extension.CompareNoCase(extension) == 0)
            return row;
    }
    return nullptr;
}

const CDrawingFileInfo* CDrawingFileType::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? (const CDrawingFileInfo*)m_rows[index] : nullptr;
}

bool CDrawingFileType::GetRasterFormat(int32_t type, int& format)
{
    for (const RasterFormat& entry : kRasterFormats) {
        if (entry.type == type) {
            format = entry.format;
            return true;
        }
    }
    return false;
}

const CDrawingFileInfo* GetDrawingFileInfo(const char* path)
{
    CString extension = PathParts(path).extension;
    if (extension.IsEmpty())
        return nullptr;
    return DrawingFileType.Find(extension);
}
