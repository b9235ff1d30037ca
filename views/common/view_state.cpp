#include "views/common/view_state.h"

#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "platform/zrui/zrui.h"

TDwgDrawThread* GetRunningDrawThread()
{
    return AppSW.mode != APPMODE_QUITTING ? AppSW.drawThread : NULL;
}

TDwgDrawThread* GetIdleDrawThread()
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    return thread != NULL && !thread->IsBusy() ? thread : NULL;
}

bool IsVectorFile()
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    return thread != NULL && IsDrawingKind(thread->GetFileKind());
}

bool IsRasterFile()
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    return thread != NULL && !IsDrawingKind(thread->GetFileKind());
}

bool HasVectorDrawing()
{
    TDwgDrawThread* thread = AppSW.drawThread;
    return thread != NULL && IsDrawingKind(thread->GetFileKind()) && thread->HasDrawing();
}

bool HasRasterImage()
{
    TDwgDrawThread* thread = AppSW.drawThread;
    return thread != NULL && thread->IsRasterLoaded();
}

bool HasSomethingToShow()
{
    return GetIdleDrawThread() != NULL && (HasVectorDrawing() || HasRasterImage());
}

COLORREF DrawingBackgroundColour()
{
    return ZrUI::GetColorIndex((short)Preference.BackGroundColor, NULL);
}
