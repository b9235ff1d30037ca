// Acts on a modal dialog or message box from inside its own loop: a thread
// timer waits for the first visible dialog window of this thread to show,
// then runs the action on it once (the action reads its controls and
// presses a button to end it).
#pragma once
#include <functional>
#include <string>

#include <windows.h>

namespace apptest {

class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND dialog)> action);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool Acted() const { return m_acted; }

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);

    std::function<void(HWND)> m_action;
    UINT_PTR m_timer;
    bool m_acted;
};

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
// A click of the left button in the middle of the control, as the mouse makes it.
void ClickControl(HWND dialog, int id);
// Saves what the window shows on the screen as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& path);

}  // namespace apptest
