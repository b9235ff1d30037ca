#include "platform/classlib/regkey.h"

namespace {

bool IsTextType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

LONG CRegKey::Create(HKEY hKeyParent, LPCSTR lpszKeyName, LPSTR lpszClass, DWORD dwOptions,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecAttr, LPDWORD lpdwDisposition)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(hKeyParent, lpszKeyName, 0, lpszClass, dwOptions, samDesired,
                                  lpSecAttr, &key, lpdwDisposition);
    if (status == ERROR_SUCCESS)
        Attach(key);
    return status;
}

LONG CRegKey::Open(HKEY hKeyParent, LPCSTR lpszKeyName, REGSAM samDesired)
{
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(hKeyParent, lpszKeyName, 0, samDesired, &key);
    if (status == ERROR_SUCCESS)
        Attach(key);
    return status;
}

LONG CRegKey::Close()
{
    HKEY key = Detach();
    return key != nullptr ? RegCloseKey(key) : ERROR_SUCCESS;
}

void CRegKey::Attach(HKEY hKey)
{
    if (m_hKey != nullptr && m_hKey != hKey)
        RegCloseKey(m_hKey);
    m_hKey = hKey;
}

HKEY CRegKey::Detach()
{
    HKEY key = m_hKey;
    m_hKey = nullptr;
    return key;
}

LONG CRegKey::ReadText(LPCSTR name, LPSTR buffer, DWORD* pBytes)
{
    if (pBytes == nullptr)
        return ERROR_INVALID_PARAMETER;
    DWORD capacity = *pBytes;
    if (buffer != nullptr && capacity > 0)
        buffer[0] = 0;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG status = RegQueryValueExA(m_hKey, name, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS)
        return status;
    if (!IsTextType(type))
        return ERROR_INVALID_DATA;
    if (buffer == nullptr) {
        *pBytes = size;
        return ERROR_SUCCESS;
    }
    DWORD read = capacity;
    status = RegQueryValueExA(m_hKey, name, nullptr, &type, (BYTE*)buffer, &read);
    if (status == ERROR_SUCCESS && !IsTextType(type))
        status = ERROR_INVALID_DATA;
    // A text stored without its terminator needs one more byte.
    if (status == ERROR_SUCCESS && (read == 0 || buffer[read - 1] != 0)) {
        if (read < capacity)
            buffer[read++] = 0;
        else
            status = ERROR_MORE_DATA;
    }
    if (status != ERROR_SUCCESS) {
        if (capacity > 0)
            buffer[0] = 0;
        if (status == ERROR_MORE_DATA)
            *pBytes = read > size ? read + 1 : size + 1;
        return status;
    }
    *pBytes = read;
    return ERROR_SUCCESS;
}

LONG CRegKey::QueryValue(LPSTR szValue, LPCSTR lpszValueName, DWORD* pdwCount)
{
    return ReadText(lpszValueName, szValue, pdwCount);
}

LONG CRegKey::QueryStringValue(LPCSTR pszValueName, LPSTR pszValue, ULONG* pnChars)
{
    if (pnChars == nullptr)
        return ERROR_INVALID_PARAMETER;
    DWORD bytes = *pnChars;
    LONG status = ReadText(pszValueName, pszValue, &bytes);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)
        *pnChars = bytes;
    return status;
}

LONG CRegKey::QueryDWORDValue(LPCSTR pszValueName, DWORD& dwValue)
{
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG status = RegQueryValueExA(m_hKey, pszValueName, nullptr, &type, (BYTE*)&value, &size);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        if (type != REG_DWORD)
            return ERROR_INVALID_DATA;
    }
    if (status != ERROR_SUCCESS)
        return status;
    if (size != sizeof(value))
        return ERROR_INVALID_DATA;
    dwValue = value;
    return ERROR_SUCCESS;
}

LONG CRegKey::SetDWORDValue(LPCSTR pszValueName, DWORD dwValue)
{
    return RegSetValueExA(m_hKey, pszValueName, 0, REG_DWORD, (const BYTE*)&dwValue, sizeof(dwValue));
}

LONG CRegKey::SetStringValue(LPCSTR pszValueName, LPCSTR pszValue, DWORD dwType)
{
    if (pszValue == nullptr)
        return ERROR_INVALID_DATA;
    return RegSetValueExA(m_hKey, pszValueName, 0, dwType, (const BYTE*)pszValue,
                          (DWORD)lstrlenA(pszValue) + 1);
}

LONG CRegKey::DeleteValue(LPCSTR lpszValue)
{
    return RegDeleteValueA(m_hKey, lpszValue);
}

LONG CRegKey::DeleteSubKey(LPCSTR lpszSubKey)
{
    return RegDeleteKeyA(m_hKey, lpszSubKey);
}

LONG CRegKey::RecurseDeleteKey(LPCSTR lpszKey)
{
    CRegKey key;
    LONG status = key.Open(m_hKey, lpszKey, KEY_READ | KEY_WRITE);
    if (status != ERROR_SUCCESS)
        return status;
    // Always take the first subkey: each pass deletes it. Registry key
    // names are at most 255 characters.
    char name[256];
    for (;;) {
        DWORD length = sizeof(name);
        status = RegEnumKeyExA(key.m_hKey, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            return status;
        status = key.RecurseDeleteKey(name);
        if (status != ERROR_SUCCESS)
            return status;
    }
    key.Close();
    return DeleteSubKey(lpszKey);
}
