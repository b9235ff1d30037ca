// The colour chooser's controls: the grid of the 256 colour indexes and the
// swatch of the chosen one. Both take over a static control of a dialog
// (with SS_NOTIFY for the grid, so that it gets the mouse).
#pragma once
#include "platform/classlib/classlib.h"

namespace ZrUI {

// Sixteen rows of sixteen square cells, index = row * 16 + column; a click
// selects a cell and the static control then tells its parent (STN_CLICKED,
// STN_DBLCLK).
class CColorGrid : public CWnd {
public:
    enum { kColumns = 16, kRows = 16 };

    short GetSelection() const { return m_selection; }
    void SetSelection(short index);
    // The cell of an index in client coordinates.
    CRect CellRect(short index) const;

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    int CellSize() const;

    short m_selection = 0;
};

// A rectangle of one colour index's colour.
class CColorSwatch : public CWnd {
public:
    void SetIndex(short index);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    short m_index = 0;
};

}  // namespace ZrUI
