// CStaticEx: a static text that paints itself in its own colours, font
// (face, size, weight, underline), DrawText format and hover cursor, for
// the title texts of the About, update and agreement dialogs.
#pragma once
#include "platform/classlib/classlib.h"

class CStaticEx : public CStatic {
    DECLARE_DYNAMIC(CStaticEx)
public:
    CStaticEx();

    // Each returns the old value; all but the cursor repaint the text.
    HCURSOR SetHoverCursor(HCURSOR cursor);
    bool SetTransparent(bool transparent);
    int SetFontSize(int size);
    bool SetFontBold(bool bold);
    UINT SetTextFormat(UINT format);
    COLORREF SetTextColor(COLORREF colour);
    COLORREF SetBkColor(COLORREF colour);

    // Set by the owner before the control paints.
    BYTE m_underline = 0;

protected:
    // Mouse messages reach the control itself, so that it can show its cursor.
    void PreSubclassWindow() override;

    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void Repaint();
    void MakeFont(CFont& font);
    // Gives the field its new value, repaints and returns the old value.
    template <typename T>
    T ChangeAndRepaint(T& field, T value);

    COLORREF m_bkColor;
    COLORREF m_textColor;
    HCURSOR m_cursor;
    bool m_transparent = false;
    int m_fontSize = 10;
    CString m_faceName = "MS Sans Serif";
    bool m_bold = false;
    UINT m_format = DT_VCENTER;
};
