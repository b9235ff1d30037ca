#include "platform/classlib/ole_data_source.h"

#include <shlobj.h>
#include <string.h>

#include "platform/classlib/com_unknown.h"

// The IDataObject of the source. It lives as long as its last reference:
// a drop target may keep one after the drag; it then answers nothing once
// the source has ended.
class COleDataSource::CDataObjectImpl : public CComUnknown<IDataObject> {
public:
    explicit CDataObjectImpl(COleDataSource* owner) : CComUnknown(IID_IDataObject), m_owner(owner) {}
    void Orphan() { m_owner = nullptr; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        HRESULT found = QueryGetData(format);
        if (found != S_OK)
            return found;
        HGLOBAL source = m_owner->FindBlock(format->cfFormat);
        HGLOBAL copy = (HGLOBAL)::OleDuplicateData(source, format->cfFormat, 0);
        if (!copy)
            return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        if (!m_owner || !format)
            return DV_E_FORMATETC;
        if (!(format->tymed & TYMED_HGLOBAL))
            return DV_E_TYMED;
        if (format->dwAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        return m_owner->FindBlock(format->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override
    {
        *formats = nullptr;
        if (direction != DATADIR_GET || !m_owner)
            return E_NOTIMPL;
        std::vector<FORMATETC> offered;
        for (const Entry& entry : m_owner->m_entries)
            offered.push_back({entry.format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        return ::SHCreateStdEnumFmtEtc((UINT)offered.size(), offered.data(), formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    COleDataSource* m_owner;
};

// The drag's source side: the drag ends with the left button's release,
// Escape cancels it, the system's cursors show the effect.
class COleDataSource::CDropSourceImpl : public CComUnknown<IDropSource> {
public:
    CDropSourceImpl() : CComUnknown(IID_IDropSource) {}
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override
    {
        if (escapePressed)
            return DRAGDROP_S_CANCEL;
        if (!(keyState & (MK_LBUTTON | MK_RBUTTON)))
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

COleDataSource::COleDataSource()
    : m_dataObject(new CDataObjectImpl(this)), m_dropSource(new CDropSourceImpl)
{
}

COleDataSource::~COleDataSource()
{
    m_dataObject->Orphan();
    m_dataObject->Release();
    m_dropSource->Release();
    for (const Entry& entry : m_entries)
        ::GlobalFree(entry.block);
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL block)
{
    for (Entry& entry : m_entries) {
        if (entry.format == format) {
            ::GlobalFree(entry.block);
            entry.block = block;
            return;
        }
    }
    m_entries.push_back({format, block});
}

HGLOBAL COleDataSource::FindBlock(CLIPFORMAT format) const
{
    for (const Entry& entry : m_entries) {
        if (entry.format == format)
            return entry.block;
    }
    return nullptr;
}

DWORD COleDataSource::DoDragDrop(DWORD allowedEffects)
{
    DWORD effect = DROPEFFECT_NONE;
    if (::DoDragDrop(m_dataObject, m_dropSource, allowedEffects, &effect) != DRAGDROP_S_DROP)
        return DROPEFFECT_NONE;
    return effect;
}

IDataObject* COleDataSource::GetInterface()
{
    return m_dataObject;
}
