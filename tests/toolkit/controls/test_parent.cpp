#include "tests/toolkit/controls/test_parent.h"

#include "tests/support/message_log.h"

namespace testwin {

BOOL CTestParent::Make(int x, int y, int width, int height)
{
    CRect frame(x, y, x + width, y + height);
    ::AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, 0);
    if (!CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, ::GetSysColorBrush(COLOR_BTNFACE)), "parent",
                  WS_POPUP | WS_BORDER | WS_VISIBLE | WS_CLIPCHILDREN, frame.left, frame.top, frame.Width(),
                  frame.Height(), nullptr, nullptr))
        return FALSE;
    SetForegroundWindow();
    return TRUE;
}

size_t CTestParent::Count(UINT code) const
{
    size_t count = 0;
    for (const Notice& notice : m_notices)
        count += notice.code == code ? 1 : 0;
    return count;
}

const Notice* CTestParent::Last(UINT code) const
{
    for (auto it = m_notices.rbegin(); it != m_notices.rend(); ++it) {
        if (it->code == code)
            return &*it;
    }
    return nullptr;
}

BOOL CTestParent::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = (NMHDR*)lParam;
    Notice notice = {header->code, header->hwndFrom, header->idFrom, -1, -1, false, std::string()};
    if (header->code == LVN_ENDLABELEDITA) {
        NMLVDISPINFOA* info = (NMLVDISPINFOA*)lParam;
        notice.row = info->item.iItem;
        notice.column = info->item.iSubItem;
        notice.hasText = info->item.pszText != nullptr;
        notice.text = info->item.pszText ? info->item.pszText : "";
    }
    m_notices.push_back(notice);
    if (header->code == TCN_SELCHANGING) {
        *result = m_selChangingAnswer;
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

void Click(HWND window, int x, int y)
{
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages(20);
}

void Type(HWND window, const char* text)
{
    for (const char* p = text; *p; ++p)
        ::SendMessageA(window, WM_CHAR, (BYTE)*p, 1);
}

void PressKey(HWND window, UINT key, bool alt)
{
    MSG msg = {};
    msg.hwnd = window;
    msg.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = alt ? (1 | (1 << 29)) : 1;
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    PumpMessages(20);
}

}  // namespace testwin
