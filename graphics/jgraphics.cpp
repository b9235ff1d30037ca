// The picture: reading, extents, colours and the drawing passes.
// The C library headers come before <windows.h>, whose min and max
// macros they cannot take.
#include <math.h>
#include "graphics/jgraphics.h"

#include "graphics/cad_color_table.h"
#include "graphics/kbuffer.h"
#include "graphics/ktrim_window.h"

namespace {

const COLORREF kImageFrameColour = 0xffffff;
const uint32_t kGroupCountBytes = 4;

bool ReadName(KBuffer& buffer, KString& text)
{
    uint32_t length = 0;
    return buffer.ReadUInt32(length) && buffer.ReadString(text, length);
}

}  // namespace

JGraphics::JGraphics()
    : colourMode(0),
      colourModeWanted(0),
      background(0),
      backgroundWanted(0),
      drawEnabled(1),
      fastStretch(0),
      lastDrawTime(0),
      viewList(nullptr),
      canvas(nullptr),
      currentGroup(nullptr),
      extents{0.0f, 0.0f, 1.0f, 1.0f},
      extentsValid(0)
{
}

JGraphics::~JGraphics()
{
    Clear();
}

void JGraphics::Clear()
{
    groups.RemoveAll();
    currentGroup = nullptr;
    image.Clear();
    extentsValid = 0;
    name.Set("");
    secondName.Set("");
    ClearViewportCache();
}

void JGraphics::ClearViewportCache()
{
    if (viewList)
        viewList->RemoveAll();
    if (canvas)
        canvas->viewport = nullptr;
}

bool JGraphics::Read(KBuffer& buffer)
{
    Clear();
    if (!ReadContent(buffer)) {
        Clear();
        return false;
    }
    currentGroup = groups.GetHead();
    ApplyColours();
    ClearViewportCache();
    return true;
}

bool JGraphics::ReadContent(KBuffer& buffer)
{
    uint32_t backgroundWord = 0;
    uint32_t modeWord = 0;
    uint32_t groupCount = 0;
    if (!ReadName(buffer, name) || !buffer.ReadUInt32(backgroundWord) ||
        !buffer.ReadUInt32(modeWord) || !image.Read(buffer) || !ReadName(buffer, secondName) ||
        !buffer.ReadUInt32(groupCount) || groupCount > buffer.GetRemaining() / kGroupCountBytes)
        return false;
    background = backgroundWanted = backgroundWord;
    colourMode = colourModeWanted = static_cast<int32_t>(modeWord);
    for (uint32_t i = 0; i < groupCount; ++i) {
        JGroup* group = groups.AppendNew();
        if (!group || !group->Read(buffer))
            return false;
    }
    return true;
}

void JGraphics::ApplyColours()
{
    g_CadColorTable.mode = colourMode;
    g_CadColorTable.background = background;
    for (JGroup* group = groups.First(); group; group = groups.Next()) {
        for (JEntity** entity = group->entities.First(); entity; entity = group->entities.Next())
            (*entity)->UpdateColour();
    }
}

void JGraphics::SyncWantedColours()
{
    if (backgroundWanted == background && colourModeWanted == colourMode)
        return;
    background = backgroundWanted;
    colourMode = colourModeWanted;
    ApplyColours();
}

void JGraphics::UpdateExtents(bool force)
{
    if (extentsValid && !force)
        return;
    KWorldRect box = {0.0f, 0.0f, 1.0f, 1.0f};
    bool first = true;
    image.GetExtents(box, first);
    for (JGroup* group = groups.First(); group; group = groups.Next()) {
        for (JEntity** item = group->entities.First(); item; item = group->entities.Next()) {
            JEntity* entity = *item;
            if (!entity->UpdateBox())
                continue;
            if (first) {
                box = entity->box;
                first = false;
                continue;
            }
            box.left = fminf(box.left, entity->box.left);
            box.right = fmaxf(box.right, entity->box.right);
            box.top = fmaxf(box.top, entity->box.top);
            box.bottom = fminf(box.bottom, entity->box.bottom);
        }
    }
    // An empty picture keeps the inverted start box (top 0 below bottom 1),
    // which every fit refuses.
    extents = box;
    extentsValid = 1;
}

KViewPort* JGraphics::CurrentView() const
{
    return viewList ? viewList->GetTail() : nullptr;
}

float JGraphics::GetScale() const
{
    KViewPort* view = CurrentView();
    return view ? view->scale : 0.0f;
}

KViewPort* JGraphics::PushView()
{
    if (!viewList)
        return nullptr;
    int32_t maxCount = viewList->GetMaxCount();
    if (viewList->GetCount() == 1 && maxCount == 1)
        return viewList->GetTail();
    if (maxCount > 0) {
        while (viewList->GetCount() >= maxCount)
            viewList->RemoveHead();
    }
    KViewPort* previous = viewList->GetTail();
    return viewList->Append(previous ? *previous : KViewPort());
}

bool JGraphics::FitToExtents()
{
    KViewPort* view = CurrentView();
    if (!canvas || !view)
        return false;
    UpdateExtents(false);
    view->FitRect(canvas->width, canvas->height, extents);
    return true;
}

bool JGraphics::EnsureView()
{
    if (!viewList)
        return false;
    bool wasEmpty = viewList->IsEmpty();
    KViewPort* view = PushView();
    if (!view)
        return false;
    if (canvas)
        canvas->viewport = view;
    if (wasEmpty)
        FitToExtents();
    return true;
}

bool JGraphics::Draw(bool keepContents)
{
    if (!drawEnabled || !canvas || !viewList)
        return true;
    if (canvas->width < 1 || canvas->height < 1)
        return false;
    if (viewList->IsEmpty() && !EnsureView())
        return false;
    return DrawWithView(*viewList->GetTail(), keepContents);
}

bool JGraphics::DrawWithView(KViewPort& view, bool keepContents)
{
    canvas->viewport = &view;
    SyncWantedColours();
    if (canvas->BeginDraw(background, !keepContents) != 0) {
        canvas->EndDraw();
        return false;
    }
    DWORD start = GetTickCount();
    image.Draw(*canvas, true, 0, kImageFrameColour, true, fastStretch != 0);
    canvas->EndDraw();
    lastDrawTime = GetTickCount() - start;
    return true;
}

bool JGraphics::DrawGroups(KCanvas* target, float zoomFactor, bool keepOrigin)
{
    canvas = target;
    if (!canvas || !viewList)
        return true;
    if (canvas->width < 1 || canvas->height < 1)
        return false;
    if (!viewList->IsEmpty()) {
        canvas->viewport = viewList->GetTail();
        FitToExtents();
    } else if (!EnsureView()) {
        return false;
    }
    KViewPort& view = *viewList->GetTail();
    canvas->viewport = &view;
    SyncWantedColours();

    g_TrimWindow.left = view.x;
    g_TrimWindow.top = view.y;
    g_TrimWindow.right = view.x + canvas->width / view.scale;
    g_TrimWindow.bottom = view.y - canvas->height / view.scale;

    if (zoomFactor != 0.0f) {
        POINT centre = {static_cast<LONG>(nearbyint(canvas->width * 0.5)),
                        static_cast<LONG>(nearbyint(canvas->height * 0.5))};
        view.ZoomAt(centre, view.scale * zoomFactor);
    }
    if (!keepOrigin) {
        view.x = extents.left;
        view.y = extents.top;
    }
    for (JGroup* group = groups.First(); group; group = groups.Next()) {
        for (JEntity** entity = group->entities.First(); entity; entity = group->entities.Next())
            (*entity)->Draw(*canvas, view.scale);
    }
    return true;
}

bool JGraphics::DrawTo(KCanvas& target, int mode, COLORREF backgroundColour)
{
    if (mode != colourMode || backgroundColour != background) {
        colourMode = mode;
        background = backgroundColour;
        ApplyColours();
    }
    int32_t formerModeWanted = colourModeWanted;
    COLORREF formerBackgroundWanted = backgroundWanted;
    colourModeWanted = mode;
    backgroundWanted = backgroundColour;
    KCanvas* formerCanvas = canvas;
    canvas = &target;

    // A view of its own, so that the history stays as it was.
    KViewPort* current = CurrentView();
    KViewPort view = current ? *current : KViewPort();
    UpdateExtents(false);
    view.FitRect(target.width, target.height, extents);
    bool drawn = true;
    if (drawEnabled)
        drawn = target.width >= 1 && target.height >= 1 && DrawWithView(view, false);
    target.viewport = nullptr;

    canvas = formerCanvas;
    if (canvas)
        canvas->viewport = CurrentView();
    colourModeWanted = formerModeWanted;
    backgroundWanted = formerBackgroundWanted;
    return drawn;
}
