// Runs the options sheet with a script that acts on it once it is shown,
// and answers the message boxes it raises.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

namespace optiontest {

// The caption of the test application, and so of its message boxes.
extern const char kAppName[];

// Runs COption::ShowOptionSheet; the script gets the sheet's window. A
// sheet still open after a few seconds is cancelled.
bool RunOptionSheet(std::function<void(HWND sheet)> script);

// Makes the page current and returns its window.
HWND ShowPage(HWND sheet, int index);
void Click(HWND page, int id);
bool IsChecked(HWND page, int id);
void PressOk(HWND sheet);
void PressCancel(HWND sheet);

// The next message box of the test application is answered with the
// button; its text is kept.
void AnswerNextMessageBox(int button);
std::string LastMessageBoxText();

// A value of the program's key under HKEY_CURRENT_USER; -1 when missing.
long ReadProductDword(const char* key, const char* name);

}  // namespace optiontest
