// AutoCAD's support-file search path (a list of folders separated by ";"),
// read from its registry profile for the drawing library.
#pragma once
#include "platform/classlib/cstring.h"

// HKEY_LOCAL_MACHINE "SoftWare\\Autodesk\\AutoCAD": the current release
// ("Curver"), its current product ("Curver"), its value "ACAD".
bool FindAcadSearchPathMachine(CString& path);
// HKEY_CURRENT_USER "SoftWare\\Autodesk\\AutoCAD": release, product, then
// "Profiles", the current profile (the default value of "Profiles"),
// "General" and its value "ACAD".
bool FindAcadSearchPathUser(CString& path);
// The machine's path, else the user's; false when AutoCAD is not there.
bool FindAcadSearchPath(CString& path);
