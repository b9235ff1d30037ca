// Where a print lands on the printer's page: the scale that fits a window
// onto the printable area or follows the user's millimetres per unit, the
// offsets that place it, and the raster export's picture size.
#pragma once
#include <windows.h>

namespace ZrUI {

// A printer's page for the chosen paper, upright, in printer pixels.
struct PrinterPage {
    int dotsPerInch;
    int printableWidth;
    int printableHeight;
    int paperWidth;
    int paperHeight;
};

// The page of a printer device or information context; false when the
// context tells no usable page.
bool ReadPrinterPage(HDC printer, PrinterPage* page);

struct PrintScale {
    bool fit;            // fill the printable area
    double millimetres;  // else: this many millimetres on paper ...
    double units;        // ... for this many drawing units
};

struct PrintPlacement {
    double scale;  // printer pixels per drawing unit
    int xOffset;
    int yOffset;
    int pageWidth;  // the paper, turned as printed
    int pageHeight;
};

// Places a window of the given size (drawing units) on the page, turned a
// quarter when rotation is 1, centred on the printable area or at its
// top-left corner. False for a window without size or a scale that is not
// above zero or prints a picture too large for the printer.
bool PlacePrint(const PrinterPage& page, int rotation, const PrintScale& scale, bool centred,
                double windowWidth, double windowHeight, PrintPlacement* placement);

// The drawing units that one millimetre on paper holds at a scale.
double UnitsPerMillimetre(const PrinterPage& page, double scale);

}  // namespace ZrUI
