#include "platform/zrui/print_manager_dialog.h"

#include <vector>

#include "platform/zrio/drawing.h"
#include "platform/zrui/decimal_text.h"
#include "platform/zrui/dialog_support.h"
#include "platform/zrui/pen_width_dialog.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

namespace {

// The size of one paper name of DeviceCapabilities.
const int kPaperNameLength = 64;

const int kAreaButtons[] = {IDC_ZRUI_AREA_DISPLAY, IDC_ZRUI_AREA_EXTENTS, IDC_ZRUI_AREA_LIMITS,
                            IDC_ZRUI_AREA_WINDOW};
const int kColorModeButtons[] = {IDC_ZRUI_COLOR_MODE_COLOR, IDC_ZRUI_COLOR_MODE_GREY,
                                 IDC_ZRUI_COLOR_MODE_MONO};

void CopyPoint(const double* from, double* to)
{
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

}  // namespace

BEGIN_MESSAGE_MAP(CPrintManagerDialog, CDialog)
ON_BN_CLICKED(IDC_ZRUI_PRINTER_CHOOSE, &CPrintManagerDialog::OnChoosePrinter)
ON_CBN_SELCHANGE(IDC_ZRUI_PAPER, &CPrintManagerDialog::OnPaperChanged)
ON_BN_CLICKED(IDC_ZRUI_PORTRAIT, &CPrintManagerDialog::OnLayoutChanged)
ON_BN_CLICKED(IDC_ZRUI_LANDSCAPE, &CPrintManagerDialog::OnLayoutChanged)
ON_BN_CLICKED(IDC_ZRUI_AREA_DISPLAY, &CPrintManagerDialog::OnLayoutChanged)
ON_BN_CLICKED(IDC_ZRUI_AREA_EXTENTS, &CPrintManagerDialog::OnLayoutChanged)
ON_BN_CLICKED(IDC_ZRUI_AREA_LIMITS, &CPrintManagerDialog::OnLayoutChanged)
ON_BN_CLICKED(IDC_ZRUI_AREA_WINDOW, &CPrintManagerDialog::OnLayoutChanged)
ON_BN_CLICKED(IDC_ZRUI_FIT, &CPrintManagerDialog::OnLayoutChanged)
ON_BN_CLICKED(IDC_ZRUI_PICK_WINDOW, &CPrintManagerDialog::OnPickWindow)
ON_BN_CLICKED(IDC_ZRUI_PEN_WIDTHS, &CPrintManagerDialog::OnPenWidths)
END_MESSAGE_MAP()

CPrintManagerDialog::CPrintManagerDialog(PrintRecord& record, PrintSettings& settings, PrintWindow& window)
    : CDialog(IDD_ZRUI_PRINT_MANAGER, record.owner), m_record(record), m_settings(settings), m_window(window)
{
}

BOOL CPrintManagerDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowPrinter();
    FillPapers();
    CheckDlgButton(IDC_ZRUI_PRINT_TO_FILE, m_settings.printToFile ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(IDC_ZRUI_PORTRAIT, IDC_ZRUI_LANDSCAPE,
                     m_settings.rotation == 1 ? IDC_ZRUI_LANDSCAPE : IDC_ZRUI_PORTRAIT);
    PrintWindow unused;
    for (int area = kAreaDisplay; area <= kAreaWindow; ++area)
        GetDlgItem(kAreaButtons[area])->EnableWindow(AreaWindow(area, &unused));
    int area = AreaWindow(m_settings.area, &unused) ? m_settings.area : kAreaDisplay;
    CheckRadioButton(IDC_ZRUI_AREA_DISPLAY, IDC_ZRUI_AREA_WINDOW, kAreaButtons[area]);
    GetDlgItem(IDC_ZRUI_PICK_WINDOW)->EnableWindow(m_record.owner != nullptr);
    CheckDlgButton(IDC_ZRUI_FIT, m_settings.fit ? BST_CHECKED : BST_UNCHECKED);
    WriteEditNumber(this, IDC_ZRUI_SCALE_MM, m_settings.millimetres);
    WriteEditNumber(this, IDC_ZRUI_SCALE_UNITS, m_settings.units);
    CheckDlgButton(IDC_ZRUI_CENTER, m_settings.centred ? BST_CHECKED : BST_UNCHECKED);
    int colorMode = m_settings.colorMode >= 0 && m_settings.colorMode <= 2 ? m_settings.colorMode : 0;
    CheckRadioButton(IDC_ZRUI_COLOR_MODE_COLOR, IDC_ZRUI_COLOR_MODE_MONO, kColorModeButtons[colorMode]);
    CheckDlgButton(IDC_ZRUI_USE_PEN_WIDTHS, g_printPenSet.getUsePenWidth() ? BST_CHECKED : BST_UNCHECKED);
    ShowLayout();
    return TRUE;
}

void CPrintManagerDialog::ShowPrinter()
{
    CPrintDialog* printer = g_printPenSet.getPrintSetDlg();
    SetDlgItemText(IDC_ZRUI_PRINTER_NAME,
                   printer->HasPrinter() ? printer->GetDeviceName() : LibraryText(IDS_ZRUI_NO_PRINTER_NAME));
}

void CPrintManagerDialog::FillPapers()
{
    CComboBox* papers = (CComboBox*)GetDlgItem(IDC_ZRUI_PAPER);
    papers->ResetContent();
    CPrintDialog* printer = g_printPenSet.getPrintSetDlg();
    if (!printer->HasPrinter())
        return;
    CString device = printer->GetDeviceName();
    CString port = printer->GetPortName();
    DEVMODEA* mode = printer->LockDevMode();
    short current = mode && (mode->dmFields & DM_PAPERSIZE) ? mode->dmPaperSize : 0;
    int count = DeviceCapabilitiesA(device, port, DC_PAPERS, nullptr, mode);
    if (count > 0) {
        std::vector<WORD> codes(count);
        std::vector<char> names((size_t)count * kPaperNameLength, '\0');
        if (DeviceCapabilitiesA(device, port, DC_PAPERS, (LPSTR)codes.data(), mode) == count &&
            DeviceCapabilitiesA(device, port, DC_PAPERNAMES, names.data(), mode) == count) {
            for (int paper = 0; paper < count; ++paper) {
                CString name(&names[(size_t)paper * kPaperNameLength], kPaperNameLength);
                int row = papers->AddString(name);
                papers->SetItemData(row, codes[paper]);
            }
        }
    }
    printer->UnlockDevMode();
    // The kept paper when this printer has it, else the printer's own.
    short wanted = m_settings.paper != 0 ? m_settings.paper : current;
    int chosen = 0;
    for (int row = 0; row < papers->GetCount(); ++row) {
        if ((short)papers->GetItemData(row) == wanted)
            chosen = row;
    }
    papers->SetCurSel(chosen);
    ApplyPaper();
}

void CPrintManagerDialog::ApplyPaper()
{
    CPrintDialog* printer = g_printPenSet.getPrintSetDlg();
    CComboBox* papers = (CComboBox*)GetDlgItem(IDC_ZRUI_PAPER);
    int row = papers->GetCurSel();
    DEVMODEA* mode = printer->LockDevMode();
    if (mode) {
        mode->dmOrientation = DMORIENT_PORTRAIT;
        mode->dmFields |= DM_ORIENTATION;
        if (row >= 0) {
            mode->dmPaperSize = (short)papers->GetItemData(row);
            mode->dmFields = (mode->dmFields | DM_PAPERSIZE) & ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
        }
    }
    printer->UnlockDevMode();
}

bool CPrintManagerDialog::ReadPage(PrinterPage* page) const
{
    HDC information = g_printPenSet.getPrintSetDlg()->CreatePrinterIC();
    bool read = ReadPrinterPage(information, page);
    if (information)
        DeleteDC(information);
    return read;
}

bool CPrintManagerDialog::AreaWindow(int area, PrintWindow* window) const
{
    switch (area) {
        case kAreaDisplay:
            CopyPoint(m_record.viewTopLeft, window->corner1);
            CopyPoint(m_record.viewBottomRight, window->corner2);
            window->width = m_record.viewWidth;
            window->height = m_record.viewHeight;
            return true;
        case kAreaExtents:
            return m_record.drawing && m_record.drawing->isLoaded() &&
                   m_record.drawing->getExtentCorners(window->corner1, window->corner2, &window->width,
                                                      &window->height);
        case kAreaLimits:
            CopyPoint(m_record.limitsMin, window->corner1);
            CopyPoint(m_record.limitsMax, window->corner2);
            window->width = m_record.limitsWidth;
            window->height = m_record.limitsHeight;
            return m_record.hasLayoutLimits != 0;
        case kAreaWindow:
            CopyPoint(m_record.windowCorner1, window->corner1);
            CopyPoint(m_record.windowCorner2, window->corner2);
            window->width = m_record.windowWidth;
            window->height = m_record.windowHeight;
            return m_record.noPickedWindow == 0;
    }
    return false;
}

int CPrintManagerDialog::CheckedArea() const
{
    for (int area = kAreaDisplay; area <= kAreaWindow; ++area) {
        if (IsDlgButtonChecked(kAreaButtons[area]))
            return area;
    }
    return kAreaDisplay;
}

void CPrintManagerDialog::ShowLayout()
{
    PrintWindow window;
    CString size;
    if (AreaWindow(CheckedArea(), &window))
        size.Format(LibraryText(IDS_ZRUI_AREA_SIZE), (LPCSTR)DecimalText(window.width, 4),
                    (LPCSTR)DecimalText(window.height, 4));
    SetDlgItemText(IDC_ZRUI_AREA_SIZE, size);
    bool fit = IsDlgButtonChecked(IDC_ZRUI_FIT) != 0;
    GetDlgItem(IDC_ZRUI_SCALE_MM)->EnableWindow(!fit);
    GetDlgItem(IDC_ZRUI_SCALE_UNITS)->EnableWindow(!fit);
    PrinterPage page;
    PrintPlacement placement;
    PrintScale scale = {true, 0.0, 0.0};
    int rotation = IsDlgButtonChecked(IDC_ZRUI_LANDSCAPE) ? 1 : 0;
    if (fit && ReadPage(&page) &&
        PlacePrint(page, rotation, scale, true, window.width, window.height, &placement)) {
        WriteEditNumber(this, IDC_ZRUI_SCALE_MM, 1.0);
        WriteEditNumber(this, IDC_ZRUI_SCALE_UNITS, UnitsPerMillimetre(page, placement.scale));
    }
}

void CPrintManagerDialog::OnLayoutChanged()
{
    ShowLayout();
}

void CPrintManagerDialog::OnPaperChanged()
{
    ApplyPaper();
    ShowLayout();
}

void CPrintManagerDialog::OnChoosePrinter()
{
    CPrintDialog* printer = g_printPenSet.getPrintSetDlg();
    // The printer dialog shows the orientation the print will have.
    DEVMODEA* mode = printer->LockDevMode();
    if (mode)
        mode->dmOrientation = IsDlgButtonChecked(IDC_ZRUI_LANDSCAPE) ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    printer->UnlockDevMode();
    printer->m_pd.hwndOwner = m_hWnd;
    bool chosen = printer->DoModal() == IDOK;
    mode = printer->LockDevMode();
    if (chosen && mode && (mode->dmFields & DM_ORIENTATION))
        CheckRadioButton(IDC_ZRUI_PORTRAIT, IDC_ZRUI_LANDSCAPE,
                         mode->dmOrientation == DMORIENT_LANDSCAPE ? IDC_ZRUI_LANDSCAPE : IDC_ZRUI_PORTRAIT);
    short paper = mode && (mode->dmFields & DM_PAPERSIZE) ? mode->dmPaperSize : 0;
    printer->UnlockDevMode();
    // A paper chosen in the printer dialog replaces the kept one.
    if (chosen)
        m_settings.paper = paper;
    ShowPrinter();
    FillPapers();
    ShowLayout();
}

void CPrintManagerDialog::OnPenWidths()
{
    CPenWidthDialog dialog(this);
    dialog.DoModal();
}

void CPrintManagerDialog::ReadChoices()
{
    m_settings.printToFile = IsDlgButtonChecked(IDC_ZRUI_PRINT_TO_FILE) != 0;
    CComboBox* papers = (CComboBox*)GetDlgItem(IDC_ZRUI_PAPER);
    int row = papers->GetCurSel();
    if (row >= 0)
        m_settings.paper = (short)papers->GetItemData(row);
    m_settings.rotation = IsDlgButtonChecked(IDC_ZRUI_LANDSCAPE) ? 1 : 0;
    m_settings.area = CheckedArea();
    m_settings.fit = IsDlgButtonChecked(IDC_ZRUI_FIT) != 0;
    m_settings.centred = IsDlgButtonChecked(IDC_ZRUI_CENTER) != 0;
    m_settings.colorMode = IsDlgButtonChecked(IDC_ZRUI_COLOR_MODE_MONO)   ? 2
                           : IsDlgButtonChecked(IDC_ZRUI_COLOR_MODE_GREY) ? 1
                                                                          : 0;
    g_printPenSet.setUsePenWidth(IsDlgButtonChecked(IDC_ZRUI_USE_PEN_WIDTHS) != 0);
}

void CPrintManagerDialog::OnPickWindow()
{
    ReadChoices();
    m_settings.area = kAreaWindow;
    EndDialog(kPrintManagerPick);
}

void CPrintManagerDialog::OnOK()
{
    PrinterPage page;
    if (!g_printPenSet.getPrintSetDlg()->HasPrinter() || !ReadPage(&page)) {
        ShowDialogMessage(this, IDS_ZRUI_NO_PRINTER);
        return;
    }
    PrintScale scale = {IsDlgButtonChecked(IDC_ZRUI_FIT) != 0, 0.0, 0.0};
    if (!scale.fit && (!ReadEditNumber(this, IDC_ZRUI_SCALE_MM, &scale.millimetres) ||
                       !ReadEditNumber(this, IDC_ZRUI_SCALE_UNITS, &scale.units)))
        return;
    PrintWindow window;
    if (!AreaWindow(CheckedArea(), &window) || !(window.width > 0.0) || !(window.height > 0.0)) {
        ShowDialogMessage(this, IDS_ZRUI_EMPTY_AREA);
        return;
    }
    int rotation = IsDlgButtonChecked(IDC_ZRUI_LANDSCAPE) ? 1 : 0;
    bool centred = IsDlgButtonChecked(IDC_ZRUI_CENTER) != 0;
    PrintPlacement placement;
    if (!PlacePrint(page, rotation, scale, centred, window.width, window.height, &placement)) {
        ShowDialogMessage(this, IDS_ZRUI_BAD_SCALE);
        return;
    }
    ReadChoices();
    if (!scale.fit) {
        m_settings.millimetres = scale.millimetres;
        m_settings.units = scale.units;
    }
    m_window = window;
    m_record.printWindow = &m_window;
    m_record.pageWidth = placement.pageWidth;
    m_record.pageHeight = placement.pageHeight;
    m_record.scale = placement.scale;
    m_record.xOffset = placement.xOffset;
    m_record.yOffset = placement.yOffset;
    m_record.rotation = (short)m_settings.rotation;
    m_record.colorMode = (short)m_settings.colorMode;
    m_record.printToFile = m_settings.printToFile ? 1 : 0;
    StorePrintPenSet();
    EndDialog(kPrintManagerPrint);
}

}  // namespace ZrUI
