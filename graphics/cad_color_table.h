// Display colours of the CAD colour indexes (0 to 255) under the colour,
// grey and black-and-white modes of the vector picture.
#pragma once
#include <windows.h>

class KCadColorTable {
public:
    enum Mode { ModeColour = 0, ModeGrey = 1, ModeBlackWhite = 2 };

    KCadColorTable();
    virtual ~KCadColorTable();

    // The colour (0x00BBGGRR) of a CAD colour index under the current mode,
    // inverted when it would vanish into the background. Indexes outside
    // 0..255 count as index 0 (black).
    COLORREF GetColor(int index) const;
    // The colour, each byte inverted when it equals the background.
    COLORREF AvoidBackground(COLORREF colour) const;

    // The grey level (0 to 255) of an index, (299 r + 587 g + 114 b) / 1000.
    static int GreyLevel(int index);

    // Written directly by the picture before it refreshes its colours.
    int mode;
    COLORREF background;
};

// The one colour table of the process.
extern KCadColorTable g_CadColorTable;
