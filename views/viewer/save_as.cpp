// The view frame's Save As: a drawing written again as DWG or DXF of one of
// four versions, a raster image in one of seven raster formats. The save
// dialog offers the drawing formats that the drawing library can write and
// keeps the name's extension in step with the chosen format; the last choice
// of each branch is remembered under "ViewWindow" by its number in the
// tables below, whatever the dialog showed.
#include "views/viewer/view_frame.h"

#include <string.h>

#include <vector>

#include "core/file_utils.h"
#include "core/registry_root.h"
#include "platform/classlib/msgbox.h"
#include "platform/classlib/regkey.h"
#include "views/viewer/filter_text.h"
#include "platform/zrui/zrui.h"
#include "resources/views_ids.h"
#include "views/common/idle_use.h"
#include "views/common/view_state.h"

namespace {

const char kKeyPath[] = HARBECK_REGISTRY_ROOT "ViewWindow";
const char kVectorFormatValue[] = "VectorFormat";
const char kRasterFormatValue[] = "RasterFormat";
const int kJpegQuality = 100;
// The save dialog's constant arguments.
const DWORD kSaveDialogFlags = 2;

struct VectorFormat {
    const char* languageKey;
    const char* fallbackText;
    const char* pattern;
    signed char kind;  // 1 DWG, 2 DXF
    short version;     // 9 2004, 8 2000, 7 R14, 5 R12
    const char* extension;
};

const VectorFormat kVectorFormats[] = {
    {"DwgTypeVer2004", "AutoCAD 2004 drawing(*.dwg)", "|*.dwg|", 1, 9, ".dwg"},
    {"DwgTypeVer2000", "AutoCAD 2000 drawing(*.dwg)", "|*.dwg|", 1, 8, ".dwg"},
    {"DwgTypeVer14", "AutoCAD R14 drawing(*.dwg)", "|*.dwg|", 1, 7, ".dwg"},
    {"DwgTypeVer12", "AutoCAD R12 drawing(*.dwg)", "|*.dwg|", 1, 5, ".dwg"},
    {"DxfTypeVer2004", "AutoCAD 2004 dxf(*.dxf)", "|*.dxf|", 2, 9, ".dxf"},
    {"DxfTypeVer2000", "AutoCAD 2000 dxf(*.dxf)", "|*.dxf|", 2, 8, ".dxf"},
    {"DxfTypeVer14", "AutoCAD R14 dxf(*.dxf)", "|*.dxf|", 2, 7, ".dxf"},
    {"DxfTypeVer12", "AutoCAD R12 dxf(*.dxf)", "|*.dxf|", 2, 5, ".dxf"},
};
const int kVectorFormatCount = 8;
// A stored vector choice above this opens the dialog on DXF 2000.
const int kLargestStoredVectorFormat = 6;

struct RasterFormat {
    UINT description;
    const char* pattern;
    const char* extension;
};

const RasterFormat kRasterFormats[] = {
    {IDS_FILTER_BMP, "|*.BMP|", ".bmp"}, {IDS_FILTER_JPG, "|*.JPG|", ".jpg"},
    {IDS_FILTER_GIF, "|*.GIF|", ".gif"}, {IDS_FILTER_PCX, "|*.PCX|", ".pcx"},
    {IDS_FILTER_TIF, "|*.TIF|", ".tif"}, {IDS_FILTER_PNG, "|*.PNG|", ".png"},
    {IDS_FILTER_TGA, "|*.TGA||", ".tga"},
};
const int kRasterFormatCount = 7;

// The stored 1-based filter index, at most `largest`; 1 when it is missing,
// unreadable or 0.
int ReadFormatIndex(const char* valueName, int largest)
{
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, kKeyPath, KEY_READ) != ERROR_SUCCESS)
        return 1;
    DWORD value = 0;
    if (key.QueryDWORDValue(valueName, value) != ERROR_SUCCESS || value == 0)
        return 1;
    return value > (DWORD)largest ? largest : (int)value;
}

void StoreFormatIndex(const char* valueName, int index)
{
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, kKeyPath) != ERROR_SUCCESS)
        return;
    key.SetDWORDValue(valueName, (DWORD)index);
}

// The 1-based numbers of the vector formats the drawing library can write,
// in table order: the dialog's choices.
std::vector<int> WritableVectorFormats()
{
    std::vector<int> formats;
    for (int index = 1; index <= kVectorFormatCount; ++index) {
        const VectorFormat& format = kVectorFormats[index - 1];
        if (CDrawing::canSave(format.kind, format.version))
            formats.push_back(index);
    }
    return formats;
}

// The format of the dialog's 1-based choice; 0 for none.
int VectorFormatOfChoice(int choice)
{
    std::vector<int> formats = WritableVectorFormats();
    return choice >= 1 && choice <= (int)formats.size() ? formats[choice - 1] : 0;
}

// The dialog's choice (1-based) that shows the stored format; a format that
// cannot be written falls back to the same version of another kind, else to
// the first choice.
int ChoiceOfStoredFormat(const std::vector<int>& formats, int stored)
{
    int sameVersion = 0;
    for (size_t choice = 0; choice < formats.size(); ++choice) {
        if (formats[choice] == stored)
            return (int)choice + 1;
        if (sameVersion == 0 &&
            kVectorFormats[formats[choice] - 1].version == kVectorFormats[stored - 1].version)
            sameVersion = (int)choice + 1;
    }
    return sameVersion != 0 ? sameVersion : 1;
}

CString VectorFilterText(const std::vector<int>& formats)
{
    CString filter;
    for (int index : formats) {
        const VectorFormat& format = kVectorFormats[index - 1];
        const char* text = ZrUI::languageText(format.languageKey, format.fallbackText);
        if (text != NULL)
            filter += text;
        filter += format.pattern;
    }
    return filter + "|";
}

// Puts the file name of `name` (no folder) with the extension back into
// the dialog's name buffer of MAX_PATH bytes.
void RewriteDialogName(char* name, const char* extension)
{
    CString rewritten = ReplaceFileExt(GetFileNameExt(name), extension);
    strncpy(name, rewritten, MAX_PATH - 1);
    name[MAX_PATH - 1] = '\0';
}

int VectorFilterChanged(void* frame, int filterIndex, char* name)
{
    static_cast<CViewFrame*>(frame)->FixVectorSaveExtension(VectorFormatOfChoice(filterIndex), name);
    return 0;
}

int RasterFilterChanged(void* frame, int filterIndex, char* name)
{
    static_cast<CViewFrame*>(frame)->FixRasterSaveExtension(filterIndex, name);
    return 0;
}

// "文件没有保存成功", the path and, when known, the reason on a line of its own.
void ShowSaveFailure(const char* path, const char* reason)
{
    CString text;
    text.LoadString(IDS_SAVE_AS_FAILED);
    text += path;
    if (reason != NULL && reason[0] != '\0') {
        text += "\n";
        text += reason;
    }
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}

}  // namespace

void CViewFrame::FixVectorSaveExtension(int format, char* name)
{
    if (name == NULL)
        return;
    RewriteDialogName(name, format >= 1 && format <= 4 ? ".dwg" : ".dxf");
}

void CViewFrame::FixRasterSaveExtension(int format, char* name)
{
    if (name == NULL || format < 1 || format > kRasterFormatCount)
        return;
    RewriteDialogName(name, kRasterFormats[format - 1].extension);
}

void CViewFrame::OnSaveAs()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (IsVectorFile())
        SaveDrawingAs(thread);
    else
        SaveRasterAs(thread);
}

void CViewFrame::SaveDrawingAs(TDwgDrawThread* thread)
{
    CIdleUse use(thread);
    CDrawing* drawing = use.Drawing();
    if (drawing == NULL || m_view.m_printPick)
        return;
    std::vector<int> formats = WritableVectorFormats();
    if (formats.empty())
        return;
    int initialChoice =
        ChoiceOfStoredFormat(formats, ReadFormatIndex(kVectorFormatValue, kLargestStoredVectorFormat));
    char drawingPath[MAX_PATH];
    memset(drawingPath, 0, sizeof(drawingPath));
    drawing->getFileName(drawingPath);
    CString defaultName =
        ReplaceFileExt(drawingPath, kVectorFormats[formats[initialChoice - 1] - 1].extension);
    int chosenChoice = 0;
    CString path;
    if (ZrUI::showDwgSaveDialog(FALSE, NULL, defaultName, kSaveDialogFlags, VectorFilterText(formats), NULL,
                                this, VectorFilterChanged, initialChoice, chosenChoice, path) != 1)
        return;
    int chosenIndex = VectorFormatOfChoice(chosenChoice);
    if (chosenIndex == 0)
        return;
    const VectorFormat& format = kVectorFormats[chosenIndex - 1];
    BeginWaitCursor();
    CString target = ReplaceFileExt(path, format.extension);
    drawing->preSave();
    bool saved = drawing->save(target, format.kind, format.version, 0);
    if (saved)
        ZrUI::replaceFont(drawing);
    StoreFormatIndex(kVectorFormatValue, chosenIndex);
    EndWaitCursor();
    if (!saved)
        ShowSaveFailure(target, drawing->getSaveError());
}

void CViewFrame::SaveRasterAs(TDwgDrawThread* thread)
{
    CIdleUse use(thread);
    KImage& image = use.Picture().GetImage();
    int initialIndex = ReadFormatIndex(kRasterFormatValue, kRasterFormatCount);
    CString defaultName = ReplaceFileExt(thread->GetFilePath(), kRasterFormats[initialIndex - 1].extension);
    int chosenIndex = 0;
    CString path;
    if (ZrUI::showDwgSaveDialog(FALSE, NULL, defaultName, kSaveDialogFlags, FilterText(kRasterFormats), NULL, this,
                                RasterFilterChanged, initialIndex, chosenIndex, path) != 1)
        return;
    bool saved = image.SaveAs(path, kJpegQuality);
    StoreFormatIndex(kRasterFormatValue, chosenIndex);
    if (!saved)
        ShowSaveFailure(path, NULL);
}
