#include "platform/classlib/gdiobj.h"
#include "platform/classlib/dc.h"
#include "platform/classlib/handlemap.h"
#include "platform/classlib/module_state.h"

namespace {
template <typename Kind>
using GdiTraits = MemberHandleTraits<HGDIOBJ, Kind, CGdiObject, &CGdiObject::m_hObject>;
// Owners of handles; the temporary wrappers are kept per kind.
using PermanentGdiMap = HandleMap<HGDIOBJ, CGdiObject, GdiTraits<CGdiObject>>;
template <typename Kind>
using TemporaryGdiMap = HandleMap<HGDIOBJ, Kind, GdiTraits<Kind>>;
}  // namespace

template <typename Kind>
Kind* AfxGdiFromHandle(HGDIOBJ object)
{
    if (!object)
        return nullptr;
    // An owner of another kind (a CGdiObject holding a pen) serves as the
    // kind asked for; the kinds add no data of their own.
    if (CGdiObject* owner = PermanentGdiMap::ForThread().LookupPermanent(object))
        return static_cast<Kind*>(owner);
    return TemporaryGdiMap<Kind>::ForThread().FromHandle(object);
}

template CGdiObject* AfxGdiFromHandle<CGdiObject>(HGDIOBJ);
template CPen* AfxGdiFromHandle<CPen>(HGDIOBJ);
template CBrush* AfxGdiFromHandle<CBrush>(HGDIOBJ);
template CFont* AfxGdiFromHandle<CFont>(HGDIOBJ);
template CBitmap* AfxGdiFromHandle<CBitmap>(HGDIOBJ);
template CPalette* AfxGdiFromHandle<CPalette>(HGDIOBJ);
template CRgn* AfxGdiFromHandle<CRgn>(HGDIOBJ);

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object)
{
    return AfxGdiFromHandle<CGdiObject>(object);
}

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    return PermanentGdiMap::ForThread().AttachOwner(m_hObject, object, this);
}

HGDIOBJ CGdiObject::Detach()
{
    return PermanentGdiMap::ForThread().DetachOwner(m_hObject, this);
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc)
{
    LOGFONTA logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = pointSize;
    lstrcpynA(logFont.lfFaceName, faceName ? faceName : "", LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* logFont, CDC* dc)
{
    HDC device = dc ? dc->m_hDC : ::GetDC(nullptr);
    LOGFONTA scaled = *logFont;
    // Tenths of a point to logical units of the device.
    POINT height = {0, ::MulDiv(::GetDeviceCaps(device, LOGPIXELSY), logFont->lfHeight, 720)};
    POINT origin = {0, 0};
    ::DPtoLP(device, &height, 1);
    ::DPtoLP(device, &origin, 1);
    scaled.lfHeight = -abs(height.y - origin.y);
    if (!dc)
        ::ReleaseDC(nullptr, device);
    return CreateFontIndirect(&scaled);
}

BOOL CBitmap::LoadBitmap(LPCSTR resourceName)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), resourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}
