#include "tests/views/password/password_answers.h"

#include "resources/views_ids.h"

namespace viewtest {

testwin::DialogScript::Action TypePassword(const std::string& password,
                                           std::vector<std::string>* shownFileNames)
{
    return [=](HWND prompt) {
        shownFileNames->push_back(testwin::GetText(prompt, IDC_PASSWORD_FILE));
        HWND edit = GetDlgItem(prompt, IDC_PASSWORD_EDIT);
        for (char c : password)
            SendMessageA(edit, WM_CHAR, (BYTE)c, 1);
        SendMessageA(prompt, WM_COMMAND, IDOK, 0);
    };
}

testwin::DialogScript::Action CancelPassword(std::vector<std::string>* shownFileNames)
{
    return [=](HWND prompt) {
        shownFileNames->push_back(testwin::GetText(prompt, IDC_PASSWORD_FILE));
        SendMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
    };
}

}  // namespace viewtest
