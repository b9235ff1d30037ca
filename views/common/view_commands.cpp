#include "views/common/view_commands.h"

#include "core/file_types.h"
#include "resources/views_ids.h"
#include "views/common/idle_use.h"
#include "views/common/view_state.h"

namespace {

// The image's own turn; the EXIF step of each command is its offset from
// ID_RASTER_ROTATE_LEFT (0 left, 1 right, 2 mirror, 3 flip).
void TurnImage(KImage& image, UINT commandId)
{
    switch (commandId) {
        case ID_RASTER_ROTATE_LEFT:
            image.RotateLeft();
            break;
        case ID_RASTER_ROTATE_RIGHT:
            image.RotateRight();
            break;
        case ID_RASTER_MIRROR:
            image.Mirror();
            break;
        default:
            image.Flip();
            break;
    }
}

// Changes the idle thread's raster picture; false when there is none.
bool ChangeIdleRaster(void (*change)(JGraphics& picture))
{
    CIdleUse use(GetIdleRasterThread());
    if (!use.IsHeld())
        return false;
    change(use.Picture());
    return true;
}

}  // namespace

TDwgDrawThread* GetIdleRasterThread()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || IsDrawingKind(thread->GetFileKind()) || !thread->IsRasterLoaded())
        return NULL;
    return thread;
}

bool ShowRasterActualSize()
{
    return ChangeIdleRaster([](JGraphics& picture) { picture.ActualSize(); });
}

bool FitRasterView()
{
    return ChangeIdleRaster([](JGraphics& picture) { picture.ResetView(); });
}

bool TurnRaster(UINT commandId, bool& orientationChanged)
{
    orientationChanged = false;
    if (commandId < ID_RASTER_ROTATE_LEFT || commandId > ID_RASTER_FLIP)
        return false;
    CIdleUse use(GetIdleRasterThread());
    if (!use.IsHeld())
        return false;
    JGraphics& picture = use.Picture();
    KImage& image = picture.GetImage();
    picture.ClearViewportCache();
    TurnImage(image, commandId);
    picture.UpdateExtents(true);
    picture.ResetView();
    orientationChanged = image.RotateExifOrientation((int)(commandId - ID_RASTER_ROTATE_LEFT));
    return true;
}

TDwgDrawThread* ToggleQuickMode()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()))
        return NULL;
    thread->SetQuickMode(!thread->GetViewFlag());
    return thread;
}

void UpdateQuickMode(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    bool drawing = thread != NULL && IsDrawingKind(thread->GetFileKind());
    cmdUI->Enable(drawing);
    cmdUI->SetCheck(drawing && thread->GetViewFlag() ? 1 : 0);
}
