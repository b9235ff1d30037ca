#include "graphics/os_version.h"

// Built with the other process-wide objects, before the application starts.
int g_OSVersionKind = GetOSVersionKind();

int OSVersionKindOf(DWORD platformId, DWORD major, DWORD minor)
{
    switch (platformId) {
    case VER_PLATFORM_WIN32s:
        return 1;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major >= 5)
            return 4;
        return (major == 4 && minor > 0) ? 4 : 3;
    case VER_PLATFORM_WIN32_NT:
        if (major == 4)
            return 2;
        if (major == 5)
            return minor == 0 ? 5 : 6;
        return 6;
    default:
        return 0;
    }
}

int GetOSVersionKind()
{
    OSVERSIONINFOA version;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ZeroMemory(&version, sizeof(version));
        version.dwOSVersionInfoSize = sizeof(version);  // 148 bytes
        if (GetVersionExA(&version))
            return OSVersionKindOf(version.dwPlatformId, version.dwMajorVersion,
                                   version.dwMinorVersion);
    }
    return 0;
}
