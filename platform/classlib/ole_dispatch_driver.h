// COleDispatchDriver: holds one late-bound automation interface (IDispatch)
// and calls its members by dispatch id. It releases the interface it holds
// when it ends or is given another.
#pragma once
#include <windows.h>
#include <ole2.h>

class COleDispatchDriver {
public:
    COleDispatchDriver() = default;
    ~COleDispatchDriver();
    COleDispatchDriver(const COleDispatchDriver&) = delete;
    COleDispatchDriver& operator=(const COleDispatchDriver&) = delete;

    // Takes over one reference of the interface (the held one is released).
    void AttachDispatch(IDispatch* dispatch);
    void ReleaseDispatch();
    IDispatch* GetDispatch() const { return m_lpDispatch; }

    // IDispatch::Invoke with the arguments in call order (they are passed in
    // the reverse order Invoke wants); result may be null. S_OK or the
    // failure; DISP_E_EXCEPTION when the member raised an automation error.
    HRESULT InvokeHelper(DISPID id, WORD flags, VARIANT* result, VARIANT* arguments, UINT argumentCount);

private:
    IDispatch* m_lpDispatch = nullptr;
};
