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

HIMAGELIST MakeColorSwatches(int width, int height)
{
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24, 256, 0);
    if (!list)
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP picture = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    RECT inside = {1, 1, width - 1, height - 1};
    RECT whole = {0, 0, width, height};
    for (int index = 0; index < 256; ++index) {
        HGDIOBJ previous = ::SelectObject(memory, picture);
        ::FillRect(memory, &whole, (HBRUSH)::GetStockObject(GRAY_BRUSH));
        HBRUSH colour = ::CreateSolidBrush(GetColorIndex((short)index, nullptr));
        ::FillRect(memory, &inside, colour);
        ::DeleteObject(colour);
        ::SelectObject(memory, previous);
        ImageList_Add(list, picture, nullptr);
    }
    ::DeleteObject(picture);
    ::DeleteDC(memory);
    return list;
}

}  // namespace ZrUI
