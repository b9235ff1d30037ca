// CShellSettings: the user's shell view settings (SHGetSettings), read
// from the shell library when it offers them.
#pragma once
#include <windows.h>
#include <shlobj.h>

class CShellSettings {
public:
    CShellSettings();
    // Reads the settings from the named library instead of "shell32.dll".
    explicit CShellSettings(LPCSTR libraryName);
    ~CShellSettings();
    CShellSettings(const CShellSettings&) = delete;
    CShellSettings& operator=(const CShellSettings&) = delete;

    // False when the shell library did not load; without SHGetSettings the
    // flags stay as they are.
    bool Refresh();
    // The flag word as SHGetSettings fills it.
    DWORD GetFlags() const { return m_flags; }

private:
    DWORD m_flags;
    HMODULE m_library;
};
