#include "platform/zrui/pen_width_dialog.h"

#include "platform/zrui/decimal_text.h"
#include "platform/zrui/dialog_support.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

namespace {

const int kSwatchWidth = 24;
const int kSwatchHeight = 12;
const double kMaxMillimetres = 20.0;

}  // namespace

BEGIN_MESSAGE_MAP(CPenWidthDialog, CDialog)
ON_BN_CLICKED(IDC_ZRUI_PEN_SET_WIDTH, &CPenWidthDialog::OnSetWidth)
ON_BN_CLICKED(IDC_ZRUI_PEN_COLOR, &CPenWidthDialog::OnChoosePrintColor)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_ZRUI_PEN_LIST, &CPenWidthDialog::OnSelectionChanged)
END_MESSAGE_MAP()

CPenWidthDialog::CPenWidthDialog(CWnd* parent) : CDialog(IDD_ZRUI_PEN_WIDTHS, parent) {}

CPenWidthDialog::~CPenWidthDialog()
{
    if (m_swatches)
        ImageList_Destroy(m_swatches);
}

BOOL CPenWidthDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_ZRUI_PEN_LIST, this);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES | LVS_EX_GRIDLINES);
    m_swatches = MakeColorSwatches(kSwatchWidth, kSwatchHeight);
    m_list.SetImageList(m_swatches, LVSIL_SMALL);
    CRect client;
    m_list.GetClientRect(&client);
    int rest = client.Width() - ::GetSystemMetrics(SM_CXVSCROLL);
    m_list.InsertColumn(kPenColumn, LibraryText(IDS_ZRUI_COLUMN_PEN), LVCFMT_LEFT, rest * 36 / 100);
    m_list.InsertColumn(kPrintColorColumn, LibraryText(IDS_ZRUI_COLUMN_PEN_COLOR), LVCFMT_LEFT,
                        rest * 36 / 100);
    m_list.InsertColumn(kWidthColumn, LibraryText(IDS_ZRUI_COLUMN_PEN_WIDTH), LVCFMT_RIGHT, rest * 28 / 100);
    for (int index = kFirstPen; index <= kLastPen; ++index) {
        Pen pen = {g_printPenSet.getPenColor(index), g_printPenSet.getPenMillimetres(index)};
        m_pens.push_back(pen);
        char name[32];
        GetColorIndex((short)index, name);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index - kFirstPen;
        item.pszText = name;
        item.iImage = index;
        m_list.InsertItem(&item);
        ShowRow(index - kFirstPen);
    }
    m_list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    return TRUE;
}

void CPenWidthDialog::ShowRow(int row)
{
    const Pen& pen = m_pens[row];
    char name[32];
    GetColorIndex(pen.color, name);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = kPrintColorColumn;
    item.pszText = name;
    item.iImage = pen.color;
    m_list.SetItem(&item);
    m_list.SetItemText(row, kWidthColumn, DecimalText(pen.millimetres, 2));
}

std::vector<int> CPenWidthDialog::SelectedRows() const
{
    std::vector<int> rows;
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = m_list.GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
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
    for (int row : SelectedRows()) {
        m_pens[row].millimetres = millimetres;
        ShowRow(row);
    }
}

void CPenWidthDialog::OnChoosePrintColor()
{
    std::vector<int> rows = SelectedRows();
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
