#include "platform/classlib/dc.h"
#include "platform/classlib/handlemap.h"
#include "platform/classlib/wnd.h"

using DeviceContextMap = HandleMap<HDC, CDC, MemberHandleTraits<HDC, CDC, CDC, &CDC::m_hDC>>;

CDC::~CDC()
{
    DeleteDC();
}

CDC* CDC::FromHandle(HDC dc)
{
    return DeviceContextMap::ForThread().FromHandle(dc);
}

BOOL CDC::Attach(HDC dc)
{
    return DeviceContextMap::ForThread().AttachOwner(m_hDC, dc, this);
}

HDC CDC::Detach()
{
    return DeviceContextMap::ForThread().DetachOwner(m_hDC, this);
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE previous = {};
    ::SetWindowExtEx(m_hDC, cx, cy, &previous);
    return CSize(previous.cx, previous.cy);
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE previous = {};
    ::SetViewportExtEx(m_hDC, cx, cy, &previous);
    return CSize(previous.cx, previous.cy);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT previous = {};
    ::SetWindowOrgEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT previous = {};
    ::SetViewportOrgEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT previous = {};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &previous);
    return CPoint(previous.x, previous.y);
}

CPoint CDC::GetViewportOrg() const
{
    POINT origin = {};
    ::GetViewportOrgEx(m_hDC, &origin);
    return CPoint(origin.x, origin.y);
}

CPoint CDC::GetWindowOrg() const
{
    POINT origin = {};
    ::GetWindowOrgEx(m_hDC, &origin);
    return CPoint(origin.x, origin.y);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT previous = {};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

CSize CDC::GetTextExtent(LPCSTR text, int count) const
{
    SIZE size = {};
    ::GetTextExtentPoint32A(m_hDC, text, count, &size);
    return CSize(size.cx, size.cy);
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* window) : m_hWnd(window ? window->m_hWnd : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    HDC dc = Detach();
    if (dc)
        ::ReleaseDC(m_hWnd, dc);
}

CWindowDC::CWindowDC(CWnd* window) : m_hWnd(window ? window->m_hWnd : nullptr)
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    HDC dc = Detach();
    if (dc)
        ::ReleaseDC(m_hWnd, dc);
}
