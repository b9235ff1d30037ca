// AfxMessageBox: a message box owned by the main window with the
// application's name as its caption.
#pragma once
#include <windows.h>

// Returns the button pressed (IDOK...). Without an icon in type, OK and
// OK/Cancel boxes get the exclamation icon and Yes/No boxes the question.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
// The text of a string resource; 0 when the string is missing.
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = (UINT)-1);
