// Answers to the drawing password prompt, as steps of a dialog script: each
// notes the file name the prompt shows, then types a password into its edit
// and confirms it, or cancels the prompt.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/dialog_script.h"

namespace viewtest {

testwin::DialogScript::Action TypePassword(const std::string& password,
                                           std::vector<std::string>* shownFileNames);
testwin::DialogScript::Action CancelPassword(std::vector<std::string>* shownFileNames);

}  // namespace viewtest
