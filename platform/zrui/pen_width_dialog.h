// The pen widths of the print pen set: for each colour index of the
// drawing (1 to 255) the colour it prints in and its pen's width in
// millimetres. The user sets them for the selected rows; OK keeps them in
// the pen set and the library's registry key.
#pragma once
#include "platform/classlib/classlib.h"
#include "platform/zrui/color_index_list.h"

#include <vector>

namespace ZrUI {

class CPenWidthDialog : public CDialog {
public:
    enum { kFirstPen = 1, kLastPen = 255 };
    enum Column { kPenColumn, kPrintColorColumn, kWidthColumn };

    explicit CPenWidthDialog(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnSetWidth();
    afx_msg void OnChoosePrintColor();
    afx_msg void OnSelectionChanged(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    struct Pen {
        short color;
        double millimetres;
    };

    void ShowRow(int row);

    std::vector<Pen> m_pens;  // by row; row i is colour index kFirstPen + i
    CColorIndexList m_list;
};

}  // namespace ZrUI
