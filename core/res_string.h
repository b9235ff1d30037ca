// String-table texts of the program.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"

// The string-table entry id from the resource module; empty when missing.
CString LoadResString(UINT id);
