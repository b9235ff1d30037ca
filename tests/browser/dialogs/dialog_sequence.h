// Answers the modal dialogs and message boxes that code under test opens,
// one after another: each new visible dialog of this thread gets the next
// action (which reads it and presses a button). Actions may open further
// dialogs; those get the following actions from inside the nested loop.
#pragma once
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <windows.h>

namespace dialogtest {

class DialogSequence {
public:
    typedef std::function<void(HWND dialog)> Action;
    explicit DialogSequence(std::vector<Action> actions);
    ~DialogSequence();
    DialogSequence(const DialogSequence&) = delete;
    DialogSequence& operator=(const DialogSequence&) = delete;

    size_t ActionsRun() const { return m_next; }

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
    HWND FindNewDialog() const;

    std::vector<Action> m_actions;
    std::set<HWND> m_answered;
    size_t m_next;
    UINT_PTR m_timer;
};

// The text of a message box (its static text control).
std::string MessageBoxText(HWND box);

// Saves what the window shows as a BMP file of that name in the folder the
// environment variable HARBECK_DIALOG_PICTURES names (a Win32 path), for
// looking at the dialogs; nothing when it is not set.
void SavePictureIfAsked(HWND window, const std::string& name);

}  // namespace dialogtest
