// CComUnknown: the IUnknown half of a COM object the library implements
// itself. It starts with one reference, is deleted when the last goes, and
// answers IUnknown and the one interface it was made for.
#pragma once
#include <windows.h>
#include <ole2.h>

template <class Interface>
class CComUnknown : public Interface {
public:
    explicit CComUnknown(REFIID iid) : m_iid(iid) {}
    virtual ~CComUnknown() = default;
    CComUnknown(const CComUnknown&) = delete;
    CComUnknown& operator=(const CComUnknown&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, m_iid)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = ::InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return left;
    }

private:
    const IID m_iid;
    LONG m_references = 1;
};
