// CDC: a device context with the drawing calls; CPaintDC, CClientDC and
// CWindowDC: the device contexts of a window for the life of the object.
#pragma once
#include <windows.h>
#include "platform/classlib/cstring.h"
#include "platform/classlib/gdiobj.h"
#include "platform/classlib/geometry.h"

class CWnd;

class CDC {
public:
    CDC() = default;
    // Deletes an attached device context.
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;

    // The object owning the handle on this thread, else a temporary
    // wrapper deleted at idle time.
    static CDC* FromHandle(HDC dc);
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL DeleteDC();
    BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* initData)
    {
        return Attach(::CreateDCA(driver, device, output, initData));
    }
    // A memory device context like dc (like the screen when dc is null).
    BOOL CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr)); }

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int savedDC) { return ::RestoreDC(m_hDC, savedDC); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    // Selection: each returns the object that was selected before.
    CPen* SelectObject(CPen* pen) { return CPen::FromHandle((HPEN)Select(pen)); }
    CBrush* SelectObject(CBrush* brush) { return CBrush::FromHandle((HBRUSH)Select(brush)); }
    CFont* SelectObject(CFont* font) { return CFont::FromHandle((HFONT)Select(font)); }
    CBitmap* SelectObject(CBitmap* bitmap) { return CBitmap::FromHandle((HBITMAP)Select(bitmap)); }
    CGdiObject* SelectObject(CGdiObject* object) { return CGdiObject::FromHandle(Select(object)); }
    // A region is copied into the clipping region: returns its kind.
    int SelectObject(CRgn* region) { return (int)(INT_PTR)::SelectObject(m_hDC, region->m_hObject); }
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    CGdiObject* SelectStockObject(int index) { return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index))); }
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground)
    {
        return CPalette::FromHandle(::SelectPalette(m_hDC, (HPALETTE)palette->m_hObject, forceBackground));
    }
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }
    CPen* GetCurrentPen() const { return CPen::FromHandle((HPEN)::GetCurrentObject(m_hDC, OBJ_PEN)); }
    CBrush* GetCurrentBrush() const { return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
    CFont* GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }
    CBitmap* GetCurrentBitmap() const { return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP)); }

    // Colours and modes.
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    int SetPolyFillMode(int mode) { return ::SetPolyFillMode(m_hDC, mode); }

    // Coordinates.
    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    int GetMapMode() const { return ::GetMapMode(m_hDC); }
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint GetViewportOrg() const;
    CPoint GetWindowOrg() const;
    void LPtoDP(LPPOINT points, int count = 1) const { ::LPtoDP(m_hDC, points, count); }
    void LPtoDP(LPRECT rect) const { ::LPtoDP(m_hDC, (LPPOINT)rect, 2); }
    void DPtoLP(LPPOINT points, int count = 1) const { ::DPtoLP(m_hDC, points, count); }
    void DPtoLP(LPRECT rect) const { ::DPtoLP(m_hDC, (LPPOINT)rect, 2); }

    // Clipping.
    int IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
    int IntersectClipRect(LPCRECT rect) { return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom); }
    int ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
    int ExcludeClipRect(LPCRECT rect) { return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom); }
    // A null region removes the clipping.
    int SelectClipRgn(CRgn* region) { return ::SelectClipRgn(m_hDC, region ? (HRGN)region->m_hObject : nullptr); }
    int SelectClipRgn(CRgn* region, int mode)
    {
        return ::ExtSelectClipRgn(m_hDC, region ? (HRGN)region->m_hObject : nullptr, mode);
    }
    int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }

    // Lines and shapes.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
    BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
    BOOL Ellipse(LPCRECT rect) { return Ellipse(rect->left, rect->top, rect->right, rect->bottom); }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int width, int height)
    {
        return ::RoundRect(m_hDC, x1, y1, x2, y2, width, height);
    }
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL PolyPolygon(const POINT* points, const INT* counts, int polygonCount)
    {
        return ::PolyPolygon(m_hDC, points, counts, polygonCount);
    }
    BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
    BOOL PolyPolyline(const POINT* points, const DWORD* counts, int lineCount)
    {
        return ::PolyPolyline(m_hDC, points, counts, lineCount);
    }
    COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

    // Areas.
    void FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, (HBRUSH)brush->m_hObject); }
    void FrameRect(LPCRECT rect, CBrush* brush) { ::FrameRect(m_hDC, rect, (HBRUSH)brush->m_hObject); }
    void InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
    void DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    // Fills with the colour (the background colour is left as it was).
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A one-pixel frame: top and left in one colour, bottom and right in the other.
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);

    // Text.
    BOOL TextOut(int x, int y, LPCSTR text, int count) { return ::TextOutA(m_hDC, x, y, text, count); }
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, const INT* widths)
    {
        return ::ExtTextOutA(m_hDC, x, y, options, rect, text, count, widths);
    }
    int DrawText(LPCSTR text, int count, LPRECT rect, UINT format)
    {
        return ::DrawTextA(m_hDC, text, count, rect, format);
    }
    int DrawText(const CString& text, LPRECT rect, UINT format)
    {
        return DrawText(text, text.GetLength(), rect, format);
    }
    CSize GetTextExtent(LPCSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICA metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }

    // Copies between device contexts.
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sourceX, sourceY, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sourceX, sourceY,
                            sourceWidth, sourceHeight, rop);
    }
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }

    // Printing.
    int StartDoc(LPDOCINFOA info) { return ::StartDocA(m_hDC, info); }
    int StartPage() { return ::StartPage(m_hDC); }
    int EndPage() { return ::EndPage(m_hDC); }
    int EndDoc() { return ::EndDoc(m_hDC); }
    int AbortDoc() { return ::AbortDoc(m_hDC); }

private:
    HGDIOBJ Select(CGdiObject* object) { return ::SelectObject(m_hDC, object ? object->m_hObject : nullptr); }
};

// The device context of a WM_PAINT (BeginPaint to EndPaint).
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};

// The client area's device context (GetDC to ReleaseDC).
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* window);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// The whole window's device context (GetWindowDC to ReleaseDC).
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* window);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};
