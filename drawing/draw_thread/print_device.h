// CPrintDevice: the export device through which a drawing prints on a
// printer DC. The drawing calls its primitives in page coordinates (y
// upwards, 0 .. page width and height); each point is turned by the page
// rotation (quarter turns), moved by the offsets and the printer's y shift,
// and drawn with GDI in pens and brushes of the print pen set's colours and
// widths, in colour, grey or black.
#pragma once
#include <windows.h>

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
    // or without the y shift; truncated towards zero.
    POINT MapPoint(double x, double y, bool withShift) const;
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
