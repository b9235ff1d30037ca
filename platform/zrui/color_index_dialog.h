// The colour chooser: the 256 colour indexes as a grid of swatches, the
// chosen index as a number the user may also type, its swatch and name.
#pragma once
#include "platform/classlib/classlib.h"
#include "platform/zrui/color_controls.h"

namespace ZrUI {

class CColorIndexDialog : public CDialog {
public:
    explicit CColorIndexDialog(short index, CWnd* parent = nullptr);

    short GetIndex() const { return m_index; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnGridClicked();
    afx_msg void OnGridDoubleClicked();
    afx_msg void OnIndexEdited();
    DECLARE_MESSAGE_MAP()

private:
    // Shows the index in the grid, the swatch and the name, and in the
    // number box unless the user is typing there.
    void ShowIndex(short index, bool writeNumber);

    short m_index;
    bool m_writingNumber = false;
    CColorGrid m_grid;
    CColorSwatch m_swatch;
};

}  // namespace ZrUI
