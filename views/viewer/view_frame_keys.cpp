// The view frame's keys and mouse wheel.
#include "views/viewer/view_frame.h"

#include "core/file_types.h"
#include "drawing/draw_thread/draw_commands.h"
#include "views/common/idle_use.h"
#include "views/common/pointer_steps.h"
#include "views/common/view_messages.h"
#include "views/common/view_state.h"

namespace {

// Only these keys are looked at (Esc to the minus key).
const UINT kFirstViewKey = VK_ESCAPE;
const UINT kLastViewKey = VK_OEM_MINUS;
// A raster key pan moves by a sixteenth of the frame.
const int kRasterPanDivisor = 16;
const double kZoomAllMargin = 1.05;

struct KeyPan {
    UINT key;
    UINT keypadKey;
    int command;
    // The raster pan, in steps.
    int stepsX;
    int stepsY;
};

const KeyPan kKeyPans[] = {
    {VK_LEFT, VK_NUMPAD4, DCMD_PAN_KEY_LEFT, 1, 0},
    {VK_UP, VK_NUMPAD8, DCMD_PAN_KEY_UP, 0, -1},
    {VK_RIGHT, VK_NUMPAD6, DCMD_PAN_KEY_RIGHT, -1, 0},
    {VK_DOWN, VK_NUMPAD2, DCMD_PAN_KEY_DOWN, 0, 1},
    {0, VK_NUMPAD1, DCMD_PAN_KEY_DOWN_LEFT, 1, 1},
    {0, VK_NUMPAD3, DCMD_PAN_KEY_DOWN_RIGHT, -1, 1},
    {0, VK_NUMPAD7, DCMD_PAN_KEY_UP_LEFT, 1, -1},
    {0, VK_NUMPAD9, DCMD_PAN_KEY_UP_RIGHT, -1, -1},
};

const KeyPan* FindKeyPan(UINT key)
{
    for (const KeyPan& pan : kKeyPans) {
        if (key == pan.keypadKey || (pan.key != 0 && key == pan.key))
            return &pan;
    }
    return NULL;
}

bool IsZoomAllKey(UINT key)
{
    return key == '8' || key == VK_NUMPAD5 || key == VK_MULTIPLY;
}

bool IsZoomInKey(UINT key)
{
    return key == VK_ADD || key == VK_OEM_PLUS;
}

bool IsZoomOutKey(UINT key)
{
    return key == VK_SUBTRACT || key == VK_OEM_MINUS;
}

}  // namespace

bool CViewFrame::HandleViewKey(UINT key)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return false;
    bool endsMode = key == VK_ESCAPE || key == VK_RETURN;
    if (m_view.m_orbit) {
        if (endsMode)
            m_view.Set3DOrbitMode(false);
        return endsMode;
    }
    if (m_view.m_printPick) {
        if (endsMode) {
            m_view.SetPrintPickMode(false);
            m_view.RedrawWindow(NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
            PostMessage(WM_PRINT_PICK_DONE, 0, 0);
        }
        return endsMode;
    }
    if (key < kFirstViewKey || key > kLastViewKey)
        return false;
    switch (key) {
        case VK_ESCAPE:
            if (m_exitOnEsc)
                QuitProgram();
            else
                OnBackToBrowse();
            return true;
        case '1':
            m_view.OnActualSize();
            return true;
        case 'H':
            m_view.OnHighlightEntity();
            return true;
        case 'Q':
        case VK_F2:
            m_view.OnQuickMode();
            return true;
        case VK_BROWSER_BACK:
            m_view.OnPreviousFile();
            return true;
        case VK_BROWSER_FORWARD:
            m_view.OnNextFile();
            return true;
        default:
            break;
    }
    return IsDrawingKind(thread->GetFileKind()) ? HandleVectorKey(thread, key) : HandleRasterKey(thread, key);
}

bool CViewFrame::HandleVectorKey(TDwgDrawThread* thread, UINT key)
{
    if (const KeyPan* pan = FindKeyPan(key)) {
        thread->PostCommand(pan->command, NULL, NULL, true);
        return true;
    }
    bool zoomAll = IsZoomAllKey(key);
    bool zoomIn = IsZoomInKey(key);
    if (!zoomAll && !zoomIn && !IsZoomOutKey(key))
        return false;
    if (zoomAll)
        BeginWaitCursor();
    {
        CIdleUse use(thread);
        CDrawing* drawing = use.Drawing();
        if (drawing != NULL && zoomAll)
            drawing->zoomExtents(0, 0, kZoomAllMargin);
        else if (drawing != NULL && zoomIn)
            drawing->zoomIn(1);
        else if (drawing != NULL)
            drawing->zoomOut(1);
    }
    if (zoomAll)
        EndWaitCursor();
    Regenerate();
    return true;
}

bool CViewFrame::HandleRasterKey(TDwgDrawThread* thread, UINT key)
{
    const KeyPan* pan = FindKeyPan(key);
    if (pan == NULL && !IsZoomAllKey(key) && !IsZoomInKey(key) && !IsZoomOutKey(key))
        return false;
    {
        CIdleUse use(thread);
        if (use.IsHeld()) {
            JGraphics& picture = use.Picture();
            CRect client;
            GetClientRect(&client);
            if (pan != NULL)
                picture.Pan(pan->stepsX * (client.Width() / kRasterPanDivisor),
                            pan->stepsY * (client.Height() / kRasterPanDivisor));
            else if (IsZoomAllKey(key))
                picture.ZoomAll();
            else if (IsZoomInKey(key))
                picture.ZoomIn();
            else
                picture.ZoomOut();
        }
    }
    Regenerate();
    return true;
}

BOOL CViewFrame::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return TRUE;
    UINT keys = flags & (MK_CONTROL | MK_SHIFT);
    if (keys == 0) {
        // The point in the drawing view's pixels, which are the picture's.
        CPoint at = point;
        m_view.ScreenToClient(&at);
        if (ZoomAtPointer(thread, at, delta > 0))
            Regenerate();
        return TRUE;
    }
    if (keys != MK_CONTROL)
        return TRUE;
    if (delta > 0)
        m_view.OnPreviousFile();
    else
        m_view.OnNextFile();
    // One file step for a turn of the wheel: the wheel messages queued
    // meanwhile go.
    DWORD now = GetTickCount();
    MSG queued;
    while (PeekMessageA(&queued, m_hWnd, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE)) {
        if ((LONG)(queued.time - now) > 0)
            break;
    }
    return TRUE;
}
