// CWinApp's profile: values under HKEY_CURRENT_USER\Software\<registry
// key>\<profile name>\<section>.
#include "platform/classlib/winapp.h"
#include <stdlib.h>
#include <string>
#include "platform/classlib/module_state.h"

static std::string TrimBackslashes(LPCSTR text)
{
    std::string result = text ? text : "";
    while (!result.empty() && result.back() == '\\')
        result.pop_back();
    size_t start = result.find_first_not_of('\\');
    return start == std::string::npos ? std::string() : result.substr(start);
}

void CWinApp::SetRegistryKey(LPCSTR key)
{
    free((void*)m_pszRegistryKey);
    m_pszRegistryKey = strdup(key ? key : "");
    free((void*)m_pszProfileName);
    m_pszProfileName = strdup(m_pszAppName ? m_pszAppName : "");
}

void CWinApp::SetRegistryKey(UINT keyStringId)
{
    char key[256] = {};
    ::LoadStringA(AfxGetResourceHandle(), keyStringId, key, sizeof(key));
    SetRegistryKey(key);
}

// "Software\<key>\<profile>", empty when the profile is not in the registry.
static std::string ProfilePath(LPCSTR registryKey, LPCSTR profileName)
{
    if (!registryKey || !profileName)
        return std::string();
    std::string key = TrimBackslashes(registryKey);
    std::string profile = TrimBackslashes(profileName);
    if (key.empty() || profile.empty())
        return std::string();
    return "Software\\" + key + "\\" + profile;
}

static HKEY CreateKey(const std::string& path)
{
    HKEY key = nullptr;
    if (path.empty())
        return nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetAppRegistryKey()
{
    return CreateKey(ProfilePath(m_pszRegistryKey, m_pszProfileName));
}

HKEY CWinApp::GetSectionKey(LPCSTR section)
{
    std::string path = ProfilePath(m_pszRegistryKey, m_pszProfileName);
    if (path.empty() || !section)
        return nullptr;
    return CreateKey(path + "\\" + section);
}

// Opens a section for reading only; null when it is missing.
HKEY CWinApp::OpenSectionKey(LPCSTR section)
{
    std::string path = ProfilePath(m_pszRegistryKey, m_pszProfileName);
    if (path.empty() || !section)
        return nullptr;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, (path + "\\" + section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue)
{
    HKEY key = OpenSectionKey(section);
    if (!key)
        return (UINT)defaultValue;
    DWORD value = 0, type = 0, size = sizeof(value);
    LONG status = ::RegQueryValueExA(key, entry, nullptr, &type, (LPBYTE)&value, &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return (UINT)defaultValue;
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value)
{
    HKEY key = GetSectionKey(section);
    if (!key)
        return FALSE;
    DWORD data = (DWORD)value;
    LONG status = ::RegSetValueExA(key, entry, 0, REG_DWORD, (const BYTE*)&data, sizeof(data));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue)
{
    CString fallback(defaultValue ? defaultValue : "");
    HKEY key = OpenSectionKey(section);
    if (!key)
        return fallback;
    DWORD type = 0, size = 0;
    LONG status = ::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        ::RegCloseKey(key);
        return fallback;
    }
    CString value;
    // One more byte than stored, so that the text always ends.
    LPSTR buffer = value.GetBuffer((int)size + 1);
    DWORD read = size;
    status = ::RegQueryValueExA(key, entry, nullptr, &type, (LPBYTE)buffer, &read);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        value.ReleaseBuffer(0);
        return fallback;
    }
    buffer[read < size + 1 ? read : size] = '\0';
    value.ReleaseBuffer();
    return value;
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    if (!entry) {
        std::string path = ProfilePath(m_pszRegistryKey, m_pszProfileName);
        HKEY profile = path.empty() ? nullptr : CreateKey(path);
        if (!profile || !section)
            return FALSE;
        LONG status = ::RegDeleteTreeA(profile, section);
        ::RegCloseKey(profile);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    HKEY key = GetSectionKey(section);
    if (!key)
        return FALSE;
    LONG status;
    if (!value)
        status = ::RegDeleteValueA(key, entry);
    else
        status = ::RegSetValueExA(key, entry, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* byteCount)
{
    *data = nullptr;
    *byteCount = 0;
    HKEY key = OpenSectionKey(section);
    if (!key)
        return FALSE;
    DWORD type = 0, size = 0;
    LONG status = ::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS || type != REG_BINARY) {
        ::RegCloseKey(key);
        return FALSE;
    }
    LPBYTE bytes = new BYTE[size ? size : 1];
    DWORD read = size;
    status = ::RegQueryValueExA(key, entry, nullptr, &type, bytes, &read);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || read != size) {
        delete[] bytes;
        return FALSE;
    }
    *data = bytes;
    *byteCount = size;
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT byteCount)
{
    HKEY key = GetSectionKey(section);
    if (!key)
        return FALSE;
    LONG status = ::RegSetValueExA(key, entry, 0, REG_BINARY, data, byteCount);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}
