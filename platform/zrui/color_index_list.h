// A list view of a dialog whose rows carry colour indexes: columns sized as
// parts of its width, cells showing an index's swatch and name, and the
// selected rows.
#pragma once
#include "platform/classlib/classlib.h"

#include <vector>

namespace ZrUI {

class CColorIndexList : public CListCtrl {
public:
    CColorIndexList() = default;
    ~CColorIndexList() override;

    // Takes over the dialog's list view control with full-row selection,
    // grid lines and the swatches of the 256 colour indexes.
    BOOL Attach(CWnd* dialog, int controlId);
    // A column titled by a string of the library, `percent` of the width
    // that a vertical scroll bar leaves.
    void AddColumn(int column, UINT titleId, int format, int percent);
    // The cell shows the index's swatch and name.
    void ShowColor(int row, int column, short index);
    std::vector<int> SelectedRows() const;

private:
    HIMAGELIST m_swatches = nullptr;
};

}  // namespace ZrUI
