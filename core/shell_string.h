// Shell texts (STRRET) as ANSI text.
#pragma once
#include <windows.h>
#include <shlobj.h>

// Turns strret into its own ANSI field (STRRET_CSTR), always terminated:
// a wide text is converted and its memory freed with the shell allocator;
// an offset text is copied from the item id list (at most MAX_PATH - 1
// bytes). False when the kind is unknown (the field then holds "").
bool StrRetToString(LPCITEMIDLIST item, STRRET& strret);

// Frees a wide text that strret still holds and clears it.
void StrRetFree(STRRET& strret);
