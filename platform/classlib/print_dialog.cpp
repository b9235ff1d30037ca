#include "platform/classlib/print_dialog.h"

#include <string.h>
#include <winspool.h>

#include <vector>

#include "platform/classlib/dialog.h"

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent)
{
    memset(&m_pd, 0, sizeof(m_pd));
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.hwndOwner = AfxGetModalOwner(parent);
    m_pd.Flags = flags | (printSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nCopies = 1;
    m_pd.nFromPage = m_pd.nMinPage = 1;
    m_pd.nToPage = m_pd.nMaxPage = 0xFFFF;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDevMode)
        GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames)
        GlobalFree(m_pd.hDevNames);
}

INT_PTR CPrintDialog::DoModal()
{
    m_pd.hDC = nullptr;
    return PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    PRINTDLGA defaults = m_pd;
    defaults.Flags = PD_RETURNDEFAULT;
    defaults.hwndOwner = nullptr;
    // PD_RETURNDEFAULT refuses handles that are already there.
    defaults.hDevMode = nullptr;
    defaults.hDevNames = nullptr;
    if (!PrintDlgA(&defaults))
        return FALSE;
    ReplacePrinter(defaults.hDevMode, defaults.hDevNames);
    return TRUE;
}

void CPrintDialog::ReplacePrinter(HGLOBAL devMode, HGLOBAL devNames)
{
    if (m_pd.hDevMode)
        GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames)
        GlobalFree(m_pd.hDevNames);
    m_pd.hDevMode = devMode;
    m_pd.hDevNames = devNames;
}

BOOL CPrintDialog::SelectPrinter(LPCSTR name)
{
    HANDLE printer = nullptr;
    if (!name || !OpenPrinterA((LPSTR)name, &printer, nullptr))
        return FALSE;
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> details(needed ? needed : 1);
    LONG modeSize = DocumentPropertiesA(nullptr, printer, (LPSTR)name, nullptr, nullptr, 0);
    HGLOBAL devMode = modeSize > 0 ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, modeSize) : nullptr;
    bool read = needed > 0 && GetPrinterA(printer, 2, details.data(), needed, &needed) && devMode &&
                DocumentPropertiesA(nullptr, printer, (LPSTR)name, (DEVMODEA*)GlobalLock(devMode), nullptr,
                                    DM_OUT_BUFFER) == IDOK;
    if (devMode)
        GlobalUnlock(devMode);
    ClosePrinter(printer);
    if (!read) {
        if (devMode)
            GlobalFree(devMode);
        return FALSE;
    }
    // The names follow the record's header, each with its terminator.
    const char driver[] = "winspool";
    const PRINTER_INFO_2A* info = (const PRINTER_INFO_2A*)details.data();
    const char* port = info->pPortName ? info->pPortName : "";
    size_t driverLength = sizeof(driver);
    size_t deviceLength = strlen(name) + 1;
    size_t portLength = strlen(port) + 1;
    HGLOBAL devNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                   sizeof(DEVNAMES) + driverLength + deviceLength + portLength);
    DEVNAMES* names = devNames ? (DEVNAMES*)GlobalLock(devNames) : nullptr;
    if (!names) {
        GlobalFree(devMode);
        if (devNames)
            GlobalFree(devNames);
        return FALSE;
    }
    char* text = (char*)names;
    names->wDriverOffset = (WORD)sizeof(DEVNAMES);
    names->wDeviceOffset = (WORD)(names->wDriverOffset + driverLength);
    names->wOutputOffset = (WORD)(names->wDeviceOffset + deviceLength);
    memcpy(text + names->wDriverOffset, driver, driverLength);
    memcpy(text + names->wDeviceOffset, name, deviceLength);
    memcpy(text + names->wOutputOffset, port, portLength);
    GlobalUnlock(devNames);
    ReplacePrinter(devMode, devNames);
    return TRUE;
}

CString CPrintDialog::GetNamePart(NamePart part) const
{
    if (!m_pd.hDevNames)
        return CString();
    const DEVNAMES* names = (const DEVNAMES*)GlobalLock(m_pd.hDevNames);
    if (!names)
        return CString();
    WORD offset = part == kDriver   ? names->wDriverOffset
                  : part == kDevice ? names->wDeviceOffset
                                    : names->wOutputOffset;
    CString text((const char*)names + offset);
    GlobalUnlock(m_pd.hDevNames);
    return text;
}

CString CPrintDialog::GetDeviceName() const
{
    return GetNamePart(kDevice);
}

CString CPrintDialog::GetDriverName() const
{
    return GetNamePart(kDriver);
}

CString CPrintDialog::GetPortName() const
{
    return GetNamePart(kPort);
}

DEVMODEA* CPrintDialog::LockDevMode() const
{
    return m_pd.hDevMode ? (DEVMODEA*)GlobalLock(m_pd.hDevMode) : nullptr;
}

void CPrintDialog::UnlockDevMode() const
{
    if (m_pd.hDevMode)
        GlobalUnlock(m_pd.hDevMode);
}

HDC CPrintDialog::CreateForPrinter(bool informationOnly) const
{
    if (!m_pd.hDevNames)
        return nullptr;
    CString driver = GetDriverName();
    CString device = GetDeviceName();
    CString port = GetPortName();
    DEVMODEA* mode = LockDevMode();
    HDC dc = informationOnly ? CreateICA(driver, device, port, mode) : CreateDCA(driver, device, port, mode);
    UnlockDevMode();
    return dc;
}

HDC CPrintDialog::CreatePrinterDC() const
{
    return CreateForPrinter(false);
}

HDC CPrintDialog::CreatePrinterIC() const
{
    return CreateForPrinter(true);
}
