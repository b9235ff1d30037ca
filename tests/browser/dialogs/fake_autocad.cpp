#include "tests/browser/dialogs/fake_autocad.h"

namespace dialogtest {

namespace {

// {6D3E1B52-94C7-4A0E-9F21-5B7C0D8E4A13}
const CLSID kFakeClassId = {0x6d3e1b52, 0x94c7, 0x4a0e, {0x9f, 0x21, 0x5b, 0x7c, 0x0d, 0x8e, 0x4a, 0x13}};
const char kProgIdKey[] = "AutoCAD.Application";
const char kClassIdText[] = "{6D3E1B52-94C7-4A0E-9F21-5B7C0D8E4A13}";

enum MemberId { kActiveDocument = 1, kFullName, kName, kSendCommand };

BSTR ToBstr(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    BSTR wide = SysAllocStringLen(nullptr, (UINT)(length - 1));
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, length);
    return wide;
}

std::string FromWide(const WCHAR* text, int wideLength)
{
    int length = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string result((size_t)length, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wideLength, &result[0], length, nullptr, nullptr);
    return result;
}

}  // namespace

// The application object or its document, answering by member name.
class FakeAutoCAD::Member final : public IDispatch {
public:
    Member(FakeAutoCAD* owner, bool isDocument) : m_owner(owner), m_isDocument(isDocument), m_references(1) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return (ULONG)left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count != 1)
            return E_INVALIDARG;
        std::string name = FromWide(names[0], lstrlenW(names[0]));
        static const char* const kApplicationMembers[] = {"ActiveDocument"};
        static const char* const kDocumentMembers[] = {"FullName", "Name", "SendCommand"};
        if (!m_isDocument && lstrcmpiA(name.c_str(), kApplicationMembers[0]) == 0) {
            *ids = kActiveDocument;
            return S_OK;
        }
        for (int i = 0; m_isDocument && i < 3; ++i) {
            if (lstrcmpiA(name.c_str(), kDocumentMembers[i]) == 0) {
                *ids = kFullName + i;
                return S_OK;
            }
        }
        *ids = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override
    {
        if (id == kActiveDocument && (flags & DISPATCH_PROPERTYGET) && result != nullptr) {
            if (!m_owner->hasDocument)
                return Raise(exception);
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = new Member(m_owner, true);
            return S_OK;
        }
        if ((id == kFullName || id == kName) && (flags & DISPATCH_PROPERTYGET) && result != nullptr) {
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = ToBstr(id == kFullName ? m_owner->fullName : m_owner->name);
            return S_OK;
        }
        if (id == kSendCommand && (flags & DISPATCH_METHOD)) {
            if (parameters->cArgs != 1 || V_VT(&parameters->rgvarg[0]) != VT_BSTR)
                return DISP_E_BADPARAMCOUNT;
            if (m_owner->commands.size() >= m_owner->failFromCommand)
                return Raise(exception);
            m_owner->commands.push_back(
                FromWide(V_BSTR(&parameters->rgvarg[0]), (int)SysStringLen(V_BSTR(&parameters->rgvarg[0]))));
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    static HRESULT Raise(EXCEPINFO* exception)
    {
        if (exception != nullptr) {
            ZeroMemory(exception, sizeof(*exception));
            exception->scode = E_FAIL;
            exception->bstrDescription = SysAllocString(L"refused");
        }
        return DISP_E_EXCEPTION;
    }

    FakeAutoCAD* m_owner;
    bool m_isDocument;
    LONG m_references;
};

FakeAutoCAD::FakeAutoCAD() : m_application(nullptr), m_registration(0), m_progIdRegistered(false) {}

FakeAutoCAD::~FakeAutoCAD()
{
    if (m_registration != 0)
        RevokeActiveObject(m_registration, nullptr);
    if (m_application != nullptr)
        m_application->Release();
    if (m_progIdRegistered)
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgIdKey);
}

bool FakeAutoCAD::RegisterProgId()
{
    HKEY key = nullptr;
    std::string path = std::string(kProgIdKey) + "\\CLSID";
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    m_progIdRegistered = true;
    LONG written = RegSetValueExA(key, nullptr, 0, REG_SZ, (const BYTE*)kClassIdText, sizeof(kClassIdText));
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

bool FakeAutoCAD::Start()
{
    if (!RegisterProgId())
        return false;
    m_application = new Member(this, false);
    return SUCCEEDED(RegisterActiveObject(m_application, kFakeClassId, ACTIVEOBJECT_STRONG, &m_registration));
}

}  // namespace dialogtest
