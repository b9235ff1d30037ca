// The picture's view operations: each lands on a fresh copy of the current
// view (so it can be undone) and redraws.
#include <math.h>

#include "graphics/jgraphics.h"

KViewPort* JGraphics::BeginViewChange()
{
    if (!canvas || !viewList || !EnsureView())
        return nullptr;
    return CurrentView();
}

bool JGraphics::FinishViewChange()
{
    Draw(false);
    return true;
}

bool JGraphics::ZoomAll()
{
    if (!BeginViewChange())
        return false;
    FitToExtents();
    return FinishViewChange();
}

bool JGraphics::ResetView()
{
    KViewPort* view = BeginViewChange();
    if (!view)
        return false;
    UpdateExtents(false);
    view->FitRectNoEnlarge(canvas->width, canvas->height, extents);
    return FinishViewChange();
}

bool JGraphics::ActualSize()
{
    KViewPort* view = BeginViewChange();
    if (!view)
        return false;
    UpdateExtents(false);
    view->scale = 1.0f;
    bool inside = extents.left <= view->x && view->x <= extents.right &&
                  extents.bottom <= view->y && view->y <= extents.top;
    if (!inside) {
        view->x = extents.left;
        view->y = extents.top;
    }
    return FinishViewChange();
}

bool JGraphics::Pan(int dx, int dy)
{
    KViewPort* view = BeginViewChange();
    if (!view)
        return false;
    view->x += dx / view->scale;
    view->y += dy / view->scale;
    return FinishViewChange();
}

bool JGraphics::ZoomWindow(const RECT& rect)
{
    KViewPort* view = BeginViewChange();
    if (!view)
        return false;
    KWorldRect world = {view->ToWorldX(rect.left), view->ToWorldY(rect.top),
                        view->ToWorldX(rect.right), view->ToWorldY(rect.bottom)};
    view->FitRect(canvas->width, canvas->height, world);
    return FinishViewChange();
}

bool JGraphics::ZoomAt(POINT point, float factor)
{
    KViewPort* view = BeginViewChange();
    if (!view || !view->ZoomByFactor(point, factor))
        return false;
    return FinishViewChange();
}

bool JGraphics::ZoomAboutCentre(float factor)
{
    if (!canvas)
        return false;
    POINT centre = {static_cast<LONG>(nearbyint(canvas->width * 0.5)),
                    static_cast<LONG>(nearbyint(canvas->height * 0.5))};
    return ZoomAt(centre, factor);
}

bool JGraphics::ZoomIn()
{
    return ZoomAboutCentre(0.1f);
}

bool JGraphics::ZoomOut()
{
    return ZoomAboutCentre(-0.1f);
}

bool JGraphics::ZoomPrevious()
{
    if (!canvas || !viewList || viewList->IsEmpty())
        return false;
    if (viewList->GetCount() > 1)
        viewList->RemoveTail();
    canvas->viewport = CurrentView();
    Draw(false);
    return true;
}

bool JGraphics::Resize(int width, int height)
{
    if (!canvas || !canvas->SetSize(width, height))
        return false;
    Draw(false);
    return true;
}

bool JGraphics::ResizeScaled(int width, int height, bool keepScale, bool redraw)
{
    if (!canvas)
        return false;
    int formerWidth = canvas->width;
    if (!canvas->SetSize(width, height))
        return false;
    KViewPort* view = CurrentView();
    if (keepScale && view && formerWidth > 0)
        view->scale = view->scale * width / formerWidth;
    if (redraw)
        return Draw(false);
    return true;
}
