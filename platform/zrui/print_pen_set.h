// The print pen set of the dialog library: whether printing takes pen
// widths from the set, and for each colour index of the drawing the colour
// index it prints in and the width of its pen (set by the user in
// millimetres, turned into printer pixels by InitPenWidth); and the printer
// dialog whose printer the prints go to.
#pragma once
#include <windows.h>

#include <memory>

class CPrintDialog;

namespace ZrUI {

struct PenWidthRecord {
    short colorIndex;
    double width;  // printer pixels
};

class PrintPenSet {
public:
    enum { kPenCount = 256 };
    static constexpr double kDefaultMillimetres = 0.25;

    // Every index prints in its own colour, kDefaultMillimetres wide (0
    // pixels until InitPenWidth); widths unused.
    PrintPenSet();
    ~PrintPenSet();
    PrintPenSet(const PrintPenSet&) = delete;
    PrintPenSet& operator=(const PrintPenSet&) = delete;

    bool getUsePenWidth() const { return m_usePenWidth; }
    void setUsePenWidth(bool on) { m_usePenWidth = on; }
    // kPenCount records, by the drawing's colour index.
    const PenWidthRecord* getPenWidths() const { return m_pens; }
    // Sets a record in printer pixels, until the next InitPenWidth; false for
    // an index outside 0 .. kPenCount - 1.
    bool setPen(int index, short colorIndex, double width);
    // The user's pens: colour index and width in millimetres (0 .. 20).
    short getPenColor(int index) const;
    double getPenMillimetres(int index) const;
    bool setPenMillimetres(int index, short colorIndex, double millimetres);
    // Turns the pens' millimetres into pixels of a printer of that many dots
    // per inch.
    void InitPenWidth(int dotsPerInch);
    // Hands the records to the drawing library, for raster exports drawn
    // with pen widths.
    void UpdatePenSetsToZrIO() const;
    // The narrowest pen printed when pen widths are used.
    double GetMinWidth() const { return m_minWidth; }
    void SetMinWidth(double width) { m_minWidth = width; }

    // The printer-setup dialog that holds the chosen printer (the default
    // printer until the user chooses one); its CreatePrinterDC makes the
    // printer's device context. Never null.
    CPrintDialog* getPrintSetDlg();

    // The switch and the pens in the library's registry key.
    void Load(HKEY key);
    bool Save(HKEY key) const;

private:
    bool m_usePenWidth;
    double m_minWidth;
    PenWidthRecord m_pens[kPenCount];
    double m_millimetres[kPenCount];
    std::unique_ptr<CPrintDialog> m_printDialog;
};

// Keeps g_printPenSet's switch and pens in the library's registry key
// (nothing before initZrUI).
void StorePrintPenSet();

}  // namespace ZrUI

extern ZrUI::PrintPenSet g_printPenSet;
