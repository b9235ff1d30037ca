#include "platform/zrui/print_pen_set.h"

#include <math.h>
#include <winspool.h>

#include <vector>

#include "platform/base/byte_reader.h"
#include "platform/classlib/print_dialog.h"
#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"

ZrUI::PrintPenSet g_printPenSet;

namespace ZrUI {

namespace {

const double kMaxMillimetres = 20.0;
const char kUsePenWidthValue[] = "UsePenWidth";
// kPenCount records of a 16-bit colour index and a 16-bit width in
// hundredths of a millimetre, little-endian.
const char kPensValue[] = "PenWidths";
const int kStoredPenBytes = 4;

bool IsPenIndex(int index)
{
    return index >= 0 && index < PrintPenSet::kPenCount;
}

// Where no printer is the default, the first one installed is taken, as the
// system itself does when a printer is added.
void SelectFirstPrinter(CPrintDialog* dialog)
{
    DWORD needed = 0;
    DWORD count = 0;
    const DWORD where = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersA(where, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0)
        return;
    std::vector<BYTE> printers(needed);
    if (EnumPrintersA(where, nullptr, 4, printers.data(), needed, &needed, &count) && count > 0)
        dialog->SelectPrinter(((const PRINTER_INFO_4A*)printers.data())->pPrinterName);
}

}  // namespace

PrintPenSet::PrintPenSet() : m_usePenWidth(false), m_minWidth(0.0)
{
    for (int i = 0; i < kPenCount; ++i) {
        m_pens[i].colorIndex = (short)i;
        m_pens[i].width = 0.0;
        m_millimetres[i] = kDefaultMillimetres;
    }
}

PrintPenSet::~PrintPenSet() = default;

bool PrintPenSet::setPen(int index, short colorIndex, double width)
{
    if (!IsPenIndex(index))
        return false;
    m_pens[index].colorIndex = colorIndex;
    m_pens[index].width = width;
    return true;
}

short PrintPenSet::getPenColor(int index) const
{
    return IsPenIndex(index) ? m_pens[index].colorIndex : 0;
}

double PrintPenSet::getPenMillimetres(int index) const
{
    return IsPenIndex(index) ? m_millimetres[index] : 0.0;
}

bool PrintPenSet::setPenMillimetres(int index, short colorIndex, double millimetres)
{
    if (!IsPenIndex(index) || colorIndex < 0 || colorIndex >= kPenCount || !(millimetres >= 0.0) ||
        millimetres > kMaxMillimetres)
        return false;
    m_pens[index].colorIndex = colorIndex;
    m_millimetres[index] = millimetres;
    return true;
}

void PrintPenSet::InitPenWidth(int dotsPerInch)
{
    for (int i = 0; i < kPenCount; ++i)
        m_pens[i].width = m_millimetres[i] * dotsPerInch / 25.4;
}

void PrintPenSet::UpdatePenSetsToZrIO() const
{
    short colors[kPenCount];
    double widths[kPenCount];
    for (int i = 0; i < kPenCount; ++i) {
        colors[i] = m_pens[i].colorIndex;
        widths[i] = m_pens[i].width < m_minWidth ? m_minWidth : m_pens[i].width;
    }
    CommonPenSets_SetPens(colors, widths, kPenCount);
}

CPrintDialog* PrintPenSet::getPrintSetDlg()
{
    if (!m_printDialog) {
        m_printDialog.reset(new CPrintDialog(TRUE));
        if (!m_printDialog->GetDefaults())
            SelectFirstPrinter(m_printDialog.get());
    }
    return m_printDialog.get();
}

void PrintPenSet::Load(HKEY key)
{
    DWORD use = 0;
    DWORD type = 0;
    DWORD size = sizeof(use);
    if (RegQueryValueExA(key, kUsePenWidthValue, NULL, &type, (BYTE*)&use, &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(use))
        m_usePenWidth = use != 0;
    uint8_t stored[kPenCount * kStoredPenBytes];
    size = sizeof(stored);
    if (RegQueryValueExA(key, kPensValue, NULL, &type, stored, &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size != sizeof(stored))
        return;
    CByteReader reader(stored, size);
    for (int i = 0; i < kPenCount; ++i) {
        short colorIndex = reader.I16LE();
        double millimetres = reader.U16LE() / 100.0;
        // A damaged pen keeps what it had.
        setPenMillimetres(i, colorIndex, millimetres);
    }
}

bool PrintPenSet::Save(HKEY key) const
{
    DWORD use = m_usePenWidth ? 1 : 0;
    uint8_t stored[kPenCount * kStoredPenBytes];
    for (int i = 0; i < kPenCount; ++i) {
        PutU16LE(stored + i * kStoredPenBytes, (uint16_t)m_pens[i].colorIndex);
        PutU16LE(stored + i * kStoredPenBytes + 2, (uint16_t)lround(m_millimetres[i] * 100.0));
    }
    return RegSetValueExA(key, kUsePenWidthValue, 0, REG_DWORD, (const BYTE*)&use, sizeof(use)) ==
               ERROR_SUCCESS &&
           RegSetValueExA(key, kPensValue, 0, REG_BINARY, stored, sizeof(stored)) == ERROR_SUCCESS;
}

void StorePrintPenSet()
{
    HKEY key;
    if (!OpenLibraryKey(&key, true))
        return;
    g_printPenSet.Save(key);
    RegCloseKey(key);
}

}  // namespace ZrUI
