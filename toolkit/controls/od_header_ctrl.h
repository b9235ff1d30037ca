// CODHeaderCtrl: the owner-drawn list's header. It draws its items itself
// and marks the sort column with a small triangle.
#pragma once
#include "platform/classlib/classlib.h"

class CODHeaderCtrl : public CHeaderCtrl {
    DECLARE_DYNAMIC(CODHeaderCtrl)
public:
    // Marks the column (which draws itself from then on); returns the
    // column marked before.
    int SetSortImage(int column, bool ascending);
    int GetSortColumn() const { return m_sortColumn; }
    bool GetSortAscending() const { return m_ascending; }

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

private:
    void DrawSortMark(CDC& dc, const CRect& item, int unit);

    int m_sortColumn = -1;
    bool m_ascending = true;
};
