#include "platform/zrui/zrui.h"

#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include "platform/zrio/aci_palette.h"

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

void CopyText(char* target, size_t size, const char* text)
{
    lstrcpynA(target, text ? text : "", (int)size);
}

const char* const kNamedColors[8] = {
    "ByBlock", "Red", "Yellow", "Green", "Cyan", "Blue", "Magenta", "White",
};

}  // namespace

HCURSOR g_cursor = NULL;

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
    g_cursor = LoadCursorA(NULL, (LPCSTR)IDC_HAND);
    g_state.initialised = true;
    return true;
}

void releaseZrUI()
{
    g_state.initialised = false;
    g_cursor = NULL;
    g_state.registryRoot[0] = '\0';
    g_state.appName[0] = '\0';
}

bool IsInitialised()
{
    return g_state.initialised;
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

}  // namespace ZrUI
