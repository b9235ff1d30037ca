#include "platform/classlib/ole_dispatch_driver.h"

#include <vector>

COleDispatchDriver::~COleDispatchDriver()
{
    ReleaseDispatch();
}

void COleDispatchDriver::AttachDispatch(IDispatch* dispatch)
{
    ReleaseDispatch();
    m_lpDispatch = dispatch;
}

void COleDispatchDriver::ReleaseDispatch()
{
    if (m_lpDispatch != nullptr)
        m_lpDispatch->Release();
    m_lpDispatch = nullptr;
}

HRESULT COleDispatchDriver::InvokeHelper(DISPID id, WORD flags, VARIANT* result, VARIANT* arguments,
                                         UINT argumentCount)
{
    if (m_lpDispatch == nullptr)
        return E_POINTER;
    std::vector<VARIANTARG> reversed(arguments, arguments + argumentCount);
    for (UINT i = 0; i < argumentCount; ++i)
        reversed[i] = arguments[argumentCount - 1 - i];
    DISPPARAMS parameters = {};
    parameters.rgvarg = argumentCount > 0 ? reversed.data() : nullptr;
    parameters.cArgs = argumentCount;
    DISPID named = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        parameters.rgdispidNamedArgs = &named;
        parameters.cNamedArgs = 1;
    }
    if (result != nullptr)
        VariantInit(result);
    EXCEPINFO exception = {};
    UINT argumentError = 0;
    HRESULT hr = m_lpDispatch->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, &parameters, result,
                                      &exception, &argumentError);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}
