// The program's entry point and its one application object.
#include "app/quorvantix_app.h"

CQuorvantixApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    return AfxWinMain(instance, previous, commandLine, show);
}
