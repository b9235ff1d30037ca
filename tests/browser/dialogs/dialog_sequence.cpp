#include "tests/browser/dialogs/dialog_sequence.h"

#include <stdlib.h>

#include <string>

#include "tests/app/dialog_driver.h"

namespace dialogtest {

namespace {

DialogSequence* g_sequence = nullptr;

struct Search {
    const std::set<HWND>* answered;
    HWND found;
};

BOOL CALLBACK NewestDialog(HWND window, LPARAM parameter)
{
    Search* search = (Search*)parameter;
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window) &&
        search->answered->count(window) == 0)
        search->found = window;
    return search->found == nullptr;
}

}  // namespace

DialogSequence::DialogSequence(std::vector<Action> actions)
    : m_actions(std::move(actions)), m_next(0), m_timer(SetTimer(nullptr, 0, 40, Tick))
{
    g_sequence = this;
}

DialogSequence::~DialogSequence()
{
    KillTimer(nullptr, m_timer);
    g_sequence = nullptr;
}

HWND DialogSequence::FindNewDialog() const
{
    Search search = {&m_answered, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), NewestDialog, (LPARAM)&search);
    return search.found;
}

VOID CALLBACK DialogSequence::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    DialogSequence* sequence = g_sequence;
    if (sequence == nullptr || sequence->m_next >= sequence->m_actions.size())
        return;
    HWND dialog = sequence->FindNewDialog();
    if (dialog == nullptr)
        return;
    // A dialog that an action opens is answered from inside that action.
    sequence->m_answered.insert(dialog);
    Action action = sequence->m_actions[sequence->m_next++];
    action(dialog);
}

std::string MessageBoxText(HWND box)
{
    return apptest::ControlText(box, 0xFFFF);
}

void SavePictureIfAsked(HWND window, const std::string& name)
{
    const char* folder = getenv("HARBECK_DIALOG_PICTURES");
    if (folder != nullptr)
        apptest::SaveWindowPicture(window, std::string(folder) + "\\" + name);
}

}  // namespace dialogtest
