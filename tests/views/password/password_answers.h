// Answers the drawing password prompt as a user would: while it lives,
// every prompt that shows on this thread gets the next of the given texts
// typed into its edit and is confirmed, or is cancelled once the texts run
// out. The prompts seen are counted, with the file name each showed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace viewtest {

class PasswordAnswers {
public:
    explicit PasswordAnswers(std::vector<std::string> answers);
    ~PasswordAnswers();
    PasswordAnswers(const PasswordAnswers&) = delete;
    PasswordAnswers& operator=(const PasswordAnswers&) = delete;

    std::vector<std::string> shownFileNames;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Answer(HWND prompt);

    std::vector<std::string> m_answers;
    UINT_PTR m_timer;
};

}  // namespace viewtest
