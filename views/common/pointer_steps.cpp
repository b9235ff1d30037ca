#include "views/common/pointer_steps.h"

#include "core/file_types.h"
#include "drawing/draw_thread/draw_commands.h"
#include "views/common/idle_use.h"
#include "views/common/rubber_band.h"
#include "views/common/view_state.h"

bool PanWithPointer(TDwgDrawThread* thread, POINT from, POINT to)
{
    if (IsDrawingKind(thread->GetFileKind())) {
        // The thread pans by the vector from its first point to its second,
        // so the drawing follows the pointer.
        thread->PostCommand(DCMD_PAN, &from, &to, true);
        return false;
    }
    CIdleUse use(thread);
    return use.IsHeld() && use.Picture().Pan(from.x - to.x, to.y - from.y);
}

bool ZoomAtPointer(TDwgDrawThread* thread, POINT at, bool in)
{
    if (IsDrawingKind(thread->GetFileKind())) {
        if (!thread->HasDrawing())
            return false;
        thread->RedrawIfIdle();
    }
    return ZoomAtClick(thread, at, in);
}

bool ZoomAtClick(TDwgDrawThread* thread, POINT at, bool in)
{
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->PostCommand(in ? DCMD_ZOOM_IN_AT : DCMD_ZOOM_OUT_AT, &at, NULL, true);
        return false;
    }
    CIdleUse use(thread);
    return use.IsHeld() && (in ? use.Picture().ZoomInAt(at) : use.Picture().ZoomOutAt(at));
}

bool ZoomToWindow(TDwgDrawThread* thread, POINT from, POINT to)
{
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->PostCommand(DCMD_ZOOM_WINDOW, &from, &to, true);
        return false;
    }
    RECT window = NormalisedRect({from.x, from.y, to.x, to.y});
    CIdleUse use(thread);
    return use.IsHeld() && use.Picture().ZoomWindow(window);
}
