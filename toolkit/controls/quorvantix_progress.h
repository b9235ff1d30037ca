// CQuorvantixProgress: the thumbnail progress bar of the browse frame's
// status bar, drawn into a picture of its own: the done part in the button
// face with a shadow edge, the rest in the tip colour, "position / upper"
// over both.
#pragma once
#include "graphics/dib.h"
#include "platform/classlib/classlib.h"

class CQuorvantixProgress : public CStatic {
    DECLARE_DYNAMIC(CQuorvantixProgress)
public:
    CQuorvantixProgress() = default;

    // Each makes the picture again and repaints. The bar runs from 0 to
    // the upper bound; the lower bound is kept only.
    void SetRange(int lower, int upper);
    int SetPos(int position);
    int GetPos() const { return m_position; }
    int GetUpper() const { return m_upper; }

    int m_upper = 100;
    int m_lower = 0;
    int m_position = 0;
    CDib m_picture;

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    void DrawPicture();
};
