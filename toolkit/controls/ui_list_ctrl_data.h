// The row records of the owner-drawn list: the object the row shows and
// the fonts of its cells (CUIListCtrlData); the same with cell texts and a
// row text (CUIStrListCtrlData); and the list that owns every record of a
// control (CUIObjList).
#pragma once
#include "platform/classlib/classlib.h"

#include <string>
#include <vector>

class CUIListCtrlData : public CObject {
    DECLARE_DYNAMIC(CUIListCtrlData)
public:
    CUIListCtrlData() = default;
    // Deletes the fonts and, when owned, the object.
    ~CUIListCtrlData() override;

    // The cell text of a row that holds texts; null for a plain row or a
    // column it has no text for.
    virtual LPCSTR GetCellText(int column) const;

    // Replaces the cell's font with one made from the description.
    void SetCellFont(int column, const LOGFONTA& logFont);
    // The cell's font, null when none was set.
    CFont* GetCellFont(int column) const;

    // The object the row shows.
    void* m_object = nullptr;
    // Set only for an object derived from CObject: it is deleted with the
    // record.
    BYTE m_ownsObject = 0;
    // What the running sort compares, made from the sorted column's text
    // once per sort: a number or date, or the text's sort key (valid only
    // while the sort runs).
    double m_sortKey = 0;
    LPCSTR m_sortText = nullptr;

private:
    // Made as fonts are set; a missing slot has no font.
    std::vector<CFont*> m_fonts;
};

class CUIStrListCtrlData : public CUIListCtrlData {
    DECLARE_DYNAMIC(CUIStrListCtrlData)
public:
    explicit CUIStrListCtrlData(int columnCount);

    LPCSTR GetCellText(int column) const override;
    // Returns whether the cell held a non-empty text before.
    bool SetCellText(int column, LPCSTR text);

    CString m_rowText;

private:
    std::vector<std::string> m_cellTexts;
};

class CUIObjList : public CObList {
public:
    ~CUIObjList() override;
    // Deletes every record.
    void DeleteAll();
};
