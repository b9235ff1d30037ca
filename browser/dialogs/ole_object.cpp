#include "browser/dialogs/ole_object.h"

namespace {

// The whole ANSI text as a BSTR (null when out of memory).
BSTR AnsiToBstr(const char* text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return SysAllocString(L"");
    BSTR wide = SysAllocStringLen(nullptr, (UINT)(length - 1));
    if (wide != nullptr)
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide, length);
    return wide;
}

CString BstrToAnsi(BSTR text)
{
    CString result;
    int wideLength = (int)SysStringLen(text);
    if (wideLength == 0)
        return result;
    int length = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return result;
    char* buffer = result.GetBuffer(length);
    WideCharToMultiByte(CP_ACP, 0, text, wideLength, buffer, length, nullptr, nullptr);
    result.ReleaseBuffer(length);
    return result;
}

}  // namespace

bool COleObject::GetActive(const char* progId)
{
    BSTR wideProgId = AnsiToBstr(progId);
    if (wideProgId == nullptr)
        return false;
    CLSID classId;
    HRESULT hr = CLSIDFromProgID(wideProgId, &classId);
    SysFreeString(wideProgId);
    if (FAILED(hr))
        return false;
    IUnknown* running = nullptr;
    if (FAILED(GetActiveObject(classId, nullptr, &running)) || running == nullptr)
        return false;
    IDispatch* dispatch = nullptr;
    hr = running->QueryInterface(IID_IDispatch, (void**)&dispatch);
    running->Release();
    if (FAILED(hr) || dispatch == nullptr)
        return false;
    m_driver.AttachDispatch(dispatch);
    return true;
}

bool COleObject::GetDispId(const char* name, DISPID& id)
{
    IDispatch* dispatch = m_driver.GetDispatch();
    if (dispatch == nullptr)
        return false;
    BSTR wideName = AnsiToBstr(name);
    if (wideName == nullptr)
        return false;
    LPOLESTR names[1] = {wideName};
    HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id);
    SysFreeString(wideName);
    return hr == S_OK;
}

bool COleObject::GetProperty(const char* name, VARIANT& value)
{
    DISPID id;
    if (!GetDispId(name, id))
        return false;
    return SUCCEEDED(m_driver.InvokeHelper(id, DISPATCH_PROPERTYGET, &value, nullptr, 0));
}

bool COleObject::GetStringProperty(const char* name, CString& text)
{
    VARIANT value;
    if (!GetProperty(name, value))
        return false;
    bool isText = V_VT(&value) == VT_BSTR;
    if (isText)
        text = BstrToAnsi(V_BSTR(&value));
    VariantClear(&value);
    return isText;
}

bool COleObject::GetObjectProperty(const char* name, COleObject& object)
{
    VARIANT value;
    if (!GetProperty(name, value))
        return false;
    bool isObject = V_VT(&value) == VT_DISPATCH && V_DISPATCH(&value) != nullptr;
    if (isObject) {
        // The held reference passes to the other object.
        object.m_driver.AttachDispatch(V_DISPATCH(&value));
        V_VT(&value) = VT_EMPTY;
    }
    VariantClear(&value);
    return isObject;
}

bool COleObject::CallMethod(const char* name, const char* text)
{
    DISPID id;
    if (!GetDispId(name, id))
        return false;
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = AnsiToBstr(text);
    if (V_BSTR(&argument) == nullptr)
        return false;
    HRESULT hr = m_driver.InvokeHelper(id, DISPATCH_METHOD, nullptr, &argument, 1);
    VariantClear(&argument);
    return SUCCEEDED(hr);
}
