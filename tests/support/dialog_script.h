// Answers the modal dialogs and message boxes that the code under test shows
// on this thread, from inside their own modal loops: a thread timer looks
// for the next step's dialog (a visible, enabled dialog window of the thread
// with the step's caption, or any) and runs the step's action on it.
// An action that posts its click (Click) lets the dialog act after the
// action returned; one that sends it (Press) waits while the dialog acts,
// and a dialog opened meanwhile gets the following steps from inside its
// own loop. Either way, a dialog is never given a step while an action on
// it is still running. Of the scripts alive at once, the newest answers.
#pragma once
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace testwin {

class DialogScript {
public:
    typedef std::function<void(HWND dialog)> Action;

    DialogScript();
    // A script of the actions as steps for any dialog, started at once.
    explicit DialogScript(std::vector<Action> anyDialogSteps);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Adds a step; a null caption takes any dialog of the thread.
    DialogScript& Then(const char* caption, Action action);
    // The answer for every dialog that shows once the steps have run, once
    // for each dialog. Without it a dialog left after the last step is
    // cancelled when the patience runs out.
    DialogScript& ThenEach(Action action);
    // Starts looking for the dialogs; after `patienceMs` without a step
    // found, or with a dialog left after the last step, cancels every
    // dialog of the thread and gives up.
    DialogScript& Start(DWORD patienceMs = 10000);
    // Every step ran, and the script did not give up.
    bool Finished() const { return !m_gaveUp && m_next == m_steps.size(); }
    size_t StepsRun() const { return m_next; }

private:
    struct Step {
        std::string caption;
        bool anyCaption;
        Action action;
    };
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD);
    void Tick();
    // The first dialog of `dialogs` the step takes; null when none.
    HWND Match(const Step& step, const std::vector<HWND>& dialogs) const;
    void Run(const Action& action, HWND dialog);
    // Cancels the dialogs and fails the script.
    void GiveUp(const std::vector<HWND>& dialogs, const char* awaited);

    std::vector<Step> m_steps;
    Action m_each;
    std::set<HWND> m_answeredByEach;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
    DWORD m_patienceMs = 0;
    DWORD m_lastProgress = 0;
    bool m_gaveUp = false;
};

// Posts a click (BM_CLICK) to a dialog's button: the dialog acts on it once
// the calling action returned.
void Click(HWND dialog, int controlId);
// Sends the click: returns when the dialog has acted on it (a dialog that
// opens meanwhile is answered from inside its own loop).
void Press(HWND dialog, int controlId);
// Posts IDCANCEL to the dialog.
void Cancel(HWND dialog);
// A press and release of the left button in the middle of the control, as
// the mouse makes them, sent.
void ClickControl(HWND dialog, int controlId);
// Posts a left click (or a double click) at a point of a window's client area.
void ClickAt(HWND window, POINT point, bool doubleClick = false);

void SetText(HWND dialog, int controlId, const std::string& text);
std::string GetText(HWND dialog, int controlId);
std::string WindowText(HWND window);
// The text of a message box (its static text control).
std::string MessageBoxText(HWND box);

// Saves what the window shows on the screen as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& path);
// Saves the picture as a BMP file of that name in the folder the environment
// variable HARBECK_DIALOG_PICTURES names (a Win32 path), for looking at the
// dialogs; nothing when it is not set.
void SavePictureIfAsked(HWND window, const std::string& name);

}  // namespace testwin
