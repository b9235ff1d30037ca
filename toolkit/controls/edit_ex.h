// CEditEx: an edit box with its own text and background colours, an
// optional filter that sees every typed character first, and line
// appending for read-only text panes.
#pragma once
#include "platform/classlib/classlib.h"

class CEditEx;

// Sees a typed character (and its repeat count and flags) before the edit
// does; setting the character to 0 swallows it.
typedef void (*EditCharFilter)(DWORD context, CEditEx* edit, UINT& ch, UINT& repeatCount, UINT& flags);

// Digits, one decimal separator, one '-' and backspace pass.
void NumericCharFilter(DWORD context, CEditEx* edit, UINT& ch, UINT& repeatCount, UINT& flags);
// The same without '-'.
void PositiveNumericCharFilter(DWORD context, CEditEx* edit, UINT& ch, UINT& repeatCount, UINT& flags);

class CEditEx : public CEdit {
    DECLARE_DYNAMIC(CEditEx)
public:
    CEditEx();

    void SetCharFilter(DWORD context, EditCharFilter filter);
    // Each returns the old colour and repaints.
    COLORREF SetTextColor(COLORREF colour);
    COLORREF SetBkColor(COLORREF colour);
    // Adds the text at the end, on a line of its own unless the edit is
    // empty, and scrolls it into view.
    void AppendLine(LPCSTR text);

protected:
    afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    afx_msg void OnChar(UINT ch, UINT repeatCount, UINT flags);
    DECLARE_MESSAGE_MAP()

private:
    void Repaint();

    DWORD m_filterContext = 0;
    EditCharFilter m_filter = nullptr;
    CBrush m_bkBrush;
    COLORREF m_bkColor;
    COLORREF m_textColor;
};
