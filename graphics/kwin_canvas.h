// KWinCanvas: a KCanvas drawn into a GDI memory device context with a
// compatible bitmap, which its owner copies to a window (BlitTo) or to a
// target device (Present).
//
// The bitmap only grows: a smaller SetSize keeps the larger bitmap, so a
// window made smaller never reallocates. Pens and brushes are made anew
// only when their colour or width changes; those made during a pass are
// deleted by EndDraw.
#pragma once
#include "graphics/kcanvas.h"

class KWinCanvas : public KCanvas
{
public:
    KWinCanvas();
    ~KWinCanvas() override;

    bool CreateSurface() override;
    void SetROP(int mode) override;
    void SetPenColor(COLORREF colour) override;
    void SetBrushColor(COLORREF colour) override;
    void SetBkColor(COLORREF colour) override;
    void SetPenWidth(int penWidth) override;
    void Clear(COLORREF colour) override;
    void Present() override;
    int BeginDraw(COLORREF background, bool clear) override;
    int EndDraw() override;
    bool SetSize(int newWidth, int newHeight) override;
    void DrawLine(const KType::RPoint2D& p1, const KType::RPoint2D& p2) override;
    void DrawLine(POINT p1, POINT p2) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    void FillRect(COLORREF colour, const RECT& rect) override;
    void DrawPointMark(const KType::RPoint2D& point, int halfSize) override;
    void SetPixel(float wx, float wy, COLORREF colour) override;
    void MoveTo(const KType::RPoint2D& point) override;
    void MoveTo(POINT point) override;
    void LineTo(const KType::RPoint2D& point) override;
    void LineTo(POINT point) override;
    void DrawPoly(const KType::RPoint2D* points, uint32_t count, bool closed,
                  bool filled) override;
    void DrawPoly(const KPointBuffer& points, bool closed, bool filled) override;
    void DrawPolyPolygon(KPolylineList& polylines, uint32_t totalPoints) override;
    bool DrawImage(const KType::RPoint2D& origin, int imageWidth, int imageHeight,
                   const void* pixels, const BITMAPINFO* header, bool frame, int frameOffset,
                   COLORREF frameColour, bool fastStretch) override;
    void FillRectShaded(COLORREF fill, const KWorldRect& rect, int shadowWidth,
                        COLORREF edgeColour) override;
    void DrawRect(const KWorldRect& rect, COLORREF colour, bool filled) override;
    void DrawRubberBand(POINT p1, POINT p2) override;

    // Copies width x height pixels of the surface to dc at (left, top);
    // a null dc does nothing.
    void BlitTo(HDC dc);

    // The device Present copies to (null: the screen is the reference for
    // compatible bitmaps). Not owned.
    void SetTargetDC(HDC dc) { m_targetDC = dc; }
    HDC GetMemDC() const { return m_memDC; }
    int GetAllocWidth() const { return m_allocWidth; }
    int GetAllocHeight() const { return m_allocHeight; }
    // True when the surface was made anew and not yet copied out.
    bool IsDirty() const { return m_dirty != 0; }
    COLORREF GetPenColor() const { return m_pen.lopnColor; }
    int GetPenWidth() const { return m_pen.lopnWidth.x; }
    COLORREF GetBrushColor() const { return m_brush.lbColor; }

private:
    bool EnsureSurface();
    bool EnsureMemDC();
    // A bitmap compatible with the target (or the screen) selected into
    // the memory device; the first replaced bitmap is kept for the end.
    bool SelectNewBitmap(int bitmapWidth, int bitmapHeight);
    void FreeSurface();
    void SelectNewPen();
    void SelectNewBrush();
    void FillSolid(const RECT& rect, COLORREF colour);
    void FillWholeSurface(COLORREF colour);
    void DrawImageFrame(const RECT& rect, int offset, COLORREF colour);

    LOGPEN m_pen;
    LOGBRUSH m_brush;
    COLORREF m_bkColour;
    int m_status;
    HDC m_targetDC;
    HDC m_memDC;
    HBITMAP m_bitmap;
    HGDIOBJ m_oldBitmap;
    int m_allocWidth;
    int m_allocHeight;
    HGDIOBJ m_oldPen;
    HGDIOBJ m_oldBrush;
    BYTE m_dirty;
};
