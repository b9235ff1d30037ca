// CGdiObject and its kinds (CPen, CBrush, CFont, CBitmap, CPalette, CRgn):
// owners of GDI handles, deleted with the object unless detached.
#pragma once
#include <windows.h>

class CDC;

class CGdiObject {
public:
    CGdiObject() = default;
    // Deletes an attached object.
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    // The object owning the handle on this thread, else a temporary
    // wrapper deleted at idle time.
    static CGdiObject* FromHandle(HGDIOBJ object);
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }

    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, LPVOID buffer) const { return ::GetObjectA(m_hObject, size, buffer); }
    UINT GetObjectType() const { return ::GetObjectType(m_hObject); }
    BOOL CreateStockObject(int index) { return Attach(::GetStockObject(index)); }
    BOOL UnrealizeObject() { return ::UnrealizeObject(m_hObject); }
};

// The wrapper of a handle as the given kind (for FromHandle of each kind).
template <typename Kind>
Kind* AfxGdiFromHandle(HGDIOBJ object);

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    static CPen* FromHandle(HPEN pen) { return AfxGdiFromHandle<CPen>(pen); }
    operator HPEN() const { return (HPEN)m_hObject; }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    BOOL CreatePenIndirect(const LOGPEN* logPen) { return Attach(::CreatePenIndirect(logPen)); }
    int GetLogPen(LOGPEN* logPen) const { return GetObject(sizeof(LOGPEN), logPen); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    static CBrush* FromHandle(HBRUSH brush) { return AfxGdiFromHandle<CBrush>(brush); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateHatchBrush(int index, COLORREF color) { return Attach(::CreateHatchBrush(index, color)); }
    BOOL CreatePatternBrush(CGdiObject* bitmap) { return Attach(::CreatePatternBrush((HBITMAP)bitmap->m_hObject)); }
    BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
    BOOL CreateBrushIndirect(const LOGBRUSH* logBrush) { return Attach(::CreateBrushIndirect(logBrush)); }
    int GetLogBrush(LOGBRUSH* logBrush) const { return GetObject(sizeof(LOGBRUSH), logBrush); }
};

class CFont : public CGdiObject {
public:
    static CFont* FromHandle(HFONT font) { return AfxGdiFromHandle<CFont>(font); }
    operator HFONT() const { return (HFONT)m_hObject; }
    BOOL CreateFontIndirect(const LOGFONTA* logFont) { return Attach(::CreateFontIndirectA(logFont)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCSTR faceName)
    {
        return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                                    strikeOut, charSet, outPrecision, clipPrecision, quality,
                                    pitchAndFamily, faceName));
    }
    // A font of pointSize tenths of a point on the device (the screen
    // when dc is null).
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc = nullptr);
    // The same with the other fields of the LOGFONT; lfHeight holds tenths
    // of a point.
    BOOL CreatePointFontIndirect(const LOGFONTA* logFont, CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* logFont) const { return GetObject(sizeof(LOGFONTA), logFont); }
};

class CBitmap : public CGdiObject {
public:
    static CBitmap* FromHandle(HBITMAP bitmap) { return AfxGdiFromHandle<CBitmap>(bitmap); }
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    BOOL LoadBitmap(LPCSTR resourceName);
    BOOL LoadBitmap(UINT resourceId) { return LoadBitmap(MAKEINTRESOURCEA(resourceId)); }
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    BOOL CreateBitmapIndirect(const BITMAP* bitmap) { return Attach(::CreateBitmapIndirect(bitmap)); }
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }
    DWORD SetBitmapBits(DWORD count, const void* bits) { return ::SetBitmapBits((HBITMAP)m_hObject, count, bits); }
    DWORD GetBitmapBits(DWORD count, LPVOID bits) const { return ::GetBitmapBits((HBITMAP)m_hObject, count, bits); }
};

class CPalette : public CGdiObject {
public:
    static CPalette* FromHandle(HPALETTE palette) { return AfxGdiFromHandle<CPalette>(palette); }
    operator HPALETTE() const { return (HPALETTE)m_hObject; }
    BOOL CreatePalette(const LOGPALETTE* logPalette) { return Attach(::CreatePalette(logPalette)); }
    int GetEntryCount() const
    {
        WORD count = 0;
        GetObject(sizeof(count), &count);
        return count;
    }
    UINT GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const
    {
        return ::GetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
    }
    UINT SetPaletteEntries(UINT start, UINT count, const PALETTEENTRY* entries)
    {
        return ::SetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
    }
};

class CRgn : public CGdiObject {
public:
    static CRgn* FromHandle(HRGN region) { return AfxGdiFromHandle<CRgn>(region); }
    operator HRGN() const { return (HRGN)m_hObject; }
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateEllipticRgn(x1, y1, x2, y2)); }
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
    {
        return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
    }
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode)
    {
        return Attach(::CreatePolygonRgn(points, count, fillMode));
    }
    int CombineRgn(const CRgn* first, const CRgn* second, int mode)
    {
        return ::CombineRgn((HRGN)m_hObject, (HRGN)first->m_hObject,
                            second ? (HRGN)second->m_hObject : nullptr, mode);
    }
    int CopyRgn(const CRgn* source) { return CombineRgn(source, nullptr, RGN_COPY); }
    void SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2); }
    int OffsetRgn(int x, int y) { return ::OffsetRgn((HRGN)m_hObject, x, y); }
    int GetRgnBox(LPRECT rect) const { return ::GetRgnBox((HRGN)m_hObject, rect); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    BOOL RectInRegion(LPCRECT rect) const { return ::RectInRegion((HRGN)m_hObject, rect); }
};
