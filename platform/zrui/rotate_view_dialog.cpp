#include "platform/zrui/rotate_view_dialog.h"

#include "platform/zrui/dialog_support.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

CRotateViewDialog::CRotateViewDialog(double angle, CWnd* parent)
    : CDialog(IDD_ZRUI_ROTATE_VIEW, parent), m_angle(angle)
{
}

BOOL CRotateViewDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    WriteEditNumber(this, IDC_ZRUI_ROTATE_ANGLE, m_angle);
    return TRUE;
}

void CRotateViewDialog::OnOK()
{
    double angle = 0.0;
    if (!ReadEditNumber(this, IDC_ZRUI_ROTATE_ANGLE, &angle))
        return;
    m_angle = angle;
    EndDialog(IDOK);
}

int showSetRotateViewDialog(double& angle)
{
    CRotateViewDialog dialog(angle);
    if (dialog.DoModal() != IDOK)
        return 0;
    angle = dialog.m_angle;
    return 1;
}

}  // namespace ZrUI
