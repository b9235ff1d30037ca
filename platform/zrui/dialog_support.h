// What the library's dialogs share: message boxes with the library's
// texts and numbers in edit boxes.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"

class CWnd;

namespace ZrUI {

// A string of the library's resources.
CString LibraryText(UINT stringId);

// A warning box over the dialog, with its caption, showing a string of the
// library and optionally a detail after it.
void ShowDialogMessage(CWnd* dialog, UINT stringId, const char* detail = nullptr);

// The number in an edit box of the dialog; when there is none, false after
// telling the user so, with the focus on the box.
bool ReadEditNumber(CWnd* dialog, int editId, double* value);
void WriteEditNumber(CWnd* dialog, int editId, double value);

}  // namespace ZrUI
