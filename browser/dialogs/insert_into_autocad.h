// Inserting the selected drawing files into the drawing a running AutoCAD
// is editing: each file becomes a block, inserted one or more times on a
// grid, by commands typed through AutoCAD's automation interface.
#pragma once
#include "platform/classlib/classlib.h"

// The paths in list order; files of kinds the program does not read are
// skipped. Every outcome ends with a message box.
void InsertIntoAutoCAD(const CStringList& paths);
