#include "browser/shell/shell_settings.h"

#include <string.h>

namespace {

// The flags SHGetSettings is asked for: every SSF_ bit but 0x4 and 0x10.
const DWORD kSettingsMask = 0xFFAB;
const DWORD kInitialFlags = 0x80;

typedef void(WINAPI* GetSettingsFunction)(SHELLFLAGSTATE* state, DWORD mask);

}  // namespace

CShellSettings::CShellSettings() : CShellSettings("shell32.dll")
{
}

CShellSettings::CShellSettings(LPCSTR libraryName)
    : m_flags(kInitialFlags), m_library(::LoadLibraryA(libraryName))
{
}

CShellSettings::~CShellSettings()
{
    if (m_library)
        ::FreeLibrary(m_library);
}

bool CShellSettings::Refresh()
{
    if (!m_library)
        return false;
    GetSettingsFunction getSettings =
        reinterpret_cast<GetSettingsFunction>(reinterpret_cast<void*>(::GetProcAddress(m_library, "SHGetSettings")));
    if (!getSettings)
        return true;
    SHELLFLAGSTATE state;
    memset(&state, 0, sizeof(state));
    getSettings(&state, kSettingsMask);
    memcpy(&m_flags, &state, sizeof(m_flags));
    return true;
}
