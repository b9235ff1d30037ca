// The check of a new file or folder name the user typed: one name inside
// the shown folder, never a path.
#pragma once
#include "platform/classlib/classlib.h"

// True when the name can stand for one file or folder of a folder; else
// false with the string id of the message that says why.
bool IsAcceptableFileName(LPCSTR name, UINT& messageId);
