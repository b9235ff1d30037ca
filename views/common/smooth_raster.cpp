#include "views/common/smooth_raster.h"

namespace {

// A draw that took longer than this gets the wait cursor the next time.
const DWORD kSlowDrawMs = 300;

}  // namespace

void DrawRasterSmoothed(JGraphics& picture, CCmdTarget& owner)
{
    bool slow = picture.lastDrawTime > kSlowDrawMs;
    if (slow)
        owner.BeginWaitCursor();
    picture.fastStretch = 0;
    picture.Draw(false);
    picture.fastStretch = 1;
    if (slow)
        owner.EndWaitCursor();
}
