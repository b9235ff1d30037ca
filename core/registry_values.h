// The program's registry conventions over the class library's CRegKey:
// options are REG_DWORD values accepted only with that type, flags are
// written 0 or 1 and read as true when not 0, texts are REG_SZ read into
// fixed buffers. A value that is missing or of another type is "not read"
// and leaves the caller's default alone. Failures are never reported
// further.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/regkey.h"

// HKEY_CURRENT_USER\<root>\<subkey> opened, or created when missing, with
// read and write access; false when that fails.
bool OpenProductKey(CRegKey& key, const char* subkey);
bool CreateProductKey(CRegKey& key, const char* subkey);

bool ReadRegistryFlag(CRegKey& key, const char* name, BYTE& flag);
bool ReadRegistryFlag(CRegKey& key, const char* name, WORD& flag);
// A text value of at most bufferSize - 1 bytes; false (text untouched)
// when missing, not text or longer.
bool ReadRegistryString(CRegKey& key, const char* name, DWORD bufferSize, CString& text);

void WriteRegistryFlag(CRegKey& key, const char* name, bool flag);
