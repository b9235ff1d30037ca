#include "platform/zrui/viewpoint_dialog.h"

#include <math.h>

#include "platform/zrio/drawing.h"
#include "platform/zrui/dialog_support.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

namespace {

const double kDegree = 3.14159265358979323846 / 180.0;
// Directions closer than this (as unit vectors) are the same view.
const double kSameDirection = 1e-9;

}  // namespace

BEGIN_MESSAGE_MAP(CViewpointDialog, CDialog)
ON_BN_CLICKED(IDC_ZRUI_VIEW_PLAN, &CViewpointDialog::OnPlanView)
END_MESSAGE_MAP()

CViewpointDialog::CViewpointDialog(double fromX, double fromXY, CWnd* parent)
    : CDialog(IDD_ZRUI_VIEWPORT, parent), m_fromX(fromX), m_fromXY(fromXY)
{
}

BOOL CViewpointDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    WriteEditNumber(this, IDC_ZRUI_VIEW_FROM_X, m_fromX);
    WriteEditNumber(this, IDC_ZRUI_VIEW_FROM_XY, m_fromXY);
    return TRUE;
}

void CViewpointDialog::OnPlanView()
{
    WriteEditNumber(this, IDC_ZRUI_VIEW_FROM_X, 270.0);
    WriteEditNumber(this, IDC_ZRUI_VIEW_FROM_XY, 90.0);
}

void CViewpointDialog::OnOK()
{
    double fromX = 0.0;
    double fromXY = 0.0;
    if (!ReadEditNumber(this, IDC_ZRUI_VIEW_FROM_X, &fromX) ||
        !ReadEditNumber(this, IDC_ZRUI_VIEW_FROM_XY, &fromXY))
        return;
    if (fromXY < -90.0 || fromXY > 90.0) {
        ShowDialogMessage(this, IDS_ZRUI_BAD_VIEW_ANGLE);
        GetDlgItem(IDC_ZRUI_VIEW_FROM_XY)->SetFocus();
        return;
    }
    m_fromX = fromX;
    m_fromXY = fromXY;
    EndDialog(IDOK);
}

int showSetViewportDialog(CDrawing* drawing)
{
    if (!drawing || !drawing->isLoaded())
        return 0;
    double before[3];
    drawing->getViewDirection(before);
    double length = sqrt(before[0] * before[0] + before[1] * before[1] + before[2] * before[2]);
    if (!(length > 0.0))
        return 0;
    double fromX = atan2(before[1], before[0]) / kDegree;
    if (fromX < 0.0)
        fromX += 360.0;
    double fromXY = asin(before[2] / length) / kDegree;
    CViewpointDialog dialog(fromX, fromXY);
    if (dialog.DoModal() != IDOK)
        return 0;
    double flat = cos(dialog.m_fromXY * kDegree);
    double after[3] = {flat * cos(dialog.m_fromX * kDegree), flat * sin(dialog.m_fromX * kDegree),
                       sin(dialog.m_fromXY * kDegree)};
    double moved = 0.0;
    for (int i = 0; i < 3; ++i)
        moved += fabs(after[i] - before[i] / length);
    if (moved < kSameDirection)
        return 0;
    drawing->setViewDirection(after);
    return 1;
}

}  // namespace ZrUI
