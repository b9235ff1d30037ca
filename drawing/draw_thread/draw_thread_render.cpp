// The drawing thread's rendering: view changes, the render of the view into
// the off-screen device, the entity highlight, the failure picture, and the
// view commands that run at once on the caller's thread.
#include "drawing/draw_thread/draw_thread.h"

#include "core/file_types.h"
#include "core/preference.h"
#include "core/res_string.h"
#include "drawing/common/draw_messages.h"
#include "platform/zrui/zrui.h"
#include "resources/drawing_ids.h"

namespace {

COLORREF DrawingBackground()
{
    return ZrUI::GetColorIndex((short)Preference.BackGroundColor, NULL);
}

// Black on a light background, white on a dark one.
COLORREF ContrastingColour(COLORREF background)
{
    int luminance =
        (299 * GetRValue(background) + 587 * GetGValue(background) + 114 * GetBValue(background)) / 1000;
    return luminance < 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

}  // namespace

void TDwgDrawThread::FillDeviceWithBackground()
{
    m_device.BlendRect(0, 0, m_device.m_nWidth, m_device.m_nHeight, DrawingBackground(), 100, false, 0);
}

void TDwgDrawThread::ChangeView(int code, const POINT& first, const POINT& second)
{
    ZrApp::View* view = m_document->getView();
    int w = m_device.m_nWidth;
    int h = m_device.m_nHeight;
    switch (code) {
        case DCMD_ZOOM_EXTENTS:
            view->setSize(w, h);
            view->zoomExtents(0, 0, 1.0);
            break;
        case DCMD_ZOOM_WINDOW:
            view->zoomWindow(first.x, h - first.y, second.x, h - second.y);
            break;
        case DCMD_ZOOM_IN:
            view->zoomIn(1);
            break;
        case DCMD_ZOOM_IN_AT:
            view->zoomInAt(first.x, h - first.y, 1);
            break;
        case DCMD_ZOOM_OUT:
            view->zoomOut(1);
            break;
        case DCMD_ZOOM_OUT_AT:
            view->zoomOutAt(first.x, h - first.y, 1);
            break;
        case DCMD_PAN:
            view->pan(first.x, h - first.y, second.x, h - second.y);
            break;
        case DCMD_REFRESH:
            view->refresh();
            break;
    }
}

// One key press moves the drawing by a twentieth of the device (a left
// step is two pixels shorter than a right one).
void TDwgDrawThread::PanByKey(int code)
{
    int stepX = m_device.m_nWidth / 20;
    int stepY = m_device.m_nHeight / 20;
    int right = stepX + 1;
    int left = 1 - stepX;
    int down = -1 - stepY;
    int up = stepY + 1;
    int dx = 0;
    int dy = 0;
    switch (code) {
        case DCMD_PAN_KEY_RIGHT:
            dx = right;
            break;
        case DCMD_PAN_KEY_LEFT:
            dx = left;
            break;
        case DCMD_PAN_KEY_DOWN:
            dy = down;
            break;
        case DCMD_PAN_KEY_UP:
            dy = up;
            break;
        case DCMD_PAN_KEY_DOWN_RIGHT:
            dx = right;
            dy = down;
            break;
        case DCMD_PAN_KEY_UP_RIGHT:
            dx = right;
            dy = up;
            break;
        case DCMD_PAN_KEY_DOWN_LEFT:
            dx = left;
            dy = down;
            break;
        case DCMD_PAN_KEY_UP_LEFT:
            dx = left;
            dy = up;
            break;
    }
    m_document->getView()->pan(0, 0, dx, dy);
}

void TDwgDrawThread::RunSynchronous(int code, const POINT& first, const POINT& second)
{
    if (m_document == NULL)
        return;
    if (code == DCMD_HIGHLIGHT_ON) {
        HighlightOn(first);
    } else if (code == DCMD_HIGHLIGHT_OFF) {
        if (!HighlightOff(first))
            RenderView();
    } else {
        if (code >= DCMD_PAN_KEY_RIGHT)
            PanByKey(code);
        else
            ChangeView(code, first, second);
        RenderView();
    }
    PostNotify(GetNotifyWnd(), WM_DRAW_DONE, 1, code);
}

void TDwgDrawThread::RenderView()
{
    if (!IsVectorLoaded() || !MayDraw())
        return;
    m_device.SelectFont();
    if (MayDraw()) {
        ZrApp::View* view = m_document->getView();
        view->setSize(m_device.m_nWidth, m_device.m_nHeight);
        view->draw(m_device.m_hDC, 0);
    }
    m_device.ReleaseFont();
}

bool TDwgDrawThread::MayHighlight() const
{
    return IsDrawingKind(m_fileKind) && m_drawingLoaded && MayDraw();
}

void TDwgDrawThread::HighlightOn(const POINT& first)
{
    if (!MayHighlight())
        return;
    m_device.SelectFont();
    if (MayDraw()) {
        int h = m_device.m_nHeight;
        m_document->getView()->setSize(m_device.m_nWidth, h);
        m_document->getDrawing()->setPageValue(0);
        m_document->getView()->highlightAt(m_device.m_hDC, 0, first.x, h - first.y);
    }
    m_device.ReleaseFont();
}

bool TDwgDrawThread::HighlightOff(const POINT& first)
{
    if (!MayHighlight() || !m_document->getView()->hasHighlight())
        return false;
    m_device.SelectFont();
    if (MayDraw()) {
        m_document->getView()->setSize(m_device.m_nWidth, m_device.m_nHeight);
        m_document->getDrawing()->setPageValue(0);
        m_document->getView()->restoreHighlight(m_device.m_hDC, first.x, first.y);
    }
    m_device.ReleaseFont();
    return true;
}

void TDwgDrawThread::DrawFailurePicture(short status)
{
    m_device.SelectFont();
    FillDeviceWithBackground();
    HDC dc = m_device.m_hDC;
    int formerMode = SetBkMode(dc, TRANSPARENT);
    // The text stands out from any background colour the user chose.
    COLORREF formerColour = SetTextColor(dc, ContrastingColour(DrawingBackground()));
    CString text =
        LoadResString(status == CDrawing::kOpenPassword ? IDS_PASSWORD_PROTECTED : IDS_OPEN_FILE_FAILED);
    RECT area = {0, 0, m_device.m_nWidth, m_device.m_nHeight};
    DrawTextA(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SetTextColor(dc, formerColour);
    SetBkMode(dc, formerMode);
    m_device.ReleaseFont();
}
