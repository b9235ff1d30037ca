#include "tests/views/password/password_answers.h"

#include "resources/views_ids.h"

namespace viewtest {

namespace {

PasswordAnswers* g_answers = NULL;

HWND FindPrompt()
{
    HWND window = NULL;
    while ((window = FindWindowExA(NULL, window, "#32770", NULL)) != NULL) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && GetDlgItem(window, IDC_PASSWORD_EDIT) != NULL &&
            IsWindowVisible(window))
            return window;
    }
    return NULL;
}

}  // namespace

PasswordAnswers::PasswordAnswers(std::vector<std::string> answers)
    : m_answers(answers),
      m_timer(SetTimer(NULL, 0, 30, &PasswordAnswers::Tick))
{
    g_answers = this;
}

PasswordAnswers::~PasswordAnswers()
{
    KillTimer(NULL, m_timer);
    g_answers = NULL;
}

void CALLBACK PasswordAnswers::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND prompt = FindPrompt();
    if (prompt != NULL && g_answers != NULL)
        g_answers->Answer(prompt);
}

void PasswordAnswers::Answer(HWND prompt)
{
    char fileName[MAX_PATH] = "";
    GetDlgItemTextA(prompt, IDC_PASSWORD_FILE, fileName, sizeof(fileName));
    shownFileNames.push_back(fileName);
    if (m_answers.empty()) {
        SendMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    HWND edit = GetDlgItem(prompt, IDC_PASSWORD_EDIT);
    for (char c : m_answers.front())
        SendMessageA(edit, WM_CHAR, (BYTE)c, 1);
    m_answers.erase(m_answers.begin());
    SendMessageA(prompt, WM_COMMAND, IDOK, 0);
}

}  // namespace viewtest
