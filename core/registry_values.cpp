#include "core/registry_values.h"

#include "core/registry_root.h"

namespace {

CString ProductKeyName(const char* subkey)
{
    return CString(HARBECK_REGISTRY_ROOT) + subkey;
}

template <class Flag>
bool ReadFlag(CRegKey& key, const char* name, Flag& flag)
{
    DWORD value = 0;
    if (key.QueryDWORDValue(name, value) != ERROR_SUCCESS)
        return false;
    flag = value != 0;
    return true;
}

}  // namespace

bool OpenProductKey(CRegKey& key, const char* subkey)
{
    return key.Open(HKEY_CURRENT_USER, ProductKeyName(subkey), KEY_READ | KEY_WRITE) == ERROR_SUCCESS;
}

bool CreateProductKey(CRegKey& key, const char* subkey)
{
    return key.Create(HKEY_CURRENT_USER, ProductKeyName(subkey)) == ERROR_SUCCESS;
}

bool ReadRegistryFlag(CRegKey& key, const char* name, BYTE& flag)
{
    return ReadFlag(key, name, flag);
}

bool ReadRegistryFlag(CRegKey& key, const char* name, WORD& flag)
{
    return ReadFlag(key, name, flag);
}

bool ReadRegistryString(CRegKey& key, const char* name, DWORD bufferSize, CString& text)
{
    if (bufferSize < 1)
        return false;
    CString value;
    DWORD count = bufferSize;
    LONG status = key.QueryValue(value.GetBuffer((int)bufferSize), name, &count);
    value.ReleaseBuffer();
    if (status != ERROR_SUCCESS)
        return false;
    text = value;
    return true;
}

void WriteRegistryFlag(CRegKey& key, const char* name, bool flag)
{
    key.SetDWORDValue(name, flag ? 1 : 0);
}
