// The dialog library's entry points: its start and end, the colour-index
// palette, the user's folders, language texts, and the dialogs the views,
// the options sheet and the application show. The library's objects are in
// their own headers, included here: the cursor table g_cursor, the locale
// facts g_systemInfo, the print pen set g_printPenSet and the print record.
//
// The dialogs are modal, from the program's resources, and run on the UI
// thread; a dialog's owner is the given window, else the main window.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/zrui/cursor_table.h"
#include "platform/zrui/print_manager.h"
#include "platform/zrui/print_pen_set.h"
#include "platform/zrui/system_info.h"

class CDrawing;
class CWnd;

namespace ZrUI {

// Chooses the language of the library's texts (241 is simplified Chinese).
void InitLanguageResDLL(int languageId);

// Starts the library for the program whose settings live under
// HKEY_CURRENT_USER\<registryRoot>: reads its search paths (handed to the
// drawing library) and print pens from the key "ZrUI" there. Released by
// releaseZrUI.
bool initZrUI(const char* registryRoot, const char* appName, int reserved, int features);
void releaseZrUI();
bool IsInitialised();
int GetLanguageId();
// The library's own registry key, opened for reading or created for
// writing; false before initZrUI or when the registry refuses.
bool OpenLibraryKey(HKEY* key, bool forWriting);

// The RGB colour of a CAD colour index (0 to 255; others are black). With a
// buffer of at least 32 bytes it also writes the colour's name.
COLORREF GetColorIndex(short index, char* name);

// The per-user application-data folder, or null when the system has none.
const char* getAppDataPath();

// The text for the key in the language chosen by InitLanguageResDLL; the
// fallback when the library has no such text; null when it has none and
// the fallback is null. The text stays valid for the run.
const char* languageText(const char* key, const char* fallback);

// Font substitution for a drawing that was opened or saved. The drawing
// library draws every text style in its one stand-in face, so there is
// nothing to substitute.
void replaceFont(CDrawing* drawing);

// The colour chooser over the 256 colour indexes, starting at `index`;
// returns the chosen index, or `index` when the user cancelled.
short SelectColor(short index);

// The layer manager: the drawing's layers with on/off, frozen and colour;
// OK writes the changes into the drawing. 1 when a layer changed, else 0.
int showLayerManager(CDrawing* drawing);
// The view point of the drawing by two angles (from the X axis in the XY
// plane, and from the XY plane). 1 when OK set a new view direction.
int showSetViewportDialog(CDrawing* drawing);
// Point style (the drawing's point display mode, 0-4 plus 32 for a circle
// and 64 for a square) and size (above 0 in drawing units, below 0 in
// percent of the view's height, 0 for 5 percent); 1 on OK with both set.
int showSetPointDialog(int& mode, double& size);
// An angle in degrees; 1 on OK with the angle set.
int showSetRotateViewDialog(double& angle);

// The open dialog: arguments as the class library's file dialog takes them
// (filter "description|pattern|...||"); 1 on OK with the chosen path.
int showDwgOpenDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                      const char* filter, CWnd* parent, CString& path);

// Called by the save dialog whenever the user chooses another filter: the
// context given to the dialog, the new 1-based filter index, and the name
// typed in the dialog (MAX_PATH bytes), which the callback may rewrite; the
// dialog then shows the rewritten name. The result has no meaning.
typedef int (*DwgSaveFilterCallback)(void* context, int filterIndex, char* name);

// The save dialog: the file dialog's arguments, then the callback's context
// and the callback (may be null), the filter shown first; 1 on OK with the
// chosen filter and path.
int showDwgSaveDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                      const char* filter, CWnd* parent, void* context, DwgSaveFilterCallback callback,
                      int initialFilterIndex, int& chosenFilterIndex, CString& path);

// The folders the user lists for the drawing library's search of external
// references, fonts and images (searched before the host CAD program's
// support folders): OK hands them to the drawing library and keeps them in
// the library's key. 1 on OK, else 0.
int showSearchManager(CWnd* parent);

}  // namespace ZrUI
