// The pictures of the thumbnail task thread: the preview stored in a
// drawing, a drawing drawn through the drawing library with its stage
// pictures, a raster file decoded and shrunk, and the failure picture.
#include <windows.h>

#include <cstdlib>

#include "core/appsw.h"
#include "core/file_types.h"
#include "core/file_utils.h"
#include "core/preference.h"
#include "core/res_string.h"
#include "drawing/common/draw_messages.h"
#include "drawing/common/stored_preview.h"
#include "drawing/library/dwg_cache.h"
#include "drawing/thumbnails/raster_thumbnail.h"
#include "drawing/thumbnails/task.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "drawing/thumbnails/task_raster_pool.h"
#include "graphics/dib.h"
#include "graphics/kbmp.h"
#include "platform/zrapp/zrapp.h"
#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"
#include "resources/drawing_ids.h"

namespace {

const COLORREF kStageColour = RGB(252, 214, 197);
const UINT kCentredTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
const double kZoomExtentsFactor = 0.98;
// wParam of WM_THUMB_STAGE before a raster file is decoded.
const WPARAM kRasterStage = 101;

BYTE Darker(BYTE channel, int step)
{
    return static_cast<BYTE>(channel > step ? channel - step : 0);
}

// A rectangle over the whole surface with a thin pen and a brush, and a
// centred text in it.
void PaintTextCard(HDC dc, int width, int height, COLORREF pen, COLORREF fill, const char* text)
{
    HPEN linePen = CreatePen(PS_SOLID, 0, pen);
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ oldPen = SelectObject(dc, linePen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    Rectangle(dc, 0, 0, width, height);
    if (text) {
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT box = {0, 0, width, height};
        DrawTextA(dc, text, -1, &box, kCentredTextFlags);
        SetBkMode(dc, oldMode);
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(linePen);
}

// The drawing library's drawing, deleted on every path.
struct DrawingHolder {
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL);
    ~DrawingHolder() { CDrawing::DeleteDrawing(drawing); }
};

}  // namespace

int TTaskManageThread::RenderEmbeddedPreview(TTask& task)
{
    CDib preview;
    if (!ReadStoredPreview(task.path, &preview))
        return TASK_RESULT_NONE;
    const int previewWidth = preview.GetWidth();
    const int previewHeight = std::abs(preview.GetHeight());
    CDC* dc = task.BeginDraw(nullptr, 24);
    if (!dc || previewWidth <= 0 || previewHeight <= 0) {
        task.EndDraw();
        return TASK_RESULT_NONE;
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    PaintTextCard(dc->m_hDC, m_width, m_height, face, face, nullptr);
    // The preview fills the box with its proportions kept, enlarged if small.
    double scale = static_cast<double>(m_width) / previewWidth;
    const double vertical = static_cast<double>(m_height) / previewHeight;
    if (vertical < scale)
        scale = vertical;
    const int drawnWidth = static_cast<int>(previewWidth * scale);
    const int drawnHeight = static_cast<int>(previewHeight * scale);
    preview.StretchDraw(dc, (m_width - drawnWidth) / 2, (m_height - drawnHeight) / 2, drawnWidth, drawnHeight, 0,
                        0, previewWidth, previewHeight, SRCCOPY);
    task.EndDraw();
    return TASK_RESULT_PREVIEW;
}

void TTaskManageThread::ShowStage(CDib& bitmap, UINT textId)
{
    CDC* dc = bitmap.BeginMemDC(nullptr);
    if (!dc)
        return;
    CString text = LoadResString(textId);
    PaintTextCard(dc->m_hDC, bitmap.GetWidth(), std::abs(bitmap.GetHeight()), GetSysColor(COLOR_BTNFACE),
                  kStageColour, text);
    bitmap.EndMemDC();
    SendThumbUpdate(&bitmap);
}

int TTaskManageThread::RenderDrawingThumb(TTask& task, bool zoomExtents, CDib& bitmap)
{
    if (!FileExists(task.path))
        return TASK_RESULT_NONE;
    const int width = bitmap.GetWidth();
    const int height = std::abs(bitmap.GetHeight());
    DrawingHolder holder;
    if (!holder.drawing)
        return TASK_RESULT_NONE;
    if (InBrowseMode())
        ShowStage(bitmap, IDS_THUMB_LOADING);
    const short opened = holder.drawing->open(task.path, nullptr);
    if (opened != CDrawing::kOpened) {
        if (m_abort)
            return TASK_RESULT_FAILED;
        return opened == CDrawing::kOpenPassword ? TASK_RESULT_PASSWORD : TASK_RESULT_NONE;
    }
    if (!IsCurrent() || IsStopRequested() || m_abort)
        return TASK_RESULT_FAILED;
    holder.drawing->setViewSize(width, height);
    if (zoomExtents) {
        if (InBrowseMode())
            ShowStage(bitmap, IDS_THUMB_ZOOMING);
        holder.drawing->zoomExtents(0, 0, kZoomExtentsFactor);
    }
    if (!IsCurrent() || IsPaused() || IsStopRequested())
        return TASK_RESULT_FAILED;
    ShowStage(bitmap, IDS_THUMB_DRAWING);
    bitmap.Clear(ZrUI::GetColorIndex(static_cast<short>(Preference.BackGroundColor), nullptr));
    if (CDC* dc = bitmap.BeginMemDC(nullptr)) {
        zrapp::draw(m_context, holder.drawing, dc->m_hDC, width, height, 0);
        bitmap.EndMemDC();
    }
    if (IsCurrent() && !IsPaused() && !IsStopRequested() && !m_abort) {
        task.thumbnail->Attach(bitmap.CopyToBmpFile(), false);
        if (TDwgCache* cache = GetDwgCache())
            cache->AddImage(task.path, task.thumbnail, m_width, m_height);
    }
    return IsCurrent() && !IsStopRequested() ? TASK_RESULT_MADE : TASK_RESULT_FAILED;
}

int TTaskManageThread::RenderRasterThumb(TTask& task)
{
    if (!IsRasterThumbnailKind(task.fileKind))
        return TASK_RESULT_NONE;
    if (InBrowseMode())
        SendNotify(GetNotifyWnd(), WM_THUMB_STAGE, kRasterStage, 0);
    BYTE* picture = m_rasterPool->Make(RasterRequest(task), m_abort);
    if (!picture || !task.thumbnail->Attach(picture, false))
        return TASK_RESULT_NONE;
    if (IsCurrent() && !IsPaused() && !IsStopRequested()) {
        if (TDwgCache* cache = GetDwgCache())
            cache->AddImage(task.path, task.thumbnail, m_width, m_height);
    }
    return TASK_RESULT_MADE;
}

TTaskRasterPool::Request TTaskManageThread::RasterRequest(const TTask& task) const
{
    return TTaskRasterPool::Request{&task, task.path, task.fileKind, m_width, m_height,
                                    Preference.ReadBitmapFromRaster != 0};
}

void TTaskManageThread::DrawFailurePicture(TTask& task, int result)
{
    CDC* dc = task.BeginDrawSized(nullptr, m_width, m_height, 24);
    if (!dc) {
        task.EndDraw();
        return;
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF fill = RGB(Darker(GetRValue(face), 50), Darker(GetGValue(face), 50), Darker(GetBValue(face), 50));
    CString text = LoadResString(result == TASK_RESULT_PASSWORD ? IDS_PASSWORD_PROTECTED : IDS_THUMB_FAILED);
    PaintTextCard(dc->m_hDC, m_width, m_height, face, fill, text);
    task.EndDraw();
}
