// The print pen set of the dialog library: whether printing takes pen
// widths from the set, and for each colour index of the drawing the colour
// index and width (in printer pixels) of the pen it prints with.
#pragma once
#include <windows.h>

namespace ZrUI {

struct PenWidthRecord {
    short colorIndex;
    double width;
};

class PrintPenSet {
public:
    enum { kPenCount = 256 };

    // Every index prints in its own colour with width 0; widths unused.
    PrintPenSet();

    bool getUsePenWidth() const { return m_usePenWidth; }
    void setUsePenWidth(bool on) { m_usePenWidth = on; }
    // kPenCount records, by the drawing's colour index.
    const PenWidthRecord* getPenWidths() const { return m_pens; }
    // False for an index outside 0 .. kPenCount - 1.
    bool setPen(int index, short colorIndex, double width);
    // The narrowest pen printed when pen widths are used.
    double GetMinWidth() const { return m_minWidth; }
    void SetMinWidth(double width) { m_minWidth = width; }

private:
    bool m_usePenWidth;
    double m_minWidth;
    PenWidthRecord m_pens[kPenCount];
};

}  // namespace ZrUI

extern ZrUI::PrintPenSet g_printPenSet;
