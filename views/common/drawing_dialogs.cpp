#include "views/common/drawing_dialogs.h"

#include "core/file_types.h"
#include "drawing/draw_thread/draw_commands.h"
#include "views/common/idle_use.h"
#include "views/common/view_state.h"

int RunDrawingDialog(TDwgDrawThread* thread, DrawingDialog dialog)
{
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()))
        return 0;
    CIdleUse use(thread);
    CDrawing* drawing = use.Drawing();
    if (drawing == NULL)
        return 0;
    return dialog(drawing);
}

void RefreshDrawing(TDwgDrawThread* thread)
{
    thread->SetPendingCommand(DCMD_REFRESH);
    thread->CancelCurrent();
    thread->Wake(false);
}
