// A parent window for the controls under test: it records the
// notifications its children send (code, sender, and for an ended label
// edit the row, column and text), answers TCN_SELCHANGING as told, and
// hands the rest on so that notices reach the sending control's object.
#pragma once
#include "platform/classlib/classlib.h"

#include <string>
#include <vector>

namespace testwin {

struct Notice {
    UINT code;
    HWND from;
    UINT_PTR id;
    int row;
    int column;
    bool hasText;
    std::string text;
};

class CTestParent : public CWnd {
public:
    // A visible top-level window at the place, of the client size.
    BOOL Make(int x, int y, int width, int height);

    std::vector<Notice> m_notices;
    // The answer to TCN_SELCHANGING (non-zero refuses the change).
    LRESULT m_selChangingAnswer = 0;

    size_t Count(UINT code) const;
    const Notice* Last(UINT code) const;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

// Sends what a click of the left button at the client point makes.
void Click(HWND window, int x, int y);
// Types the (single-byte) text into the window as WM_CHAR messages.
void Type(HWND window, const char* text);
// Delivers a key as the program's message loop would: offered to the
// windows' PreTranslateMessage first, then translated and dispatched.
void PressKey(HWND window, UINT key, bool alt = false);

}  // namespace testwin
