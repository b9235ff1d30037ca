// The view frame's commands that ask the dialog library: layers, point
// display, view point, view rotation, and the open dialog.
#include "views/viewer/view_frame.h"

#include "core/file_types.h"
#include "drawing/draw_thread/draw_commands.h"
#include "platform/zrui/zrui.h"
#include "resources/views_ids.h"
#include "views/common/drawing_dialogs.h"
#include "views/common/idle_use.h"
#include "views/common/view_state.h"
#include "views/viewer/filter_text.h"

namespace {

// Single precision, as the rotation has always been computed.
const double kPi = 3.1415927410125732;

struct FilterEntry {
    UINT description;
    const char* pattern;
};

// The open dialog's filters, in the order shown; the last pattern ends the
// list with its doubled bar.
const FilterEntry kOpenFilters[] = {
    {IDS_FILTER_ALL_FILES,
     "|*.dwg;*.dxf;*.dwt;*.dwf;*.bmp;*.jpg;*.gif;*.pcx;*.tif;*.png;*.jng;*.ico;*.tga;*.wbmp;*.j2k;*.jbg|"},
    {IDS_FILTER_DRAWINGS, "|*.dwg;*.dxf;*.dwt;*.dwf|"},
    {IDS_FILTER_DWG, "|*.dwg|"},
    {IDS_FILTER_DXF, "|*.dxf|"},
    {IDS_FILTER_DWT, "|*.dwt|"},
    {IDS_FILTER_DWF, "|*.dwf|"},
    {IDS_FILTER_RASTER, "|*.bmp;*.jpg;*.gif;*.pcx;*.tif;*.png;*.jng;*.ico;*.tga;*.wbmp;*.j2k;*.jbg|"},
    {IDS_FILTER_BMP, "|*.BMP|"},
    {IDS_FILTER_JPG, "|*.JPG|"},
    {IDS_FILTER_GIF, "|*.GIF|"},
    {IDS_FILTER_PCX, "|*.PCX|"},
    {IDS_FILTER_TIF, "|*.TIF|"},
    {IDS_FILTER_PNG, "|*.PNG|"},
    {IDS_FILTER_JNG, "|*.JNG|"},
    {IDS_FILTER_ICO, "|*.ICO|"},
    {IDS_FILTER_TGA, "|*.TGA|"},
    {IDS_FILTER_WBMP, "|*.WBMP|"},
    {IDS_FILTER_WMF, "|*.WMF|"},
    {IDS_FILTER_J2K, "|*.J2K|"},
    {IDS_FILTER_JBG, "|*.JBG||"},
};

// The idle thread holding a drawing kind, else null.
TDwgDrawThread* IdleVectorThread()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    return thread != NULL && IsDrawingKind(thread->GetFileKind()) ? thread : NULL;
}

}  // namespace

void CViewFrame::OnLayers()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (RunDrawingDialog(thread, ZrUI::showLayerManager) == 1)
        RefreshDrawing(thread);
}

void CViewFrame::OnPointDisplay()
{
    TDwgDrawThread* thread = IdleVectorThread();
    if (thread == NULL)
        return;
    int answer = 0;
    {
        CIdleUse use(thread);
        CDrawing* drawing = use.Drawing();
        if (drawing == NULL)
            return;
        double size = drawing->getPointSize();
        int mode = drawing->getPointMode();
        answer = ZrUI::showSetPointDialog(mode, size);
        if (answer == 1) {
            drawing->setPointSize(size);
            drawing->setPointMode(mode);
        }
    }
    if (answer == 1)
        RefreshDrawing(thread);
}

void CViewFrame::OnSelectViewPoint()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (RunDrawingDialog(thread, ZrUI::showSetViewportDialog) == 1 && GetIdleDrawThread() != NULL)
        thread->SetCommand(DCMD_REGEN);
}

void CViewFrame::OnRotateView()
{
    TDwgDrawThread* thread = IdleVectorThread();
    if (thread == NULL)
        return;
    double angle = 0.0;
    {
        CIdleUse use(thread);
        CDrawing* drawing = use.Drawing();
        if (drawing == NULL || ZrUI::showSetRotateViewDialog(angle) != 1)
            return;
        drawing->prepareView();
        drawing->rotateView(angle / -180.0 * kPi);
    }
    thread->SetPendingCommand(DCMD_REGEN);
    Regenerate();
}

void CViewFrame::OnFileOpen()
{
    CString path;
    if (ZrUI::showDwgOpenDialog(TRUE, NULL, NULL, 0x1004, FilterText(kOpenFilters), NULL, path) != 1)
        return;
    OpenChosenFile(path);
}
