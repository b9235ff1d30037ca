// CDockBar: the bar along one side of a frame (or inside a floating frame)
// that holds docked bars in rows. Its entry array starts with a null entry
// and a null entry ends each row: [null, A, null, B, C, null] is the row
// {A} followed by the row {B, C}.
#pragma once
#include "platform/classlib/collections_array.h"
#include "platform/classlib/controlbar.h"

class CDockBar : public CControlBar {
    DECLARE_DYNCREATE(CDockBar)
public:
    CDockBar();

    // A dock bar of the frame's side in style (CBRS_ALIGN_ bits), or with
    // floating set the one dock bar of a floating frame.
    BOOL Create(CWnd* parent, DWORD style, UINT id, BOOL floating = FALSE);

    BOOL IsDockBar() const override { return TRUE; }
    BOOL IsHorz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
    // Lays the rows out (moving the bars unless m_bLayoutQuery is set) and
    // returns the dock bar's size.
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

    // Adds the bar to the row and place that rect (screen coordinates)
    // points at, or to a new row at the end; the bar becomes a child of
    // this dock bar.
    void DockControlBar(CControlBar* bar, LPCRECT rect = nullptr);
    // Takes the bar's entry out; a row left empty goes too. FALSE when the
    // bar is not here. An emptied floating dock bar closes its frame later.
    BOOL RemoveControlBar(CControlBar* bar);
    // The index of the bar's entry, -1 when it is not here.
    int FindBar(CControlBar* bar) const;
    // The bar of an entry, null for a row break.
    CControlBar* GetDockedControlBar(int index) const;
    // Puts the entries back as given: each entry a bar or null for a row
    // break; the leading and closing breaks are added.
    void SetEntries(const CPtrArray& entries);
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;

    CPtrArray m_arrBars;
    BOOL m_bFloating = FALSE;
    // Set while the frame only measures its layout: nothing moves.
    BOOL m_bLayoutQuery = FALSE;
    // The rectangle the frame gives the dock bar's side (frame client
    // coordinates); empty outside a layout.
    CRect m_rectLayout;

protected:
    // How far a bar overlaps its neighbour on a row (along, across).
    virtual CSize BarOverlap(CControlBar* bar) const;
    // The row that a rectangle (client coordinates) centred across the row
    // direction at that coordinate belongs in: the index of the entry to
    // insert before, with newRow set when a row break must come first.
    int InsertIndexFor(const CRect& rect, bool& newRow) const;
    void RemoveEmptyRows();

    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()
};

// True for the four side dock bars' ids.
inline BOOL IsSideDockBarId(UINT id)
{
    return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM;
}
