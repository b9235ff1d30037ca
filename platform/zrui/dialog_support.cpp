#include "platform/zrui/dialog_support.h"

#include "platform/classlib/classlib.h"
#include "platform/zrui/decimal_text.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

CString LibraryText(UINT stringId)
{
    CString text;
    text.LoadString(stringId);
    return text;
}

void ShowDialogMessage(CWnd* dialog, UINT stringId, const char* detail)
{
    CString text = LibraryText(stringId);
    if (detail)
        text += detail;
    CString caption;
    dialog->GetWindowText(caption);
    ::MessageBoxA(dialog->m_hWnd, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

bool ReadEditNumber(CWnd* dialog, int editId, double* value)
{
    CString text;
    dialog->GetDlgItemText(editId, text);
    if (ParseDecimal(text, value))
        return true;
    ShowDialogMessage(dialog, IDS_ZRUI_BAD_NUMBER);
    ::SetFocus(::GetDlgItem(dialog->m_hWnd, editId));
    ::SendDlgItemMessageA(dialog->m_hWnd, editId, EM_SETSEL, 0, -1);
    return false;
}

void WriteEditNumber(CWnd* dialog, int editId, double value)
{
    dialog->SetDlgItemText(editId, DecimalText(value));
}

}  // namespace ZrUI
