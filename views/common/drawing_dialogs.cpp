#include "views/common/drawing_dialogs.h"

#include "drawing/draw_commands.h"
#include "views/common/idle_use.h"
#include "views/common/view_state.h"

int RunDrawingDialog(TDwgDrawThread* thread, DrawingDialog dialog)
{
    if (thread == NULL || !IsVectorKind(thread->GetFileKind()))
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
    thread->m_current = 0;
    thread->Wake(false);
}
