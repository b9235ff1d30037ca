// The rotation dialog: an angle in degrees by which the view turns.
#pragma once
#include "platform/classlib/classlib.h"

namespace ZrUI {

class CRotateViewDialog : public CDialog {
public:
    explicit CRotateViewDialog(double angle, CWnd* parent = nullptr);

    double m_angle;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

}  // namespace ZrUI
