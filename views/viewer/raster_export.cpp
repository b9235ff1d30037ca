// The raster export of a print: the print window drawn on a white page of
// the printer's paper size in pixels, with the print's colours and pen
// widths, and written as a picture file of the type its name ends with.
#include "views/viewer/view_frame.h"

#include <string.h>

#include "codecs/ximage.h"
#include "core/file_utils.h"
#include "graphics/dib.h"
#include "graphics/gif_writer.h"
#include "graphics/jpeg_writer.h"
#include "platform/classlib/file_dialog.h"
#include "platform/classlib/print_dialog.h"
#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"
#include "views/common/view_state.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const int kJpegQuality = 100;
// The page is 24-bit; a BMP in colour mode 1 or 2 is made 8-bit or 1-bit.
const int kPageBits = 24;
const int kTiffColourKind = 3;

const char kPrintFileFilter[] = "JPEG 格式(*.jpg)|*.jpg|Bitmap 格式(*.bmp)|*.bmp|TIFF 格式(*.tif)|*.tif||";
const char* const kPrintFileExtensions[] = {".jpg", ".bmp", ".tif"};

// The drawing's background while a page is drawn: white, given back to the
// configured colour when the page is done, whatever happens after.
class CWhiteBackground {
public:
    CWhiteBackground() { DWG_SetBackgroundColor(kWhite); }
    ~CWhiteBackground() { DWG_SetBackgroundColor(DrawingBackgroundColour()); }
    CWhiteBackground(const CWhiteBackground&) = delete;
    CWhiteBackground& operator=(const CWhiteBackground&) = delete;
};

bool SavePng(CDib& page, const char* path)
{
    CxImage image;
    return image.CreateFromHBITMAP(page.m_hBitmap) && image.Save(path, CXIMAGE_FORMAT_PNG);
}

// Writes the page by the path's extension (any case); JPEG for an
// extension that names no other type.
bool WritePage(CDib& page, const char* path, short colorMode, int dpi)
{
    CString extension = GetFileExt(path);
    if (extension.CompareNoCase(".bmp") == 0) {
        if (colorMode == 1 && !page.ChangeBitCount(8))
            return false;
        if (colorMode == 2 && !page.ChangeBitCount(1))
            return false;
        return page.Save(path) != FALSE;
    }
    if (extension.CompareNoCase(".gif") == 0) {
        CGif gif;
        return gif.SaveDib(path, &page);
    }
    if (extension.CompareNoCase(".tif") == 0 || extension.CompareNoCase(".tiff") == 0)
        return SaveRasterImage(page.m_hBitmap, kTiffColourKind, path, dpi) == 1;
    if (extension.CompareNoCase(".png") == 0)
        return SavePng(page, path);
    CJpeg jpeg;
    return jpeg.SaveDib(path, &page, true, kJpegQuality);
}

// Draws the drawing's print view onto the white page, mapped with y
// upwards and clipped to the printable part of the paper.
bool DrawPage(CDrawing* drawing, CDib& page, short colorMode, int offsetX, int offsetY)
{
    int width = page.GetWidth();
    int height = page.GetHeight();
    if (!page.Clear(kWhite))
        return false;
    CDC* memory = page.BeginMemDC(NULL);
    if (memory == NULL)
        return false;
    HDC dc = memory->m_hDC;
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1, -1, NULL);
    SetViewportExtEx(dc, 1, 1, NULL);
    SetWindowOrgEx(dc, 0, height, NULL);
    IntersectClipRect(dc, offsetX, offsetY, width - offsetX, height - offsetY);
    IntersectClipRect(dc, 0, height, width, 0);
    int formerColorMode = drawing->getPrintColorMode();
    {
        CWhiteBackground background;
        drawing->setPrintColorMode(colorMode);
        drawing->setPrintSwitch(0, true);
        drawing->setPrintSwitch(1, true);
        drawing->drawToDC(dc, g_printPenSet.getUsePenWidth());
        drawing->setPrintSwitch(0, false);
    }
    bool ended = page.EndMemDC() != FALSE;
    drawing->setPrintColorMode(formerColorMode);
    return ended;
}

}  // namespace

bool CViewFrame::PrintToFile(const ZrUI::PrintWindow* window, double, short colorMode, int, int, short,
                             int pageWidth, int pageHeight, const char* path)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    ZrApp::Document* document = thread != NULL ? thread->GetDocument() : NULL;
    CDrawing* drawing = document != NULL ? document->getDrawing() : NULL;
    if (drawing == NULL || window == NULL || path == NULL || pageWidth <= 0 || pageHeight <= 0)
        return false;
    drawing->saveViewState();
    drawing->setPrintView(window->corner1, window->corner2, pageWidth, pageHeight);
    HDC printer = g_printPenSet.getPrintSetDlg()->CreatePrinterDC();
    if (printer == NULL) {
        drawing->restoreViewState();
        return false;
    }
    short dpi = (short)GetDeviceCaps(printer, LOGPIXELSY);
    int offsetX = GetDeviceCaps(printer, PHYSICALOFFSETX);
    int offsetY = GetDeviceCaps(printer, PHYSICALOFFSETY);
    DeleteDC(printer);
    if (g_printPenSet.getUsePenWidth()) {
        g_printPenSet.InitPenWidth(dpi);
        CommonPenSets_SetDPI(dpi);
        g_printPenSet.UpdatePenSetsToZrIO();
    }
    CDib page;
    if (!page.Create(pageWidth, pageHeight, kPageBits)) {
        drawing->restoreViewState();
        return false;
    }
    BeginWaitCursor();
    bool drawn = DrawPage(drawing, page, colorMode, offsetX, offsetY);
    EndWaitCursor();
    drawing->restoreViewState();
    return drawn && WritePage(page, path, colorMode, dpi);
}

bool CViewFrame::AskPrintFileName(CString& path)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    ZrApp::Document* document = thread != NULL ? thread->GetDocument() : NULL;
    CDrawing* drawing = document != NULL ? document->getDrawing() : NULL;
    char drawingPath[MAX_PATH];
    memset(drawingPath, 0, sizeof(drawingPath));
    if (drawing != NULL)
        drawing->getFileName(drawingPath);
    CString defaultName = ReplaceFileExt(drawingPath, NULL);
    DWORD flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING;
    // No default extension: a name typed without one takes the chosen filter's below.
    CFileDialog dialog(FALSE, NULL, defaultName, flags, kPrintFileFilter, this);
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    if (GetFileExt(path).IsEmpty()) {
        DWORD chosen = dialog.m_ofn.nFilterIndex;
        path += kPrintFileExtensions[chosen >= 1 && chosen <= 3 ? chosen - 1 : 0];
    }
    return true;
}
