// The construction order of the process-wide objects of every layer.
//
// They are built before the application object's InitInstance runs and
// destroyed after the program has ended, in the reverse order. Each
// definition carries its rank from this table:
//
//   CAppSW AppSW __attribute__((init_priority(kGlobalRankAppState)));
//
// GCC builds objects with a rank in rank order across translation units and
// libraries (and all of them before objects without one); the C runtime
// destroys them in the reverse order. Plain globals would be built in link
// order. The ranks are gapped so that a layer can add an object between two
// others.
//
// Under Wine the destructors run after the process has begun to end, from
// the C library's exit: a call that needs the Wine server (handles, files,
// the registry) may then end the process on the spot, before the remaining
// objects are destroyed. A destructor of these objects frees memory and GDI
// objects only.
#pragma once

// The application: product texts, application state, application object.
const int kGlobalRankProductInfo = 1010;
const int kGlobalRankAppState = 1020;
const int kGlobalRankApplication = 1030;
// The window toolkit: its texts, pointer array, object list and font names,
// then its GDI data, then the image menus' statics.
const int kGlobalRankToolkitTexts = 1110;
const int kGlobalRankToolkitGlobalData = 1120;
const int kGlobalRankToolkitMenuStatics = 1130;
// The settings.
const int kGlobalRankPreference = 1210;
// The folder browser: the shell's desktop folder and allocator, the context
// menu's statics, the static item id list and the clipboard formats; the
// drag-and-drop version byte; the file list's shared picture.
const int kGlobalRankBrowserShell = 1310;
const int kGlobalRankDragDropVersion = 1320;
const int kGlobalRankFileListPicture = 1330;
// The file-type table, the passwords typed in this run, the CAD colour
// table and the trim window. The Windows version kind, a plain number that
// takes no rank, follows with the globals built without one.
const int kGlobalRankFileTypes = 1410;
const int kGlobalRankDrawingPasswords = 1420;
const int kGlobalRankCadColorTable = 1430;
const int kGlobalRankTrimWindow = 1440;
