// The module handles the class library reads: the instance of the program
// and the module its resources (strings, dialogs, menus) come from. The
// application object sets them at start-up; until then both are the
// program's own module.
#pragma once
#include <windows.h>

HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE hInstance);
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);
