#include "platform/classlib/dataexchange.h"
#include <limits.h>
#include <stdlib.h>
#include "platform/classlib/msgbox.h"
#include "platform/classlib/wnd.h"

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    m_hWndLastControl = control;
    return control;
}

void CDataExchange::Fail()
{
    m_bFailed = TRUE;
    if (!m_bSaveAndValidate || !m_hWndLastControl)
        return;
    ::SetFocus(m_hWndLastControl);
    char className[16] = {};
    ::GetClassNameA(m_hWndLastControl, className, sizeof(className));
    if (lstrcmpiA(className, "Edit") == 0)
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

static bool Skip(CDataExchange* exchange, HWND control)
{
    return exchange->m_bFailed || !control;
}

void DDX_Text(CDataExchange* exchange, int id, CString& value)
{
    HWND control = exchange->PrepareCtrl(id);
    if (Skip(exchange, control))
        return;
    if (exchange->m_bSaveAndValidate)
        CWnd::FromHandle(control)->GetWindowText(value);
    else
        ::SetWindowTextA(control, value);
}

// Reads a whole number; false for empty text, other characters or overflow.
static bool ParseNumber(const char* text, bool isSigned, long long& number)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    if (!*text)
        return false;
    char* end = nullptr;
    number = strtoll(text, &end, 10);
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end)
        return false;
    if (isSigned)
        return number >= INT_MIN && number <= INT_MAX;
    return number >= 0 && number <= (long long)UINT_MAX;
}

static bool ExchangeNumber(CDataExchange* exchange, int id, bool isSigned, long long& number)
{
    HWND control = exchange->PrepareCtrl(id);
    if (Skip(exchange, control))
        return false;
    if (!exchange->m_bSaveAndValidate) {
        char text[32];
        wsprintfA(text, isSigned ? "%d" : "%u", isSigned ? (int)number : (UINT)number);
        ::SetWindowTextA(control, text);
        return false;
    }
    char text[64] = {};
    ::GetWindowTextA(control, text, sizeof(text));
    if (!ParseNumber(text, isSigned, number)) {
        AfxMessageBox(isSigned ? "请输入一个整数。" : "请输入一个正整数。", MB_OK | MB_ICONEXCLAMATION);
        exchange->Fail();
        return false;
    }
    return true;
}

void DDX_Text(CDataExchange* exchange, int id, int& value)
{
    long long number = value;
    if (ExchangeNumber(exchange, id, true, number))
        value = (int)number;
}

void DDX_Text(CDataExchange* exchange, int id, UINT& value)
{
    long long number = value;
    if (ExchangeNumber(exchange, id, false, number))
        value = (UINT)number;
}

void DDX_Check(CDataExchange* exchange, int id, int& value)
{
    HWND control = exchange->PrepareCtrl(id);
    if (Skip(exchange, control))
        return;
    if (exchange->m_bSaveAndValidate)
        value = (int)::SendMessageA(control, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(control, BM_SETCHECK, value, 0);
}

static bool IsRadioButton(HWND control)
{
    return (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

void DDX_Radio(CDataExchange* exchange, int id, int& value)
{
    HWND first = exchange->PrepareCtrl(id);
    if (Skip(exchange, first))
        return;
    if (exchange->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (HWND control = first; control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (control != first && (::GetWindowLongA(control, GWL_STYLE) & WS_GROUP))
            break;
        if (!IsRadioButton(control))
            continue;
        if (exchange->m_bSaveAndValidate) {
            if (::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND window = exchange->PrepareCtrl(id);
    if (window)
        control.SubclassWindow(window);
}

