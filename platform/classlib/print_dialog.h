// CPrintDialog: the system's print or printer-setup dialog and the printer
// it chose. The printer's settings (m_pd.hDevMode and m_pd.hDevNames) stay
// with the object from one DoModal to the next and are freed with it.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include "platform/classlib/cstring.h"

class CWnd;

class CPrintDialog {
public:
    // printSetupOnly: the printer-setup dialog (printer, paper, orientation);
    // else the print dialog, which also makes the printer's device context.
    explicit CPrintDialog(BOOL printSetupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                        PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* parent = nullptr);
    virtual ~CPrintDialog();
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // IDOK when the user confirmed, IDCANCEL when cancelled or when there
    // is no printer.
    virtual INT_PTR DoModal();
    // Takes the default printer without showing anything; FALSE without one.
    BOOL GetDefaults();
    // Takes the named printer with its own settings, without showing
    // anything; FALSE when there is no such printer.
    BOOL SelectPrinter(LPCSTR name);
    // Whether a printer has been chosen (or taken as the default).
    BOOL HasPrinter() const { return m_pd.hDevNames != nullptr; }

    // The device context the print dialog made (the caller deletes it).
    HDC GetPrinterDC() const { return m_pd.hDC; }
    // A new device context for the chosen printer and its settings, which
    // the caller deletes; null when there is no printer.
    HDC CreatePrinterDC() const;
    // The same, for reading the printer's metrics only.
    HDC CreatePrinterIC() const;

    CString GetDeviceName() const;
    CString GetDriverName() const;
    CString GetPortName() const;
    // The printer's settings, locked until UnlockDevMode; null without one.
    DEVMODEA* LockDevMode() const;
    void UnlockDevMode() const;

    PRINTDLGA m_pd;

private:
    enum NamePart { kDriver, kDevice, kPort };
    CString GetNamePart(NamePart part) const;
    // Takes over the printer's settings and names in place of the ones held.
    void ReplacePrinter(HGLOBAL devMode, HGLOBAL devNames);
    HDC CreateForPrinter(bool informationOnly) const;
};
