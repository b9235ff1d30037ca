// The dialog library's entry points: language resources, the library's
// registry identity, the colour-index palette and the user's folders.
#pragma once
#include <windows.h>

namespace ZrUI {

// Chooses the language of the library's texts (241 is simplified Chinese).
void InitLanguageResDLL(int languageId);

// Starts the library for the program whose settings live under
// HKEY_CURRENT_USER\<registryRoot>; released by releaseZrUI.
bool initZrUI(const char* registryRoot, const char* appName, int reserved, int features);
void releaseZrUI();
bool IsInitialised();
int GetLanguageId();

// The RGB colour of a CAD colour index (0 to 255; others are black). With a
// buffer of at least 32 bytes it also writes the colour's name.
COLORREF GetColorIndex(short index, char* name);

// The per-user application-data folder, or null when the system has none.
const char* getAppDataPath();

// The modal dialog that edits the drawing library's search folders (for
// external references, fonts and images), owned by the active window; page
// 0 is the only one. True when the user confirmed it.
bool showSearchManager(int page);

// The hand cursor shown over links; loaded by initZrUI, null before.
extern HCURSOR g_cursor;

}  // namespace ZrUI
