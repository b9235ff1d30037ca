// KCanvas: the abstract drawing surface of the graphics kernel. It draws
// lines, polygons, rectangles, pixels and DIB images given in world
// coordinates through its current view (KViewPort), or in device pixels.
// KWinCanvas (graphics/kwin_canvas.h) draws into a GDI memory device.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "graphics/containers.h"
#include "graphics/ktype.h"
#include "graphics/kviewport.h"

typedef OBuffer<KType::RPoint2D> KPointBuffer;
typedef OList<KPointBuffer> KPolylineList;

// A colour with 50 added to each of its three bytes, each wrapping within
// 8 bits: the edge colour of frames and shadows.
COLORREF ShadowEdgeColour(COLORREF colour);

// Clips a device rectangle to a canvas of width x height. False when the
// rectangle lies wholly left of, above, right of or below the canvas;
// otherwise negative edges become 0 and edges past the canvas its size.
bool ClipDeviceRect(RECT& rect, int width, int height);

class KCanvas
{
public:
    KCanvas();
    KCanvas(const KCanvas&) = delete;
    KCanvas& operator=(const KCanvas&) = delete;

    // Makes the drawing surface anew at width x height.
    virtual bool CreateSurface() = 0;
    virtual ~KCanvas();
    // Mode 1: raster operation "not"; anything else: copy pen.
    virtual void SetROP(int mode) = 0;
    virtual void SetPenColor(COLORREF colour) = 0;
    virtual void SetBrushColor(COLORREF colour) = 0;
    virtual void SetBkColor(COLORREF colour) = 0;
    // 0 gives a one-pixel pen.
    virtual void SetPenWidth(int width) = 0;
    // Fills the whole surface with the colour.
    virtual void Clear(COLORREF colour) = 0;
    // Copies the surface to its target.
    virtual void Present() = 0;
    // Starts a drawing pass: 0 ready, 4 no current view, 1 no surface.
    virtual int BeginDraw(COLORREF background, bool clear) = 0;
    // Ends the pass and returns the status of BeginDraw.
    virtual int EndDraw() = 0;
    // Sets the drawing size; true when it grew in width or height.
    virtual bool SetSize(int newWidth, int newHeight) = 0;
    virtual void DrawLine(const KType::RPoint2D& p1, const KType::RPoint2D& p2) = 0;
    virtual void DrawLine(POINT p1, POINT p2) = 0;
    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
    // Sets the brush colour and fills a device rectangle with it.
    virtual void FillRect(COLORREF colour, const RECT& rect) = 0;
    // A blue square of the given half size (device pixels) around a point.
    virtual void DrawPointMark(const KType::RPoint2D& point, int halfSize) = 0;
    virtual void SetPixel(float wx, float wy, COLORREF colour) = 0;
    virtual void MoveTo(const KType::RPoint2D& point) = 0;
    virtual void MoveTo(POINT point) = 0;
    virtual void LineTo(const KType::RPoint2D& point) = 0;
    virtual void LineTo(POINT point) = 0;
    // Filled: a polygon; else a polyline, closed by repeating the first
    // point when closed is set.
    virtual void DrawPoly(const KType::RPoint2D* points, uint32_t count, bool closed,
                          bool filled) = 0;
    virtual void DrawPoly(const KPointBuffer& points, bool closed, bool filled) = 0;
    // Every buffer as one polygon of a single poly-polygon (alternate fill,
    // so holes come out).
    virtual void DrawPolyPolygon(KPolylineList& polylines, uint32_t totalPoints) = 0;
    // An image of imageWidth x imageHeight pixels whose lower-left corner
    // stands at origin (one world unit per pixel). pixels may be null (only
    // the frame is drawn). False when nothing of it lies on the canvas.
    virtual bool DrawImage(const KType::RPoint2D& origin, int imageWidth, int imageHeight,
                           const void* pixels, const BITMAPINFO* header, bool frame,
                           int frameOffset, COLORREF frameColour, bool fastStretch) = 0;
    // A filled world rectangle with a shadow of the given width to its
    // right and below.
    virtual void FillRectShaded(COLORREF fill, const KWorldRect& rect, int shadowWidth,
                                COLORREF edgeColour) = 0;
    virtual void DrawRect(const KWorldRect& rect, COLORREF colour, bool filled) = 0;
    // An inverted rectangle outline; drawing it twice removes it.
    virtual void DrawRubberBand(POINT p1, POINT p2) = 0;

    int32_t drawDone;          // 0 from BeginDraw until EndDraw
    bool noImageFrame;         // no frame around images drawn with pixels
    KViewPort* viewport;       // the current view, not owned
    int32_t left;              // where Present puts the surface
    int32_t top;
    int32_t width;             // the drawing size in pixels
    int32_t height;
    bool colourStretch;        // fast stretch keeps colours of 1-bit images

protected:
    // Converts world points through the view into the scratch array, with
    // the first point repeated at the end when closeAgain is set; null when
    // there is no view, no point or no memory.
    POINT* ToDevicePoints(const KType::RPoint2D* points, uint32_t count, bool closeAgain);
    // Appends converted points to the scratch array after `used` points;
    // false when there is no view or no memory.
    bool AppendDevicePoints(const KType::RPoint2D* points, uint32_t count, size_t used);
    POINT* ScratchPoints() { return m_points; }

private:
    // Grows the scratch array to hold count points (it never shrinks).
    bool ReservePoints(size_t count);

    POINT* m_points;
    size_t m_pointCapacity;
};
