// Drives the modal dialogs of the test's thread while their modal loops
// run: a thread timer looks for each step's dialog (a visible, enabled
// dialog window of the thread with the step's caption) and runs the step's
// action on it. Actions post their clicks, so that a dialog they open runs
// its own loop after the action returned and the next step finds it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace zruitest {

class DialogScript {
public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Adds a step; a null caption takes any dialog of the thread.
    DialogScript& Then(const char* caption, std::function<void(HWND)> action);
    // Starts looking for the steps' dialogs; after `patienceMs` without a
    // step found, or with a dialog left after the last step, cancels every
    // dialog of the thread and gives up.
    void Start(DWORD patienceMs = 10000);
    // Every step ran.
    bool Finished() const { return !m_gaveUp && m_next == m_steps.size(); }

private:
    struct Step {
        std::string caption;
        bool anyCaption;
        std::function<void(HWND)> action;
    };
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();
    // Cancels the dialogs and fails the script.
    void GiveUp(const std::vector<HWND>& dialogs, const char* awaited);

    std::vector<Step> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
    DWORD m_patienceMs = 0;
    DWORD m_lastProgress = 0;
    bool m_running = false;
    bool m_gaveUp = false;
};

// The dialog windows of this thread that are visible and enabled, topmost
// first.
std::vector<HWND> ActiveDialogs();
// Posts a click (BM_CLICK) to a dialog's control.
void Click(HWND dialog, int controlId);
void SetText(HWND dialog, int controlId, const char* text);
std::string GetText(HWND dialog, int controlId);
// Posts a left click at a point of a window's client area.
void ClickAt(HWND window, POINT point, bool doubleClick = false);
// Saves a picture of the window as <name>.bmp in the folder that
// HARBECK_ZRUI_SHOTS names (nothing when it is not set), for looking at the
// dialogs.
void SaveShot(HWND window, const char* name);

}  // namespace zruitest
