// CPoint, CSize and CRect: the Win32 POINT, SIZE and RECT with arithmetic.
// They add no data, so a CRect* can be passed wherever a RECT* is wanted.
#pragma once
#include <windows.h>

class CSize;
class CRect;

class CPoint : public POINT
{
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int initX, int initY) { x = initX; y = initY; }
    CPoint(POINT point) { x = point.x; y = point.y; }
    CPoint(SIZE size) { x = size.cx; y = size.cy; }
    // From a message parameter: signed low and high words.
    explicit CPoint(DWORD dwPoint) { x = (short)LOWORD(dwPoint); y = (short)HIWORD(dwPoint); }

    void Offset(int dx, int dy) { x += dx; y += dy; }
    void Offset(POINT point) { Offset(point.x, point.y); }
    void Offset(SIZE size) { Offset(size.cx, size.cy); }
    void SetPoint(int newX, int newY) { x = newX; y = newY; }

    bool operator==(POINT point) const { return x == point.x && y == point.y; }
    bool operator!=(POINT point) const { return !(*this == point); }
    void operator+=(SIZE size) { Offset(size); }
    void operator-=(SIZE size) { Offset(-size.cx, -size.cy); }
    void operator+=(POINT point) { Offset(point); }
    void operator-=(POINT point) { Offset(-point.x, -point.y); }

    CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
    inline CSize operator-(POINT point) const;
    CPoint operator-() const { return CPoint(-x, -y); }
    inline CRect operator+(const RECT* rect) const;
    inline CRect operator-(const RECT* rect) const;
};

class CSize : public SIZE
{
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
    CSize(SIZE size) { cx = size.cx; cy = size.cy; }
    CSize(POINT point) { cx = point.x; cy = point.y; }

    void SetSize(int newCX, int newCY) { cx = newCX; cy = newCY; }

    bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const { return !(*this == size); }
    void operator+=(SIZE size) { cx += size.cx; cy += size.cy; }
    void operator-=(SIZE size) { cx -= size.cx; cy -= size.cy; }

    CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
    CPoint operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
    CPoint operator-(POINT point) const { return CPoint(cx - point.x, cy - point.y); }
    inline CRect operator+(const RECT* rect) const;
    inline CRect operator-(const RECT* rect) const;
};

class CRect : public RECT
{
public:
    CRect() { SetRectEmpty(); }
    CRect(int l, int t, int r, int b) { SetRect(l, t, r, b); }
    CRect(const RECT& rect) { CopyRect(&rect); }
    CRect(const RECT* rect) { CopyRect(rect); }
    CRect(POINT point, SIZE size) { SetRect(point.x, point.y, point.x + size.cx, point.y + size.cy); }
    CRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator RECT*() { return this; }
    operator const RECT*() const { return this; }

    // Empty: no area (width or height not above zero). Null: all zero.
    BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    // The left and top edges are inside, the right and bottom edges are not.
    BOOL PtInRect(POINT point) const
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(const RECT* rect) { SetRect(rect->left, rect->top, rect->right, rect->bottom); }
    BOOL EqualRect(const RECT* rect) const
    {
        return left == rect->left && top == rect->top && right == rect->right && bottom == rect->bottom;
    }

    void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
    void InflateRect(int dx, int dy) { InflateRect(dx, dy, dx, dy); }
    void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
    void InflateRect(const RECT* rect) { InflateRect(rect->left, rect->top, rect->right, rect->bottom); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
    void DeflateRect(const RECT* rect) { DeflateRect(rect->left, rect->top, rect->right, rect->bottom); }

    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
    void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
    void MoveToX(int x) { right += x - left; left = x; }
    void MoveToY(int y) { bottom += y - top; top = y; }
    void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }
    void MoveToXY(POINT point) { MoveToXY(point.x, point.y); }

    // Swaps the edges so that left <= right and top <= bottom.
    void NormalizeRect()
    {
        if (left > right) { LONG t = left; left = right; right = t; }
        if (top > bottom) { LONG t = top; top = bottom; bottom = t; }
    }

    // The overlap of a and b; empty (all zero) and FALSE when there is none.
    BOOL IntersectRect(const RECT* a, const RECT* b)
    {
        CRect result(a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
                     a->right < b->right ? a->right : b->right,
                     a->bottom < b->bottom ? a->bottom : b->bottom);
        if (CRect(a).IsRectEmpty() || CRect(b).IsRectEmpty() || result.IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        *this = result;
        return TRUE;
    }
    // The smallest rectangle holding both; an empty one is ignored.
    BOOL UnionRect(const RECT* a, const RECT* b)
    {
        CRect first(a), second(b);
        if (first.IsRectEmpty()) {
            *this = second.IsRectEmpty() ? CRect() : second;
        } else if (second.IsRectEmpty()) {
            *this = first;
        } else {
            SetRect(first.left < second.left ? first.left : second.left,
                    first.top < second.top ? first.top : second.top,
                    first.right > second.right ? first.right : second.right,
                    first.bottom > second.bottom ? first.bottom : second.bottom);
        }
        return !IsRectEmpty();
    }

    CRect& operator=(const RECT& rect) { CopyRect(&rect); return *this; }
    bool operator==(const RECT& rect) const { return EqualRect(&rect) != FALSE; }
    bool operator!=(const RECT& rect) const { return !(*this == rect); }
    void operator+=(POINT point) { OffsetRect(point); }
    void operator+=(SIZE size) { OffsetRect(size); }
    void operator+=(const RECT* rect) { InflateRect(rect); }
    void operator-=(POINT point) { OffsetRect(-point.x, -point.y); }
    void operator-=(SIZE size) { OffsetRect(-size.cx, -size.cy); }
    void operator-=(const RECT* rect) { DeflateRect(rect); }
    void operator&=(const RECT& rect) { CRect a(*this); IntersectRect(&a, &rect); }
    void operator|=(const RECT& rect) { CRect a(*this); UnionRect(&a, &rect); }

    CRect operator+(POINT point) const { CRect r(*this); r.OffsetRect(point); return r; }
    CRect operator-(POINT point) const { CRect r(*this); r.OffsetRect(-point.x, -point.y); return r; }
    CRect operator+(SIZE size) const { CRect r(*this); r.OffsetRect(size); return r; }
    CRect operator-(SIZE size) const { CRect r(*this); r.OffsetRect(-size.cx, -size.cy); return r; }
    CRect operator+(const RECT* rect) const { CRect r(*this); r.InflateRect(rect); return r; }
    CRect operator-(const RECT* rect) const { CRect r(*this); r.DeflateRect(rect); return r; }
    CRect operator&(const RECT& rect) const { CRect r; r.IntersectRect(this, &rect); return r; }
    CRect operator|(const RECT& rect) const { CRect r; r.UnionRect(this, &rect); return r; }
};

inline CSize CPoint::operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
inline CRect CPoint::operator+(const RECT* rect) const { CRect r(rect); r.OffsetRect(x, y); return r; }
inline CRect CPoint::operator-(const RECT* rect) const { CRect r(rect); r.OffsetRect(-x, -y); return r; }
inline CRect CSize::operator+(const RECT* rect) const { CRect r(rect); r.OffsetRect(cx, cy); return r; }
inline CRect CSize::operator-(const RECT* rect) const { CRect r(rect); r.OffsetRect(-cx, -cy); return r; }
