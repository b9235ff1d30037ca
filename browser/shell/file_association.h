// The association of a file extension with a program under
// HKEY_CLASSES_ROOT: the extension's key names a ProgID, whose key holds the
// description, the icon and the open command.
//
// An extension given without its leading "." gets one (the caller's text
// changes). Registering over another program's association keeps that
// program's ProgID aside (HKEY_CURRENT_USER, the product's "FileTypes"
// key), and removing the association puts it back.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"

// Writes the extension's key, the ProgID's description, its "DefaultIcon"
// ("<command>,<index>", only for an index of 0 or more) and its open
// command (the command in double quotes followed by "%1" in double quotes,
// unless it already holds "%1"). True when every key was written; an empty
// extension is refused.
bool RegisterFileType(CString& extension, LPCSTR progId, LPCSTR description, LPCSTR contentType,
                      LPCSTR command, short iconIndex);

// The extension's open command, empty when it cannot be read; fills what
// it finds of the ProgID, the description and the content type (a missing
// key or value leaves the later ones untouched).
CString QueryFileType(CString& extension, CString& progId, CString& description, CString& contentType);

// True when the open command's program (the path right after its opening
// quote) is the program path, compared regardless of case.
bool CommandNamesProgram(const CString& command, LPCSTR programPath);

// Removes the association when its open command names the program (the
// path right after the command's opening quote): the extension goes back
// to the ProgID kept aside when there was one, else its key goes; then the
// ProgID's key goes. True only when both were removed. An extension of
// another program, or without a ProgID, is left untouched (false).
bool UnregisterFileType(CString& extension, LPCSTR programPath);
