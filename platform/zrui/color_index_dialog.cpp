#include "platform/zrui/color_index_dialog.h"

#include "platform/zrui/dialog_support.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

BEGIN_MESSAGE_MAP(CColorIndexDialog, CDialog)
ON_STN_CLICKED(IDC_ZRUI_COLOR_GRID, &CColorIndexDialog::OnGridClicked)
ON_STN_DBLCLK(IDC_ZRUI_COLOR_GRID, &CColorIndexDialog::OnGridDoubleClicked)
ON_EN_CHANGE(IDC_ZRUI_COLOR_INDEX, &CColorIndexDialog::OnIndexEdited)
END_MESSAGE_MAP()

CColorIndexDialog::CColorIndexDialog(short index, CWnd* parent)
    : CDialog(IDD_ZRUI_COLOR, parent), m_index(index >= 0 && index <= 255 ? index : 7)
{
}

BOOL CColorIndexDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_grid.SubclassDlgItem(IDC_ZRUI_COLOR_GRID, this);
    m_swatch.SubclassDlgItem(IDC_ZRUI_COLOR_SWATCH, this);
    SendDlgItemMessage(IDC_ZRUI_COLOR_INDEX, EM_LIMITTEXT, 3);
    ShowIndex(m_index, true);
    return TRUE;
}

void CColorIndexDialog::ShowIndex(short index, bool writeNumber)
{
    m_grid.SetSelection(index);
    m_swatch.SetIndex(index);
    char name[32];
    GetColorIndex(index, name);
    SetDlgItemText(IDC_ZRUI_COLOR_NAME, name);
    if (writeNumber) {
        m_writingNumber = true;
        SetDlgItemInt(IDC_ZRUI_COLOR_INDEX, index, FALSE);
        m_writingNumber = false;
    }
}

void CColorIndexDialog::OnGridClicked()
{
    ShowIndex(m_grid.GetSelection(), true);
}

void CColorIndexDialog::OnGridDoubleClicked()
{
    ShowIndex(m_grid.GetSelection(), true);
    OnOK();
}

void CColorIndexDialog::OnIndexEdited()
{
    if (m_writingNumber)
        return;
    BOOL read = FALSE;
    UINT typed = GetDlgItemInt(IDC_ZRUI_COLOR_INDEX, &read, FALSE);
    if (read && typed <= 255)
        ShowIndex((short)typed, false);
}

void CColorIndexDialog::OnOK()
{
    BOOL read = FALSE;
    UINT typed = GetDlgItemInt(IDC_ZRUI_COLOR_INDEX, &read, FALSE);
    if (!read || typed > 255) {
        ShowDialogMessage(this, IDS_ZRUI_BAD_COLOR);
        GetDlgItem(IDC_ZRUI_COLOR_INDEX)->SetFocus();
        return;
    }
    m_index = (short)typed;
    EndDialog(IDOK);
}

short SelectColor(short index)
{
    CColorIndexDialog dialog(index);
    if (dialog.DoModal() != IDOK)
        return index;
    return dialog.GetIndex();
}

}  // namespace ZrUI
