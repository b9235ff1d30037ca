#include "platform/classlib/ole_data_object.h"

namespace {

FORMATETC GlobalFormat(CLIPFORMAT format)
{
    FORMATETC formatEtc = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return formatEtc;
}

}  // namespace

void COleDataObject::Attach(IDataObject* dataObject, BOOL autoRelease)
{
    Release();
    m_dataObject = dataObject;
    m_autoRelease = autoRelease;
}

BOOL COleDataObject::AttachClipboard()
{
    IDataObject* clipboard = nullptr;
    if (FAILED(::OleGetClipboard(&clipboard)) || !clipboard)
        return FALSE;
    Attach(clipboard, TRUE);
    return TRUE;
}

void COleDataObject::Release()
{
    if (m_formats) {
        m_formats->Release();
        m_formats = nullptr;
    }
    if (m_dataObject && m_autoRelease)
        m_dataObject->Release();
    m_dataObject = nullptr;
    m_autoRelease = FALSE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format) const
{
    if (!m_dataObject)
        return FALSE;
    FORMATETC formatEtc = GlobalFormat(format);
    return m_dataObject->QueryGetData(&formatEtc) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format) const
{
    if (!m_dataObject)
        return nullptr;
    FORMATETC formatEtc = GlobalFormat(format);
    STGMEDIUM medium = {};
    if (FAILED(m_dataObject->GetData(&formatEtc, &medium)))
        return nullptr;
    HGLOBAL copy = nullptr;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        SIZE_T size = ::GlobalSize(medium.hGlobal);
        const void* source = ::GlobalLock(medium.hGlobal);
        copy = source ? ::GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
        void* target = copy ? ::GlobalLock(copy) : nullptr;
        if (target) {
            memcpy(target, source, size);
            ::GlobalUnlock(copy);
        } else if (copy) {
            ::GlobalFree(copy);
            copy = nullptr;
        }
        if (source)
            ::GlobalUnlock(medium.hGlobal);
    }
    ::ReleaseStgMedium(&medium);
    return copy;
}

void COleDataObject::BeginEnumFormats()
{
    if (m_formats) {
        m_formats->Release();
        m_formats = nullptr;
    }
    if (m_dataObject && FAILED(m_dataObject->EnumFormatEtc(DATADIR_GET, &m_formats)))
        m_formats = nullptr;
}

BOOL COleDataObject::GetNextFormat(FORMATETC* format)
{
    if (!m_formats)
        return FALSE;
    ULONG fetched = 0;
    if (m_formats->Next(1, format, &fetched) != S_OK || fetched != 1)
        return FALSE;
    if (format->ptd) {
        ::CoTaskMemFree(format->ptd);
        format->ptd = nullptr;
    }
    return TRUE;
}
