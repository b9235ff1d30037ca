// The point style dialog: twenty pictured point styles (the drawing's point
// display modes 0-4, each alone and with a circle, a square or both) and
// the point size, in percent of the view or in drawing units.
#pragma once
#include "platform/classlib/classlib.h"

namespace ZrUI {

class CPointStyleDialog : public CDialog {
public:
    enum { kStyleCount = 20 };
    // The mode of each style button, in the order of the buttons.
    static const int kModes[kStyleCount];

    CPointStyleDialog(int mode, double size, CWnd* parent = nullptr);

    int m_mode;
    // Above 0 drawing units, below 0 percent of the view's height.
    double m_size;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnStyleClicked(UINT id);
    afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    DECLARE_MESSAGE_MAP()
};

}  // namespace ZrUI
