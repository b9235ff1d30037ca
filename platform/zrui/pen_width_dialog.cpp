#include "platform/zrui/pen_width_dialog.h"

#include "platform/zrui/decimal_text.h"
#include "platform/zrui/dialog_support.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

namespace {

const double kMaxMillimetres = 20.0;

}  // namespace

BEGIN_MESSAGE_MAP(CPenWidthDialog, CDialog)
ON_BN_CLICKED(IDC_ZRUI_PEN_SET_WIDTH, &CPenWidthDialog::OnSetWidth)
ON_BN_CLICKED(IDC_ZRUI_PEN_COLOR, &CPenWidthDialog::OnChoosePrintColor)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_ZRUI_PEN_LIST, &CPenWidthDialog::OnSelectionChanged)
END_MESSAGE_MAP()

CPenWidthDialog::CPenWidthDialog(CWnd* parent) : CDialog(IDD_ZRUI_PEN_WIDTHS, parent) {}

BOOL CPenWidthDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.Attach(this, IDC_ZRUI_PEN_LIST);
    m_list.AddColumn(kPenColumn, IDS_ZRUI_COLUMN_PEN, LVCFMT_LEFT, 36);
    m_list.AddColumn(kPrintColorColumn, IDS_ZRUI_COLUMN_PEN_COLOR, LVCFMT_LEFT, 36);
    m_list.AddColumn(kWidthColumn, IDS_ZRUI_COLUMN_PEN_WIDTH, LVCFMT_RIGHT, 28);
    for (int index = kFirstPen; index <= kLastPen; ++index) {
        Pen pen = {g_printPenSet.getPenColor(index), g_printPenSet.getPenMillimetres(index)};
        m_pens.push_back(pen);
        int row = m_list.InsertItem(index - kFirstPen, "");
        m_list.ShowColor(row, kPenColumn, (short)index);
        ShowRow(row);
    }
    m_list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    return TRUE;
}

void CPenWidthDialog::ShowRow(int row)
{
    const Pen& pen = m_pens[row];
    m_list.ShowColor(row, kPrintColorColumn, pen.color);
    m_list.SetItemText(row, kWidthColumn, DecimalText(pen.millimetres, 2));
}

void CPenWidthDialog::OnSelectionChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    NMLISTVIEW* change = (NMLISTVIEW*)header;
    if (change->iItem >= 0 && change->iItem < (int)m_pens.size() && (change->uNewState & LVIS_SELECTED))
        WriteEditNumber(this, IDC_ZRUI_PEN_WIDTH, m_pens[change->iItem].millimetres);
}

void CPenWidthDialog::OnSetWidth()
{
    double millimetres = 0.0;
    if (!ReadEditNumber(this, IDC_ZRUI_PEN_WIDTH, &millimetres))
        return;
    if (millimetres < 0.0 || millimetres > kMaxMillimetres) {
        ShowDialogMessage(this, IDS_ZRUI_BAD_PEN_WIDTH);
        return;
    }
    for (int row : m_list.SelectedRows()) {
        m_pens[row].millimetres = millimetres;
        ShowRow(row);
    }
}

void CPenWidthDialog::OnChoosePrintColor()
{
    std::vector<int> rows = m_list.SelectedRows();
    if (rows.empty())
        return;
    short current = m_pens[rows[0]].color;
    short chosen = SelectColor(current);
    if (chosen == current)
        return;
    for (int row : rows) {
        m_pens[row].color = chosen;
        ShowRow(row);
    }
}

void CPenWidthDialog::OnOK()
{
    for (size_t row = 0; row < m_pens.size(); ++row)
        g_printPenSet.setPenMillimetres(kFirstPen + (int)row, m_pens[row].color, m_pens[row].millimetres);
    StorePrintPenSet();
    EndDialog(IDOK);
}

}  // namespace ZrUI
