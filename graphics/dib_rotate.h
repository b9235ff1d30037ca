// Quarter turns of packed DIBs.
#pragma once
#include <windows.h>

// A new movable packed DIB of the picture turned 90 degrees counter-clockwise
// (the top-right pixel becomes the top-left one): same header and colour
// table with width and height exchanged. Pixels move at 1, 4, 8 and 24
// bits; other depths give zero pixels. Null when the block cannot be made
// or the picture is empty or stored top-down.
HGLOBAL RotateDib90(HGLOBAL source);
