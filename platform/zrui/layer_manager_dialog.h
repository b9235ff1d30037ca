// The layer manager: the drawing's layers with on/off, frozen and colour.
// The user changes them in the list (a click on an on/off or frozen cell
// switches it, a double click on a colour cell chooses a colour) or with the
// buttons for the selected layers; OK writes the changes into the drawing.
#pragma once
#include "platform/classlib/classlib.h"
#include "platform/zrui/color_index_list.h"

#include <vector>

class CDrawing;

namespace ZrUI {

class CLayerManagerDialog : public CDialog {
public:
    explicit CLayerManagerDialog(CDrawing* drawing, CWnd* parent = nullptr);

    // Writes the layers the user changed into the drawing; true when any
    // changed.
    bool ApplyChanges();

    enum Column { kNameColumn, kOnColumn, kFrozenColumn, kColorColumn };

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSwitchOn();
    afx_msg void OnSwitchFrozen();
    afx_msg void OnChooseColor();
    afx_msg void OnAllOn();
    afx_msg void OnAllThawed();
    afx_msg void OnListClick(NMHDR* header, LRESULT* result);
    afx_msg void OnListDoubleClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    struct LayerRow {
        bool on;
        bool frozen;
        short color;
    };

    void ShowRow(int row);
    // Switches an on/off or frozen state of the selected layers.
    void SwitchSelected(bool LayerRow::*state);
    void ChooseColorFor(const std::vector<int>& rows);

    CDrawing* m_drawing;
    std::vector<LayerRow> m_rows;
    CColorIndexList m_list;
};

}  // namespace ZrUI
