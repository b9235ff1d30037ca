// The program's entry point and its one application object.
#include "app/quorvantix_app.h"

#include "core/global_objects.h"

CQuorvantixApp theApp __attribute__((init_priority(kGlobalRankApplication)));

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    return AfxWinMain(instance, previous, commandLine, show);
}
