// The print manager's dialog: printer (through the printer-setup dialog),
// paper, orientation, print area, scale or fit, placement, colours and pen
// widths. It reads the caller's print record and, on print, fills its
// second part.
#pragma once
#include "platform/classlib/classlib.h"
#include "platform/zrui/print_layout.h"
#include "platform/zrui/print_manager.h"

namespace ZrUI {

enum PrintArea { kAreaDisplay, kAreaExtents, kAreaLimits, kAreaWindow };

// The user's choices, kept from one show of the manager to the next.
struct PrintSettings {
    bool printToFile = false;
    short paper = 0;  // the printer's paper code; 0 keeps the printer's own
    int rotation = 0;
    int area = kAreaDisplay;
    bool fit = true;
    double millimetres = 1.0;
    double units = 1.0;
    bool centred = true;
    int colorMode = 0;
};

class CPrintManagerDialog : public CDialog {
public:
    // The window the print covers is written into `window`, which the
    // record then points at.
    CPrintManagerDialog(PrintRecord& record, PrintSettings& settings, PrintWindow& window);

protected:
    BOOL OnInitDialog() override;
    // Print: checks the choices and fills the record.
    void OnOK() override;
    afx_msg void OnChoosePrinter();
    afx_msg void OnPaperChanged();
    afx_msg void OnLayoutChanged();
    afx_msg void OnPickWindow();
    afx_msg void OnPenWidths();
    DECLARE_MESSAGE_MAP()

private:
    void ShowPrinter();
    void FillPapers();
    // Writes the chosen paper and the upright orientation into the
    // printer's settings (the manager turns the picture itself).
    void ApplyPaper();
    bool ReadPage(PrinterPage* page) const;
    // The window of an area; false when the area has none.
    bool AreaWindow(int area, PrintWindow* window) const;
    int CheckedArea() const;
    // The area's size, and the fitted scale in the scale boxes when fit is on.
    void ShowLayout();
    // The choices of the controls that need no checking.
    void ReadChoices();

    PrintRecord& m_record;
    PrintSettings& m_settings;
    PrintWindow& m_window;
};

}  // namespace ZrUI
