#include "tests/app/app_test_support.h"

#include "core/appsw.h"
#include "core/registry_root.h"
#include "browser/frame/browse_frame.h"
#include "views/viewer/view_frame.h"

namespace apptest {

void ClearProductKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, HARBECK_REGISTRY_KEY);
}

void SetDword(const std::string& subkey, const char* name, DWORD value)
{
    std::string path = std::string(HARBECK_REGISTRY_ROOT) + subkey;
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_READ | KEY_WRITE, NULL, &key,
                        NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    RegCloseKey(key);
}

bool ValueExists(const std::string& subkey, const char* name)
{
    std::string path = std::string(HARBECK_REGISTRY_ROOT) + subkey;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool exists = RegQueryValueExA(key, name, NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

bool KeyExists(const std::string& subkey)
{
    std::string path = std::string(HARBECK_REGISTRY_ROOT) + subkey;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

int StopApplication(CQuorvantixApp& app)
{
    int result = app.ExitInstance();
    if (AppSW.browseFrame != NULL)
        AppSW.browseFrame->DestroyWindow();
    if (AppSW.viewFrame != NULL)
        AppSW.viewFrame->DestroyWindow();
    app.m_pMainWnd = NULL;
    AppSW = CAppSW();
    return result;
}

}  // namespace apptest
