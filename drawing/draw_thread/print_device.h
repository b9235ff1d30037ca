// CPrintDevice: the export device through which a drawing prints on a
// printer DC. The drawing calls its primitives in page coordinates (y
// upwards, 0 .. page width and height); each point is turned by the page
// rotation (quarter turns), moved by the offsets and the printer's y shift,
// and drawn with GDI in pens and brushes of the print pen set's colours and
// widths, in colour, grey or black. Images come as blocks of pixels with
// their opacity and go down on the paper where the vectors around them do.
#pragma once
#include <windows.h>

#include "drawing/draw_thread/paper_pixels.h"
#include "platform/zrio/zrio.h"

class CPrintDevice : public CDwgExport {
public:
    // colourMode: 1 grey, 2 black, anything else colour; rotation 0 to 3.
    CPrintDevice(HDC dc, short colourMode, double xOffset, double yOffset, int rotation);
    // Gives back and deletes a pen and brush still selected.
    ~CPrintDevice() override;

    // The printer DC's mapping before the print routine changed it (as
    // SetMapMode, SetWindowExtEx and SetWindowOrgEx returned it), restored
    // around every raster; and the printer's physical y offset.
    void SetDeviceState(int mapMode, int extentX, int extentY, int originX, int originY, int yShift);

    bool BeginDraw(int left, int top, int flags, double pageWidth, double pageHeight) override;
    bool EndDraw() override;
    void SetClip(int count, const DwgExportPoint* points) override;
    void ResetClip() override;
    // A block of premultiplied 32-bit pixels whose lower left corner is at
    // page (x, y) and which covers width x height page units: laid on the
    // white paper, turned with the page, its clear pixels leaving the page as
    // it was. False when nothing could be drawn.
    bool Raster(double x, double y, int width, int height, HBITMAP image) override;
    void Pixel(double x, double y, double z) override;
    void MoveTo(double x, double y, double z) override;
    void LineTo(double x, double y, double z) override;
    void Arc(double cx, double cy, double cz, double radius, double startAngle, double endAngle) override;
    void Polygon(int first, int last, const DwgExportPoint* points) override;
    void PolyPolygon(const DwgExportPoint* points, const int* counts, int polygonCount) override;
    void SetPenColor(COLORREF color, int penIndex) override;
    void SetPenWidth(double width) override;
    void DrawRaster(double x, double y, int imageWidth, int imageHeight, double scaleX, double scaleY,
                    HBITMAP image, int flags) override;

private:
    CPrintDevice(const CPrintDevice&) = delete;
    CPrintDevice& operator=(const CPrintDevice&) = delete;

    // The page point turned by the rotation and moved by the offsets, with
    // or without the y shift, in the DC's logical units.
    void MapPage(double x, double y, bool withShift, double* mappedX, double* mappedY) const;
    // The same truncated towards zero.
    POINT MapPoint(double x, double y, bool withShift) const;
    // Where a block of pixels at page (x, y), width x height page units,
    // lies on the device (in device pixels), and how its columns and rows
    // run there; false when it covers no pixel.
    bool PlaceOnDevice(double x, double y, int width, int height, CPixelTurn* turn, RECT* place) const;
    void SelectNewPen();
    void SelectNewBrush();
    void RestorePen();
    void RestoreBrush();

    double m_pageWidth;
    double m_pageHeight;
    double m_xOffset;
    double m_yOffset;
    int m_rotation;
    HDC m_dc;
    int m_savedDC;
    COLORREF m_colour;
    int m_penWidth;
    HPEN m_pen;
    HGDIOBJ m_previousPen;
    HBRUSH m_brush;
    HGDIOBJ m_previousBrush;
    int m_mapMode;
    SIZE m_windowExtent;
    POINT m_windowOrigin;
    int m_yShift;
};
