// The view frame's Print command: a drawing through the print manager (its
// print window picked in the view or the whole view, printed on the chosen
// printer through the print device, or exported as a raster picture), a
// raster image straight through the printer dialog.
#include "views/viewer/view_frame.h"

#include <math.h>
#include <string.h>

#include <algorithm>

#include "core/file_utils.h"
#include "drawing/draw_thread/print_device.h"
#include "graphics/kwin_canvas.h"
#include "platform/classlib/msgbox.h"
#include "platform/classlib/print_dialog.h"
#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"
#include "resources/views_ids.h"
#include "views/common/idle_use.h"
#include "views/common/view_state.h"

namespace {

void CopyPoint(const double from[3], double to[3])
{
    memcpy(to, from, 3 * sizeof(double));
}

// The document name the print queue shows.
CString PrintDocumentName(const char* path)
{
    CString name;
    name.Format("Harbeck - %s", (const char*)GetFileNameExt(path));
    return name;
}

// The rectangle moved into the client area, edge by edge.
RECT ClampedToClient(const RECT& rect, const RECT& client)
{
    RECT clamped;
    clamped.left = std::min(std::max(rect.left, client.left), client.right);
    clamped.right = std::min(std::max(rect.right, client.left), client.right);
    clamped.top = std::min(std::max(rect.top, client.top), client.bottom);
    clamped.bottom = std::min(std::max(rect.bottom, client.top), client.bottom);
    return clamped;
}

bool HasWidthAndHeight(const RECT& rect)
{
    return rect.right != rect.left && rect.bottom != rect.top;
}

// Ends the page and the document once the page is drawn; a job the printer
// refuses on the way is aborted. True when the printer took the whole job.
bool EndPrintJob(HDC dc)
{
    if (EndPage(dc) > 0 && EndDoc(dc) > 0)
        return true;
    AbortDoc(dc);
    return false;
}

void ShowPrintFailure(const char* path)
{
    CString text;
    text.LoadString(IDS_PRINT_FAILED);
    text += path;
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}

}  // namespace

void CViewFrame::RedrawViewNow()
{
    m_view.RedrawWindow(NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT CViewFrame::OnPrintPickMode(WPARAM on, LPARAM)
{
    m_view.m_printPick = on == 1 ? 1 : 0;
    RedrawViewNow();
    return 0;
}

void CViewFrame::FillPrintRecordView(CDrawing* drawing)
{
    m_printRecord.drawing = drawing;
    m_printRecord.owner = this;
    drawing->attachExport(NULL);
    CRect client;
    m_view.GetClientRect(&client);
    drawing->clientToDrawing(client.left, client.Height() - client.top, m_printRecord.viewTopLeft);
    drawing->clientToDrawing(client.right, client.Height() - client.bottom, m_printRecord.viewBottomRight);
    drawing->getViewSizeInUnits(&m_printRecord.viewWidth, &m_printRecord.viewHeight);
    if (drawing->getCurrentLayout() > 0) {
        double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
        drawing->getLayoutLimits(&xMin, &xMax, &yMin, &yMax);
        const double low[3] = {xMin, yMin, 0.0};
        const double high[3] = {xMax, yMax, 0.0};
        CopyPoint(low, m_printRecord.limitsMin);
        CopyPoint(high, m_printRecord.limitsMax);
        m_printRecord.limitsWidth = fabs(xMax - xMin);
        m_printRecord.limitsHeight = fabs(yMax - yMin);
        m_printRecord.hasLayoutLimits = 1;
    } else {
        m_printRecord.hasLayoutLimits = 0;
    }
}

void CViewFrame::TakePickedPrintWindow(CDrawing* drawing)
{
    CRect client;
    m_view.GetClientRect(&client);
    const RECT& rect = m_view.m_printRect;
    drawing->clientToDrawing(rect.left, client.bottom - rect.top, m_printRecord.windowCorner1);
    drawing->clientToDrawing(rect.right, client.bottom - rect.bottom, m_printRecord.windowCorner2);
    double viewPixelsWide = std::max(1, client.Width());
    double viewPixelsHigh = std::max(1, client.Height());
    m_printRecord.windowWidth = abs(rect.right - rect.left) / viewPixelsWide * m_printRecord.viewWidth;
    m_printRecord.windowHeight = abs(rect.bottom - rect.top) / viewPixelsHigh * m_printRecord.viewHeight;
}

void CViewFrame::OnPrint()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (!IsVectorFile()) {
        PrintRasterImage(thread);
        return;
    }
    if (m_view.m_printPick)
        return;
    bool drawnForPrint = false;
    {
        CIdleUse use(thread);
        CDrawing* drawing = use.Drawing();
        if (drawing == NULL || !drawing->isLoaded())
            return;
        drawnForPrint = OpenPrintManager(drawing);
    }
    // The drawing's own picture again, now that the thread may draw.
    if (drawnForPrint)
        Regenerate();
}

bool CViewFrame::OpenPrintManager(CDrawing* drawing)
{
    m_printRecord.printToFile = 0;
    m_view.m_printRect = m_lastPrintRect;
    FillPrintRecordView(drawing);
    if (m_view.m_printRectComplete) {
        TakePickedPrintWindow(drawing);
        m_printRecord.noPickedWindow = 0;
    } else {
        CopyPoint(m_printRecord.viewTopLeft, m_printRecord.windowCorner1);
        CopyPoint(m_printRecord.viewBottomRight, m_printRecord.windowCorner2);
        m_printRecord.windowWidth = m_printRecord.viewWidth;
        m_printRecord.windowHeight = m_printRecord.viewHeight;
        m_printRecord.noPickedWindow = 1;
    }
    return RunPrintManager(drawing, false);
}

LRESULT CViewFrame::OnPrintManagerReturn(WPARAM picked, LPARAM)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || !IsVectorFile())
        return 0;
    bool drawnForPrint = false;
    {
        CIdleUse use(thread);
        CDrawing* drawing = use.Drawing();
        if (drawing == NULL || !drawing->isLoaded())
            return 0;
        FillPrintRecordView(drawing);
        if (picked == 0) {
            m_view.m_printRect = m_lastPrintRect;
        } else {
            TakePickedPrintWindow(drawing);
            m_lastPrintRect = m_view.m_printRect;
        }
        m_printRecord.noPickedWindow = 0;
        drawnForPrint = RunPrintManager(drawing, true);
    }
    if (drawnForPrint)
        Regenerate();
    return 0;
}

bool CViewFrame::RunPrintManager(CDrawing* drawing, bool clampPick)
{
    ZrUI::initPrintManager(&m_printRecord);
    int answer = ZrUI::showPrintManager();
    bool drawnForPrint = false;
    switch (answer) {
        case ZrUI::kPrintManagerPick: {
            RECT saved = m_view.m_printRect;
            if (clampPick) {
                CRect client;
                m_view.GetClientRect(&client);
                saved = ClampedToClient(saved, client);
            }
            m_lastPrintRect = saved;
            if (!HasWidthAndHeight(saved))
                m_view.m_printRectComplete = 0;
            m_view.SetPrintPickMode(true);
            RedrawViewNow();
            break;
        }
        case ZrUI::kPrintManagerClose:
            m_view.m_printPick = 0;
            RedrawViewNow();
            break;
        case ZrUI::kPrintManagerPrint: {
            m_view.m_printPick = 0;
            RedrawViewNow();
            const ZrUI::PrintRecord& record = m_printRecord;
            if (record.printToFile == 0) {
                if (!PrintToDevice(record.printWindow, record.scale, record.colorMode, record.xOffset,
                                   record.yOffset, record.rotation, record.pageWidth, record.pageHeight)) {
                    char drawingPath[MAX_PATH];
                    memset(drawingPath, 0, sizeof(drawingPath));
                    drawing->getFileName(drawingPath);
                    ShowPrintFailure(drawingPath);
                }
            } else {
                CString path;
                if (AskPrintFileName(path) &&
                    !PrintToFile(record.printWindow, record.scale, record.colorMode, record.xOffset,
                                 record.yOffset, record.rotation, record.pageWidth, record.pageHeight, path))
                    ShowPrintFailure(path);
            }
            drawnForPrint = true;
            break;
        }
        default:
            break;
    }
    ZrUI::releasePrintManager();
    drawing->attachExport(NULL);
    return drawnForPrint;
}

bool CViewFrame::PrintToDevice(const ZrUI::PrintWindow* window, double scale, short colorMode, int xOffset,
                               int yOffset, short rotation, int, int)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (window == NULL || thread == NULL)
        return false;
    ZrApp::Document* document = thread->GetDocument();
    CDrawing* drawing = document != NULL ? document->getDrawing() : NULL;
    if (drawing == NULL)
        return false;
    double scaledWidth = window->width * scale;
    double scaledHeight = window->height * scale;
    drawing->saveViewState();
    drawing->setPrintView(window->corner1, window->corner2, scaledWidth, scaledHeight);
    HDC dc = g_printPenSet.getPrintSetDlg()->CreatePrinterDC();
    if (dc == NULL) {
        drawing->restoreViewState();
        return false;
    }
    if (g_printPenSet.getUsePenWidth())
        g_printPenSet.InitPenWidth(GetDeviceCaps(dc, LOGPIXELSX));
    int physicalOffsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    bool printed = false;
    {
        CPrintDevice device(dc, colorMode, xOffset, yOffset, rotation);
        char drawingPath[MAX_PATH];
        memset(drawingPath, 0, sizeof(drawingPath));
        drawing->getFileName(drawingPath);
        CString documentName = PrintDocumentName(drawingPath);
        DOCINFOA document = {sizeof(document), documentName, NULL, NULL, 0};
        if (StartDocA(dc, &document) > 0) {
            if (StartPage(dc) > 0) {
                int formerColorMode = drawing->getPrintColorMode();
                drawing->setPrintColorMode(colorMode);
                drawing->attachExport(&device);
                int formerMapMode = SetMapMode(dc, MM_ANISOTROPIC);
                SIZE formerExtent = {};
                SetWindowExtEx(dc, 1, -1, &formerExtent);
                SetViewportExtEx(dc, 1, 1, NULL);
                bool turned = rotation == 1 || rotation == 3;
                POINT formerOrigin = {};
                SetWindowOrgEx(dc, 0, (int)(turned ? scaledWidth : scaledHeight), &formerOrigin);
                device.SetDeviceState(formerMapMode, formerExtent.cx, formerExtent.cy, formerOrigin.x,
                                      formerOrigin.y, physicalOffsetY);
                device.BeginDraw(0, 0, 0, scaledWidth, scaledHeight);
                drawing->update();
                drawing->attachExport(NULL);
                device.EndDraw();
                drawing->setPrintColorMode(formerColorMode);
                printed = EndPrintJob(dc);
            } else {
                AbortDoc(dc);
            }
        }
    }
    DeleteDC(dc);
    drawing->restoreViewState();
    return printed;
}

void CViewFrame::PrintRasterImage(TDwgDrawThread* thread)
{
    CPrintDialog dialog(FALSE);
    if (dialog.DoModal() != IDOK)
        return;
    HDC dc = dialog.GetPrinterDC();
    if (dc == NULL) {
        ShowPrintFailure(thread->GetFilePath());
        return;
    }
    bool printed = false;
    {
        CIdleUse use(thread);
        KWinCanvas canvas;
        canvas.SetTargetDC(dc);
        canvas.SetSize(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
        if (use.IsHeld() && use.Picture().DrawTo(canvas, 0, RGB(255, 255, 255))) {
            CString documentName = PrintDocumentName(thread->GetFilePath());
            DOCINFOA document = {sizeof(document), documentName, NULL, "raw", 0};
            if (StartDocA(dc, &document) > 0) {
                if (StartPage(dc) > 0) {
                    canvas.BlitTo(dc);
                    printed = EndPrintJob(dc);
                } else {
                    AbortDoc(dc);
                }
            }
        }
    }
    DeleteDC(dc);
    if (!printed)
        ShowPrintFailure(thread->GetFilePath());
}
