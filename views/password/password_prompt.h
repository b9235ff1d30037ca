// The next password to try for an encrypted drawing. Passwords typed during
// the run are kept (never saved) and tried first, in the order they were
// typed, before the user is asked again.
#pragma once
#include "platform/classlib/classlib.h"

// index: -1 when no kept password has been tried for this file yet; give
// back, for each new attempt on the same file, the index the previous call
// left. False when the user cancels the prompt (index unchanged).
bool QueryDrawingPassword(const char* fileName, CString& password, int& index);

// The passwords typed so far in this run.
const CStringArray& GetTypedPasswords();
