// The print manager: the dialog in which the user sets up a print of the
// open drawing (printer, paper, orientation, area, scale, colours and pen
// widths), and the record through which it works with its caller.
//
// The caller fills the first part of a PrintRecord, hands its address to
// initPrintManager and calls showPrintManager, then releasePrintManager
// after every show. The answer is kPrintManagerPrint (the record's second
// part is filled; the printer device context comes from
// g_printPenSet.getPrintSetDlg()), kPrintManagerClose (nothing in the
// record changed) or kPrintManagerPick (the user wants to pick the print
// window in the view; the caller shows the manager again afterwards, and it
// then prints that window).
#pragma once
#include <windows.h>

class CDrawing;
class CWnd;

// Sent by the print manager to the record's owner: wParam 1 turns the
// print-window pick on (the user asked to pick), 0 off (the manager shows).
#define WM_PRINT_PICK_MODE 0x80C3

namespace ZrUI {

enum PrintManagerAnswer { kPrintManagerPrint = 1, kPrintManagerClose = 2, kPrintManagerPick = 9 };

// The part of the drawing to print: two corners in drawing coordinates,
// and its width and height in drawing units.
struct PrintWindow {
    double corner1[3];
    double corner2[3];
    double width;
    double height;
};

struct PrintRecord {
    // Filled by the caller.
    CDrawing* drawing;
    BYTE noPickedWindow;      // 1: no window was picked (the window below is the view's)
    BYTE hasLayoutLimits;     // 1: the layout limits below are valid (a paper layout is shown)
    double windowCorner1[3];  // the picked window, drawing coordinates
    double windowCorner2[3];
    double windowWidth;  // its width and height in drawing units
    double windowHeight;
    double viewTopLeft[3];  // drawing points at the view's client corners
    double viewBottomRight[3];
    double viewWidth;  // the view's width and height in drawing units
    double viewHeight;
    double limitsMin[3];  // the layout's limits, (x, y, 0)
    double limitsMax[3];
    double limitsWidth;
    double limitsHeight;
    // Filled by the manager when it answers kPrintManagerPrint.
    const PrintWindow* printWindow;  // valid until releasePrintManager
    // The paper in printer pixels, turned as printed: the raster export's
    // picture size.
    int pageWidth;
    int pageHeight;
    // Printer pixels per drawing unit: the print window's width and height
    // times the scale are the printed picture's size.
    double scale;
    // Where the picture lands on the printer's printable area. The printer
    // device draws picture point (x, y) (y upwards) at logical point
    // (x + xOffset, y + yOffset), turned by the rotation first; with the
    // printer context mapped 1:1 with y flipped and its window origin's y at
    // the picture's height (its width when turned), the picture's top-left
    // corner lands at (xOffset, -yOffset) pixels from the printable area's.
    int xOffset;
    int yOffset;
    short rotation;    // 0 upright (portrait), 1 turned a quarter (landscape)
    short colorMode;   // 0 colour, 1 grey, 2 black; a BMP export: 1 8-bit, 2 1-bit
    BYTE printToFile;  // 1: export a raster picture, 0: print (the caller clears it)
    CWnd* owner;       // owns the manager and receives WM_PRINT_PICK_MODE
};

// The record the next show reads and fills; kept until releasePrintManager.
void initPrintManager(PrintRecord* record);
// Runs the manager modally; one of PrintManagerAnswer, or kPrintManagerClose
// without a record.
int showPrintManager();
void releasePrintManager();

}  // namespace ZrUI
