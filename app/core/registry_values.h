// The program's registry conventions over open keys: options are REG_DWORD
// values accepted only with that type, flags are written 0 or 1 and read as
// true when not 0, texts are REG_SZ read into fixed buffers and always
// terminated. A value that is missing or of another type is "not read" and
// leaves the caller's default alone. Failures are never reported further.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"

// HKEY_CURRENT_USER\<root>\<subkey> opened or created with read and write
// access; null when that fails. Close with RegCloseKey.
HKEY OpenProductKey(const char* subkey);
HKEY CreateProductKey(const char* subkey);

// A REG_DWORD value; false (value untouched) when missing or of another
// type.
bool ReadRegistryDword(HKEY key, const char* name, DWORD& value);
bool ReadRegistryFlag(HKEY key, const char* name, BYTE& flag);
bool ReadRegistryFlag(HKEY key, const char* name, WORD& flag);
// A REG_SZ or REG_EXPAND_SZ value of at most bufferSize - 1 bytes; false
// (text untouched) when missing, of another type or longer.
bool ReadRegistryString(HKEY key, const char* name, DWORD bufferSize, CString& text);

void WriteRegistryDword(HKEY key, const char* name, DWORD value);
void WriteRegistryFlag(HKEY key, const char* name, bool flag);
void WriteRegistryString(HKEY key, const char* name, const char* text);
