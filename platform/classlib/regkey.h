// CRegKey: an owned registry key, closed on destruction or Close. Every
// operation returns the Win32 status (ERROR_SUCCESS, ...).
//
// Text reads leave the caller's buffer terminated whatever happens: a
// missing value, a value of another type than text and a text longer than
// the buffer all fail and leave the empty text.
#pragma once
#include <windows.h>

class CRegKey
{
public:
    CRegKey() : m_hKey(nullptr) {}
    explicit CRegKey(HKEY hKey) : m_hKey(hKey) {}
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    operator HKEY() const { return m_hKey; }

    // Opens (creating when missing) or opens a subkey of hKeyParent; the key
    // held before is closed once the new one is open.
    LONG Create(HKEY hKeyParent, LPCSTR lpszKeyName, LPSTR lpszClass = nullptr,
                DWORD dwOptions = REG_OPTION_NON_VOLATILE, REGSAM samDesired = KEY_READ | KEY_WRITE,
                LPSECURITY_ATTRIBUTES lpSecAttr = nullptr, LPDWORD lpdwDisposition = nullptr);
    LONG Open(HKEY hKeyParent, LPCSTR lpszKeyName, REGSAM samDesired = KEY_READ | KEY_WRITE);
    LONG Close();
    void Attach(HKEY hKey);
    HKEY Detach();

    // A text value into buffer, *pdwCount bytes at most (terminator
    // included); *pdwCount becomes the bytes read. A null buffer asks only
    // for the size. A value that is not text fails with ERROR_INVALID_DATA.
    LONG QueryValue(LPSTR szValue, LPCSTR lpszValueName, DWORD* pdwCount);
    // ERROR_INVALID_DATA when the stored type is not REG_DWORD; dwValue is
    // changed only on success.
    LONG QueryDWORDValue(LPCSTR pszValueName, DWORD& dwValue);
    // As QueryValue, counted in characters; ERROR_MORE_DATA sets *pnChars
    // to the size needed.
    LONG QueryStringValue(LPCSTR pszValueName, LPSTR pszValue, ULONG* pnChars);

    LONG SetDWORDValue(LPCSTR pszValueName, DWORD dwValue);
    // Writes the text with its terminator; ERROR_INVALID_DATA without
    // writing anything for a null text.
    LONG SetStringValue(LPCSTR pszValueName, LPCSTR pszValue, DWORD dwType = REG_SZ);

    LONG DeleteValue(LPCSTR lpszValue);
    // Deletes a subkey that has no subkeys of its own.
    LONG DeleteSubKey(LPCSTR lpszSubKey);
    // Deletes a subkey with everything under it.
    LONG RecurseDeleteKey(LPCSTR lpszKey);

    HKEY m_hKey;

private:
    LONG ReadText(LPCSTR name, LPSTR buffer, DWORD* pBytes);
};
