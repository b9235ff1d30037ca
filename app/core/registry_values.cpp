#include "app/core/registry_values.h"

#include <string.h>

#include "app/core/registry_root.h"

namespace {

CString ProductKeyName(const char* subkey)
{
    return CString(HARBECK_REGISTRY_ROOT) + subkey;
}

}  // namespace

HKEY OpenProductKey(const char* subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ProductKeyName(subkey), 0, KEY_READ | KEY_WRITE, &key) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CreateProductKey(const char* subkey)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ProductKeyName(subkey), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool ReadRegistryDword(HKEY key, const char* name, DWORD& value)
{
    DWORD type = 0;
    DWORD stored = 0;
    DWORD size = sizeof stored;
    if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)&stored, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof stored)
        return false;
    value = stored;
    return true;
}

namespace {

template <class Flag>
bool ReadFlag(HKEY key, const char* name, Flag& flag)
{
    DWORD value = 0;
    if (!ReadRegistryDword(key, name, value))
        return false;
    flag = value != 0;
    return true;
}

}  // namespace

bool ReadRegistryFlag(HKEY key, const char* name, BYTE& flag)
{
    return ReadFlag(key, name, flag);
}

bool ReadRegistryFlag(HKEY key, const char* name, WORD& flag)
{
    return ReadFlag(key, name, flag);
}

bool ReadRegistryString(HKEY key, const char* name, DWORD bufferSize, CString& text)
{
    if (bufferSize < 1)
        return false;
    DWORD type = 0;
    DWORD size = bufferSize - 1;
    CString value;
    char* buffer = value.GetBuffer((int)bufferSize);
    LONG status = RegQueryValueExA(key, name, nullptr, &type, (BYTE*)buffer, &size);
    if (status == ERROR_SUCCESS && size < bufferSize)
        buffer[size] = '\0';
    else
        buffer[0] = '\0';
    value.ReleaseBuffer();
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    text = value;
    return true;
}

void WriteRegistryDword(HKEY key, const char* name, DWORD value)
{
    RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
}

void WriteRegistryFlag(HKEY key, const char* name, bool flag)
{
    WriteRegistryDword(key, name, flag ? 1 : 0);
}

void WriteRegistryString(HKEY key, const char* name, const char* text)
{
    if (!text)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
}
