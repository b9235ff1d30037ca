// The view point dialog: the direction from which the drawing is seen, as
// the angle from the X axis in the XY plane and the angle from the XY
// plane, both in degrees.
#pragma once
#include "platform/classlib/classlib.h"

namespace ZrUI {

class CViewpointDialog : public CDialog {
public:
    CViewpointDialog(double fromX, double fromXY, CWnd* parent = nullptr);

    double m_fromX;
    double m_fromXY;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnPlanView();
    DECLARE_MESSAGE_MAP()
};

}  // namespace ZrUI
