// JGraphics: a retained picture that the views show and navigate: an
// embedded raster document, groups of polygon entities in world
// coordinates, the extents, and a colour mode with a background colour.
//
// It owns no window: it draws through a KCanvas whose current view it sets
// from the owner's view history (the last view is the current one). Every
// view operation pushes a copy of the current view first, so each step can
// be undone by ZoomPrevious; the history keeps at most its maxCount views
// (none: unbounded), dropping the oldest.
//
// Pictures are read from a compact little-endian byte format (Read).
#pragma once
#include <windows.h>
#include <stdint.h>

#include "graphics/containers.h"
#include "graphics/jentity.h"
#include "graphics/jobject.h"
#include "graphics/kcanvas.h"
#include "graphics/kimage.h"
#include "graphics/kstring.h"
#include "graphics/kviewport.h"

typedef OList<KViewPort> KViewList;

class JGraphics : public JObject
{
public:
    JGraphics();
    JGraphics(const JGraphics&) = delete;
    JGraphics& operator=(const JGraphics&) = delete;
    ~JGraphics() override;

    // The whole picture; on failure the picture is left cleared.
    bool Read(KBuffer& buffer) override;
    // Empties groups, image, names and the view history.
    void Clear();

    void UpdateExtents(bool force);
    // Fits the current view to the extents; false without canvas, view
    // list or current view. An empty picture changes nothing.
    bool FitToExtents();
    // Pushes a view (fitted when the history was empty) and makes it the
    // canvas's current view; false without a view list.
    bool EnsureView();
    float GetScale() const;

    // Draws the picture on its canvas; false when the canvas has no size or
    // drawing fails.
    bool Draw(bool keepContents);
    // The vector pass on the given canvas.
    bool DrawGroups(KCanvas* target, float zoomFactor, bool keepOrigin);

    // View operations: false without a view list or canvas.
    bool ZoomAll();
    bool ResetView();
    bool ActualSize();
    bool Pan(int dx, int dy);
    bool ZoomWindow(const RECT& rect);
    // False (view unchanged, nothing drawn) when the scale would fall to
    // 1e-05 or below.
    bool ZoomAt(POINT point, float factor);
    bool ZoomInAt(POINT point) { return ZoomAt(point, 0.1f); }
    bool ZoomOutAt(POINT point) { return ZoomAt(point, -0.1f); }
    bool ZoomIn();
    bool ZoomOut();
    bool ZoomPrevious();
    // Sets the canvas size; draws and returns true only when it grew.
    bool Resize(int width, int height);
    bool ResizeScaled(int width, int height, bool keepScale, bool redraw);
    // Draws the whole picture fitted on another canvas with the given
    // colour mode and background; the view history stays as it was.
    bool DrawTo(KCanvas& target, int mode, COLORREF backgroundColour);
    // Empties the view history; the next draw fits the picture anew.
    void ClearViewportCache();

    void SetViewList(KViewList* list) { viewList = list; }
    void SetCanvas(KCanvas* target) { canvas = target; }
    KCanvas* GetCanvas() const { return canvas; }
    KImage& GetImage() { return image; }
    const KImage& GetImage() const { return image; }
    const KWorldRect& GetExtents() const { return extents; }
    int32_t GetViewCount() const { return viewList ? viewList->GetCount() : 0; }

    KString name;
    int32_t colourMode;
    int32_t colourModeWanted;
    COLORREF background;
    COLORREF backgroundWanted;
    BYTE drawEnabled;
    BYTE fastStretch;
    KString secondName;
    DWORD lastDrawTime;

private:
    KViewPort* CurrentView() const;
    KViewPort* PushView();
    void ApplyColours();
    void SyncWantedColours();
    bool DrawWithView(KViewPort& view, bool keepContents);
    // EnsureView, then the canvas's current view; null without one.
    KViewPort* BeginViewChange();
    bool FinishViewChange();
    bool ZoomAboutCentre(float factor);
    bool ReadContent(KBuffer& buffer);

    KViewList* viewList;
    KCanvas* canvas;
    OList<JGroup> groups;
    JGroup* currentGroup;
    KWorldRect extents;
    BYTE extentsValid;
    KImage image;
};
