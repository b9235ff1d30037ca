#include "platform/zrui/zrui.h"

#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include "platform/zrio/aci_palette.h"
#include "platform/zrui/search_paths.h"

namespace ZrUI {

namespace {

struct LibraryState {
    int languageId = 0;
    bool initialised = false;
    char registryRoot[MAX_PATH] = "";
    char appName[64] = "";
    char appDataPath[MAX_PATH] = "";
};

LibraryState g_state;

const char kLibraryKey[] = "ZrUI";

void CopyText(char* target, size_t size, const char* text)
{
    lstrcpynA(target, text ? text : "", (int)size);
}

const char* const kNamedColors[8] = {
    "Black", "Red", "Yellow", "Green", "Cyan", "Blue", "Magenta", "White",
};

}  // namespace

void InitLanguageResDLL(int languageId)
{
    g_state.languageId = languageId;
}

int GetLanguageId()
{
    return g_state.languageId;
}

bool initZrUI(const char* registryRoot, const char* appName, int reserved, int features)
{
    CopyText(g_state.registryRoot, sizeof(g_state.registryRoot), registryRoot);
    CopyText(g_state.appName, sizeof(g_state.appName), appName);
    g_state.initialised = true;
    HKEY key;
    if (OpenLibraryKey(&key, false)) {
        LoadSearchPaths(key);
        g_printPenSet.Load(key);
        RegCloseKey(key);
    }
    return true;
}

void releaseZrUI()
{
    g_cursor.Release();
    g_state.initialised = false;
    g_state.registryRoot[0] = '\0';
    g_state.appName[0] = '\0';
}

bool IsInitialised()
{
    return g_state.initialised;
}

bool OpenLibraryKey(HKEY* key, bool forWriting)
{
    if (!g_state.initialised || g_state.registryRoot[0] == '\0')
        return false;
    char path[MAX_PATH + sizeof(kLibraryKey)];
    snprintf(path, sizeof(path), "%s%s", g_state.registryRoot, kLibraryKey);
    LONG status = forWriting ? RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, REG_OPTION_NON_VOLATILE,
                                               KEY_READ | KEY_WRITE, NULL, key, NULL)
                             : RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key);
    return status == ERROR_SUCCESS;
}

COLORREF GetColorIndex(short index, char* name)
{
    if (name != NULL) {
        if (index >= 0 && index < 8)
            strcpy(name, kNamedColors[index]);
        else
            snprintf(name, 32, "Color %d", index);
    }
    return zrio::AciColor(index);
}

const char* getAppDataPath()
{
    if (g_state.appDataPath[0] == '\0' &&
        FAILED(SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, g_state.appDataPath))) {
        g_state.appDataPath[0] = '\0';
        return NULL;
    }
    return g_state.appDataPath;
}

void replaceFont(CDrawing*) {}

}  // namespace ZrUI
